// Beam and triplet grouping of a staff range.

#include <cstdlib>

#include "notation/items/music_note.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/edits/staff_edits.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {

constexpr int kTripletUnitTicks = 12;

const TSongNote* AsSongNote(const TNotatedItem* item) {
  return ItemAs<TSongNote>(item);
}

// A note that joins a group of the kind and grace flag: a song note of that grace flag, and
// for beams not a rest.
bool IsGroupNote(const TNotatedItem* item, int kind, bool grace) {
  const TSongNote* note = AsSongNote(item);
  if (!note || note->IsGrace() != grace) return false;
  return kind == kGroupTriplet || !item->IsRestClass();
}

// The written length before any triplet: the code with its dots (grace notes count too, so
// grace groups are measured as written).
int WrittenTicks(const TSongNote& note) {
  const int plain = GetDurationCodeTicks(note.GetDurationCode());
  if (note.IsDblDotted()) return plain * 7 / 4;
  if (note.IsDotted()) return plain * 3 / 2;
  return plain;
}

}  // namespace

bool TStaffRange::CanGroup(int kind) const {
  if (kind != kGroupTriplet) kind = kGroupBeam;
  if (!IsValid()) return false;
  const TNotatedItem* head = staff->GetItem(first);
  if (!head->IsSongNoteClass() || (kind == kGroupBeam && !head->IsMusicNoteClass())) return false;
  const bool grace = ItemAs<TSongNote>(head)->IsGrace();
  const bool allowAll = kind == kGroupTriplet;
  int count = 0;
  int64_t ticks = 0;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (!TSimpleNtnIdx::IsItemBeamable(item, grace, allowAll)) return false;
    if (!IsGroupNote(item, kind, grace)) continue;
    ++count;
    ticks += WrittenTicks(*ItemAs<TSongNote>(item));
  }
  if (!IsGroupNote(staff->GetItem(last), kind, grace)) return false;
  int inherited = 0;
  if (!GetCommonInheritedStem(inherited) || count < 2) return false;
  // Three notes of a triplet take the time of two: the written total times 2/3 must come out
  // in whole units of the shortest triplet (two eighths and a sixteenth do not).
  if (kind == kGroupTriplet && (ticks * 2 % 3 != 0 || ticks * 2 / 3 % kTripletUnitTicks != 0))
    return false;
  return true;
}

bool TStaffRange::Beam(int kind) {
  if (!GroupUnaudited(kind)) return false;
  AuditRange();
  return true;
}

bool TStaffRange::GroupUnaudited(int kind) {
  if (kind != kGroupTriplet) kind = kGroupBeam;
  if (!CanGroup(kind)) return false;
  const auto* head = ItemAs<TSongNote>(staff->GetItem(first));
  const bool grace = head->IsGrace();
  int dir = 0;
  if (kind == kGroupBeam) {
    GetCommonInheritedStem(dir);
    if (dir == 0 && head->GetStemSetting() != kStemAuto) dir = head->GetStemDir();
    if (dir == 0) {
      if (grace) {
        dir = 1;
      } else {
        // high: the topmost position (smallest), low: the bottom one (largest). Stems go down
        // when the notes reach at least as far above the middle line as below it.
        int high = 0;
        int low = 0;
        GetGroupExtent(kind, high, low);
        if (high != low)
          dir = std::abs(low) - std::abs(high) <= 0 ? -1 : 1;
        else
          dir = high <= 0 ? -1 : 1;
      }
    }
  }
  int lastNote = last;
  while (lastNote > first && !IsGroupNote(staff->GetItem(lastNote), kind, grace)) --lastNote;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    if (!IsGroupNote(item, kind, grace)) continue;
    auto* note = ItemAs<TSongNote>(item);
    const int state = i == first ? kGroupFirst : (i == lastNote ? kGroupEnd : kGroupMiddle);
    if (kind == kGroupBeam) note->SetStemDirFromSign(dir);
    note->SetGroupState(kind, state);
    note->Update();
  }
  return true;
}

bool TStaffRange::Ungroup(int kind) {
  if (!IsValid()) return false;
  bool any = false;
  for (int i = first; i <= last; ++i) any = kvt::Ungroup(*staff, kind, i) || any;
  AuditRange();
  return any;
}

}  // namespace kvt
