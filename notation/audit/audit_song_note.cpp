// The staff audit's step for song notes (notes, rests, chords, rest chords), in this order:
// 1. AuditStem: set exactly when a split-stem voice still sounds and the item's stem points the
//    way of that voice.
// 2. Ties: TieIn and automatic accidentals are derived again from the pending ties of the walk.
// 3. Rests: the explicit length is derived again (a whole rest alone in its bar lasts the
//    bar), the flag word keeps what a rest can show, a rest chord's part takes no colour.
// 4. Colours: members of a several-member item take no colour of their own, and a member
//    colour equal to the item's goes back to the item's.
// 5. Beam and triplet marks that no longer form a sound group are dropped.
// 6. The item's own AuditStep under the running context.

#include <cstdint>

#include "notation/audit/audit_item.h"
#include "notation/items/item_cast.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/song_note.h"

namespace kvt {

namespace {

// What a rest keeps of its flag word: Accent, Dotted, Staccato, Slur, DblDotted, Grace, the
// explicit slur direction, Crescendo and Diminuendo.
constexpr uint16_t kRestFlagsKept = 0x3B17;

void AuditTies(const TAuditNtnIdx& idx, TSongNote& note) {
  const TStaffContextState& state = idx.GetRunningState();
  note.SetTieIn(false);
  if (note.GetType() == kItemRestChord)
    if (TMusicNote* part = ItemRef<TRestChord>(note).GetPart()) part->SetTieIn(false);
  const int count = note.GetMemberCount();
  for (int m = 0; m < count; ++m) {
    TMusicNote* member = note.GetMember(m);
    if (!member) continue;
    member->SetTieIn(false);
    if (member->IsAccidentalAuto()) member->ClearAutoAccidental();
  }
  if (idx.GetTieList().GetCount() == 0) return;

  // Each pending tie continues into one member at most.
  TStaffTieList pending = idx.GetTieList();
  for (int m = 0; m < count; ++m) {
    TMusicNote* member = note.GetMember(m);
    if (!member) continue;
    const int position = member->GetStaffPos();
    TStaffTieEntry entry;
    if (!pending.Find(position, member->GetAccidental(), entry, true)) continue;
    member->SetTieIn(true);
    if (member->GetAccidental() == kAccNone) {
      // The continuation sounds with the tied note's accidental, whatever the bar says now.
      TStaffTieEntry further;
      const bool anotherTie = pending.Find(position, kAccNone, further, false);
      if (entry.GetAccidental() != member->GetSoundingAccidental(state) || anotherTie)
        member->SetAutoAccidental(entry.GetAccidental());
    }
    if (!(member->GetFlags() & kMaskTieDirection)) member->SetTieDown(!entry.GetMark());
  }
}

// Whether the rest at the index is the only item that takes time between the bar line before
// it and the next one.
bool IsAloneInBar(const TAuditNtnIdx& idx) {
  const TMusicStaff* staff = idx.GetStaff();
  const int last = staff->GetLastIndex();
  int count = 0;
  for (int i = idx.GetLastBarLineIndex() + 1; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (item->GetType() == kItemBarLine) break;
    if (item->IsSongNoteClass() || item->GetType() == kItemMultiBarRest) ++count;
    if (count > 1) return false;
  }
  return count == 1;
}

void AuditRest(const TAuditNtnIdx& idx, TRestNote& rest) {
  rest.ClearTickLength();
  rest.SetFlags(rest.GetFlags() & kRestFlagsKept);
  if (rest.GetType() == kItemRest) {
    if (rest.IsPlainWholeRest() && IsAloneInBar(idx)) {
      const TStaffContextState& state = idx.GetRunningState();
      rest.SetTickLength(state.GetTimeSigBeats(), state.GetTimeSigBeatExponent());
    }
  } else if (TMusicNote* part = ItemRef<TRestChord>(rest).GetPart()) {
    part->SetColor(0);
  }
}

void AuditColors(TSongNote& note) {
  const int count = note.GetMemberCount();
  const int color = note.GetColor();
  for (int m = 0; m < count; ++m) {
    TMusicNote* member = note.GetMember(m);
    if (!member) continue;
    if (count > 1) member->SetColor(0);
    if (color != 0 && member->GetNoteColor() == color) member->SetNoteColor(0);
  }
}

// A First needs no open group of its kind before it and a sound group after it; a Middle or
// End needs an open group.
void AuditGroupMarks(TAuditNtnIdx& idx, TSongNote& note) {
  const bool grace = note.IsGrace();
  for (int kind = kGroupBeam; kind <= kGroupTriplet; ++kind) {
    const int state = kind == kGroupBeam ? note.GetBeamState() : note.GetTripletState();
    if (state == kGroupNone) continue;
    const bool open = (idx.GetOpenGroups(grace) & (1u << kind)) != 0;
    const bool keep = state == kGroupFirst ? !open && PassesGroupCheck(idx, kind) : open;
    if (!keep) note.SetGroupState(kind, kGroupNone);
  }
}

}  // namespace

void AuditSongNote(TAuditNtnIdx& idx, TSongNote& note) {
  note.SetAuditStem(idx.GetSplitVoiceTicks() > 0 &&
                    note.GetStemDir() == idx.GetSplitVoiceDirection());
  AuditTies(idx, note);
  if (TRestNote* rest = note.AsRest()) AuditRest(idx, *rest);
  AuditColors(note);
  AuditGroupMarks(idx, note);
  note.AuditStep(idx.GetRunningState());
}

}  // namespace kvt
