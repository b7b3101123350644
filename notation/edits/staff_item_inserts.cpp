#include <algorithm>

#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/notated_item.h"
#include "notation/staff/music_staff.h"

namespace kvt {

int InsertItemsAndAudit(TMusicStaff& staff, std::vector<std::unique_ptr<TNotatedItem>> items,
                        int at) {
  at = std::clamp(at, 1, std::max(1, staff.GetLastIndex()));
  int moved = 0;
  for (std::unique_ptr<TNotatedItem>& item : items) {
    if (!item) continue;
    if (!staff.TryInsertItem(item, at + moved)) break;
    ++moved;
  }
  if (moved > 0) AuditStaffAround(staff, at, at + moved - 1);
  return moved;
}

}  // namespace kvt
