// Respelling and transposing a chord: members are respelled from their pitches, and members
// that then share a position are spelled apart again where the letters allow.

#include "notation/items/chord_data.h"

namespace kvt {

void TChordData::Respell(const TStaffContextState& state) {
  const int n = GetMemberCount();
  // 1. A unison cluster stays a cluster.
  bool cluster = n > 0 && GetHeadColumns() == 1;
  for (int i = 1; i < n && cluster; ++i)
    cluster = members[i]->GetStaffPos() == members.front()->GetStaffPos();

  // 2.
  for (const auto& member : members) member->Respell(state);
  ResortMembers();

  // 3. Members that now share a position. Every pass either moves a member to a free
  // position, splits the two members of a two-note chord onto two stems, or drops a member;
  // the pass count bounds the walk all the same.
  if (!cluster) {
    for (int passes = 4 * n + 4; passes > 0; --passes) {
      bool changed = false;
      for (int i = 0; i < members.size() && !changed; ++i) {
        TMusicNote* p = members[i];
        TMusicNote* q = FindMemberAtPos(p->GetStaffPos());
        if (!q || q == p) continue;
        // Two voices meeting on one note are a unison, not a clash; so is the two-note chord
        // this step already put on two stems.
        if (q->GetStemSetting() != p->GetStemSetting() &&
            (q->GetRawAccidental() == p->GetRawAccidental() || members.size() == 2))
          continue;
        if (p->ShiftSpelling(state, 1)) {
          changed = true;
        } else if (q->GetRawAccidental() != p->GetRawAccidental()) {
          const int oldPos = q->GetStaffPos();
          const int oldAccidental = q->GetRawAccidental();
          if (q->ShiftSpelling(state, -1)) {
            bool alone = true;
            for (const auto& other : members)
              if (other.get() != q && other->GetStaffPos() == q->GetStaffPos()) alone = false;
            if (alone) {
              changed = true;
            } else {
              q->SetStaffPos(oldPos);
              q->SetRawAccidental(oldAccidental);
            }
          }
        }
        if (!changed) {
          if (members.size() == 2) {
            q->SetStemDir(kStemDown);
            p->SetStemDir(kStemUp);
          } else {
            members.Delete(i);
          }
          changed = true;
        }
        ResortMembers();
      }
      if (!changed) break;
    }
  }
  // 4.
  Update();
}

bool TChordData::Transpose(const TStaffContextState& state, int semitones, int steps,
                           bool testOnly) {
  if (testOnly) {
    for (const auto& member : members)
      if (!member->Transpose(state, semitones, steps, true)) return false;
    return true;
  }
  bool failed = false;
  for (const auto& member : members)
    if (!member->Transpose(state, semitones, steps, false)) failed = true;
  ResortMembers();
  if (failed) Respell(state);
  Update();
  return !failed;
}

}  // namespace kvt
