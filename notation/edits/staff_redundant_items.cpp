// Removal of items that repeat what is already in force.

#include "notation/items/bar_line_data.h"
#include "notation/files/text/item_text_copy.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/sustain_pedal.h"

namespace kvt {

namespace {

// Kinds checked, in this order.
constexpr int kRedundantKinds[] = {kItemKey,      kItemBarLine, kItemEnding, kItemPatch,
                                   kItemTimeSig,  kItemTempo,   kItemDynamic};

// A bar line that directs play: a repeat or section sign (a target or a turn of a repeat), or
// one that an ending or a jump stands after. Merging it with a neighbour would change what is
// heard, so it never goes.
bool DirectsPlay(const TMusicStaff& staff, int index) {
  const auto& bar = ItemRef<TBarLineData>(*staff.GetItem(index));
  if (bar.IsOpening() || bar.IsSectionEnd()) return true;
  for (int i = index + 1; i < staff.GetLastIndex(); ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemEnding || item->GetType() == kItemFlow) return true;
    if (item->GetType() == kItemBarLine || item->IsSongNoteClass()) break;
  }
  return false;
}

// Two items are the same when the score file writes them alike; the fields that the staff
// audit derives from the neighbours (a key's clef, a bar line's NotABar) are not written.
bool SameItem(const TNotatedItem& a, const TNotatedItem& b) { return CompareItems(a, b) == 0; }

void RemoveRedundantOfKind(TMusicStaff& staff, int type) {
  int run = -1;                           // the last item of the kind since the last song note
  const TNotatedItem* reference = nullptr;  // the item of the kind in force from an earlier run
  for (int i = 0; i <= staff.GetLastIndex() - 1;) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == type) {
      // Of two bar lines in one run, one that directs play stays; a plain one after it goes.
      if (type == kItemBarLine && run >= 0 && DirectsPlay(staff, run)) {
        if (!DirectsPlay(staff, i) && staff.DeleteItem(i)) continue;
        run = -1;
      }
      // The earlier of two in one run goes first (the later one is what stands in force), so
      // that a later item equal to the reference leaves the reference in force, not the
      // earlier one. An earlier opening bar line stays: the staff always starts with one.
      if (run > 0 && staff.DeleteItem(run)) {
        --i;
        run = -1;
      }
      if (reference && SameItem(*item, *reference) && staff.DeleteItem(i)) continue;
      run = i;
    } else if (item->IsSongNoteClass()) {
      if (run >= 0 && type != kItemBarLine && type != kItemEnding) reference = staff.GetItem(run);
      run = -1;
    }
    ++i;
  }
}

void RemoveRepeatedPedals(TMusicStaff& staff, bool down) {
  for (int i = 1; i < staff.GetLastIndex() - 1;) {
    const TNotatedItem* a = staff.GetItem(i);
    const TNotatedItem* b = staff.GetItem(i + 1);
    auto isPedal = [down](const TNotatedItem* item) {
      return item->GetType() == kItemSustainPedal &&
             ItemAs<TSustainPedal>(item)->IsDown() == down;
    };
    if (isPedal(a) && isPedal(b) && staff.DeleteItem(i)) continue;
    ++i;
  }
}

}  // namespace

int RemoveRedundantItems(TMusicStaff& staff) {
  const int before = staff.GetItemCount();
  for (int type : kRedundantKinds) RemoveRedundantOfKind(staff, type);
  RemoveRepeatedPedals(staff, false);
  RemoveRepeatedPedals(staff, true);
  if (staff.GetItemCount() != before) AuditStaffRange(staff);
  return staff.GetItemCount();
}

}  // namespace kvt
