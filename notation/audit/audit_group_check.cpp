// The staff audit's check of a beam or triplet group that a song note opens.

#include <cstdint>

#include "notation/audit/audit_item.h"
#include "notation/items/item_cast.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/song_note.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {

// A triplet's notes must add up to whole units of the shortest triplet.
constexpr int kTripletUnitTicks = 12;

bool BreaksGroup(int type) {
  switch (type) {
    case kItemKey:
    case kItemBarLine:
    case kItemEnding:
    case kItemTimeSig:
    case kItemFlow:
      return true;
    default:
      return false;
  }
}

int GroupState(const TSongNote& note, int kind) {
  return kind == kGroupBeam ? note.GetBeamState() : note.GetTripletState();
}

}  // namespace

bool PassesGroupCheck(TAuditNtnIdx& idx, int kind) {
  TMusicStaff* staff = idx.GetStaff();
  TNotatedItem* head = idx.GetItem();
  if (!staff || !head || !head->IsSongNoteClass()) return false;
  const bool beam = kind != kGroupTriplet;
  if (beam && head->IsRestClass()) return false;
  auto* first = ItemAs<TSongNote>(head);
  if (beam && first->GetStemSetting() == kStemAuto) {
    // Beaming the run again gives its notes the beam's stem direction.
    TStaffRange run;
    run.InitRunAtIndex(idx, kGroupBeam);
    if (!run.Beam(kGroupBeam)) return false;
  }
  const bool grace = first->IsGrace();
  const int stem = first->GetStemSetting();
  const int start = idx.GetIndex();
  const int last = staff->GetLastIndex();
  int64_t ticks = 0;
  for (int i = start;; ++i) {
    if (i >= last) return false;  // the staff ends before the group does
    TNotatedItem* item = staff->GetItem(i);
    if (BreaksGroup(item->GetType())) return false;
    if (!item->IsSongNoteClass()) continue;
    const auto* note = ItemAs<TSongNote>(item);
    if (note->IsGrace() != grace) {
      if (beam) continue;
      return false;
    }
    if (beam) {
      if (item->IsRestClass()) continue;
      if (ItemAs<TMusicNote>(item)->GetFlagCount() == 0) return false;
      if (note->GetStemSetting() != stem) return false;
    }
    ticks += note->GetDuration();
    if (i == start) continue;
    const int state = GroupState(*note, kind);
    if (state == kGroupEnd) break;
    if (state != kGroupMiddle) return false;
  }
  return beam || ticks % kTripletUnitTicks == 0;
}

}  // namespace kvt
