// TMusicStaff: insertions and removals that keep the staff's derived state current.
#include "notation/staff/music_staff.h"

#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"

namespace kvt {

namespace {

void SettleStemsAndAudit(TMusicStaff& staff, int i) {
  const TNotatedItem* item = staff.GetItem(i);
  if (item != nullptr && item->IsSongNoteClass() &&
      ItemAs<TSongNote>(item)->GetStemSetting() == kStemAuto) {
    SetGroupStemDirection(staff, 0, i);
  }
  AuditStaffAround(staff, i);
}

}  // namespace

int TMusicStaff::InsertItemAndAudit(std::unique_ptr<TNotatedItem> item, int i) {
  int at = InsertItem(std::move(item), i);
  SettleStemsAndAudit(*this, at);
  return at;
}

int TMusicStaff::InsertItemAtTime(std::unique_ptr<TNotatedItem> item, int32_t ticks) {
  int i = 1;
  int32_t sum = 0;
  while (sum < ticks && i < GetLastIndex()) {
    // The item that reaches past the time is split there, however long it is, so the new
    // item lands on the tick it was aimed at (or the nearest one note values can end on).
    if (sum + GetItem(i)->GetDuration() > ticks) ticks = SplitItemAtTime(*this, i, sum, ticks);
    sum += GetItem(i)->GetDuration();
    ++i;
  }
  return InsertItem(std::move(item), i);
}

int TMusicStaff::InsertItemAtTimeAndAudit(std::unique_ptr<TNotatedItem> item, int32_t ticks) {
  int at = InsertItemAtTime(std::move(item), ticks);
  SettleStemsAndAudit(*this, at);
  return at;
}

std::unique_ptr<TNotatedItem> TMusicStaff::DetachItemAndAudit(int i) {
  std::unique_ptr<TNotatedItem> item = DetachItem(i);
  if (item) AuditStaffAround(*this, i);
  return item;
}

}  // namespace kvt
