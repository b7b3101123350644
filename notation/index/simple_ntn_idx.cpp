// The position keeping of the simple index: the five virtual operations, attaching, tick
// time and comparison.

#include "notation/index/simple_ntn_idx.h"

#include "notation/staff/music_staff.h"
#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/index/staff_layout_view.h"

namespace kvt {

TSimpleNtnIdx::TSimpleNtnIdx(TMusicStaff* s) : staff(s) { TSimpleNtnIdx::Reset(); }

TSimpleNtnIdx::TSimpleNtnIdx(TMusicStaff* s, int i) : staff(s) {
  TSimpleNtnIdx::Reset();
  TSimpleNtnIdx::SetIndex(i);
}

TSimpleNtnIdx::TSimpleNtnIdx(TStaffLayoutView& layout, const TStaffDrawPos& drawPos)
    : staff(layout.GetStaff()) {
  TSimpleNtnIdx::Reset();
  if (!drawPos.IsStaffStart()) TSimpleNtnIdx::SetIndex(drawPos.GetItemIndex());
}

TSimpleNtnIdx::~TSimpleNtnIdx() = default;

int TSimpleNtnIdx::LastIndex() const { return staff ? staff->GetLastIndex() : -1; }

TNotatedItem* TSimpleNtnIdx::ItemAt(int i) const { return staff ? staff->GetItem(i) : nullptr; }

void TSimpleNtnIdx::Place(int i) {
  index = i;
  item = ItemAt(i);
}

void TSimpleNtnIdx::Reset() { Place(0); }

bool TSimpleNtnIdx::SetIndex(int i) {
  if (!staff) return false;
  if (i < 0) {
    Place(0);
    return false;
  }
  const int last = LastIndex();
  if (i > last) {
    Place(last < 0 ? 0 : last);
    return false;
  }
  Place(i);
  return true;
}

bool TSimpleNtnIdx::Next() {
  if (!TSimpleNtnIdx::CanMove(1)) return false;
  Place(index + 1);
  return true;
}

bool TSimpleNtnIdx::Prev() {
  if (!TSimpleNtnIdx::CanMove(-1)) return false;
  Place(index - 1);
  return true;
}

bool TSimpleNtnIdx::CanMove(int dir) const {
  if (!staff) return false;
  return dir < 0 ? index > 0 : index < LastIndex();
}

void TSimpleNtnIdx::SetStaff(TMusicStaff* newStaff) {
  staff = newStaff;
  Reset();
}

void TSimpleNtnIdx::Refresh() {
  const int at = index;
  Reset();
  SetIndex(at);
}

bool TSimpleNtnIdx::GoLast() { return SetIndex(LastIndex()); }

int32_t TSimpleNtnIdx::GetTickTime() const {
  int64_t ticks = 0;
  for (int i = 0; i < index; ++i) {
    const TNotatedItem* at = ItemAt(i);
    if (at) ticks += at->GetDuration();
  }
  return ticks > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ticks);
}

int TSimpleNtnIdx::Compare(const TSimpleNtnIdx& other) const {
  if (staff == other.staff) return (index > other.index) - (index < other.index);
  const int32_t a = GetTickTime();
  const int32_t b = other.GetTickTime();
  return (a > b) - (a < b);
}

const char* TSimpleNtnIdx::GetTypeName() const {
  return item ? GetNameListEntry(kNameListItemKinds, item->GetType()) : "";
}

}  // namespace kvt
