// The boundary-following index.

#include "notation/index/sd_ntn_idx.h"

#include <cstdlib>

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/index/staff_layout_view.h"
#include "notation/items/staff_sizer.h"

namespace kvt {

namespace {

int Saturate7(int value) { return value < 0 ? 0 : (value > 127 ? 127 : value); }

}  // namespace

TSDNtnIdx::TSDNtnIdx(TMusicStaff* staff) : TRelNtnIdx(staff) { TSDNtnIdx::Reset(); }

TSDNtnIdx::TSDNtnIdx(TMusicStaff* staff, int i) : TRelNtnIdx(staff) {
  TSDNtnIdx::Reset();
  TSDNtnIdx::SetIndex(i);
}

TSDNtnIdx::TSDNtnIdx(TStaffLayoutView& view, int i) : TRelNtnIdx(view.GetStaff()), layout(&view) {
  TSDNtnIdx::Reset();
  TSDNtnIdx::SetIndex(i);
}

void TSDNtnIdx::SetSizes(int upper, int lower) {
  const uint16_t collapsed = sizes & kCollapsedBit;
  sizes = static_cast<uint16_t>(Saturate7(upper) | (Saturate7(lower) << 7) | collapsed);
}

void TSDNtnIdx::Reset() {
  TRelNtnIdx::Reset();
  sizes = 0;
  if (const TMusicStaff* staff = GetStaff())
    SetSizes(std::abs(staff->GetBoundaryTop()), std::abs(staff->GetBoundaryBottom()));
}

bool TSDNtnIdx::SetIndex(int i) {
  if (!GetStaff()) return false;
  const int last = LastIndex();
  const bool inRange = i >= 0 && i <= last;
  const int target = i < 0 ? 0 : (i < last ? i : last);
  if (target < 2 || target < GetIndex()) Reset();
  while (GetIndex() < target)
    if (!Next()) break;
  if (GetIndex() == target) LeaveMultiBarRestBar();
  return inRange && GetIndex() == target;
}

bool TSDNtnIdx::BoundaryApplies(const TNotatedItem& item) const {
  return !layout || layout->DoesBoundaryApply(item);
}

bool TSDNtnIdx::Next() {
  if (!CanMove(1)) return false;
  const TNotatedItem* at = GetItem();
  const TMusicStaff* staff = GetStaff();
  if (at && staff && at->GetType() == kItemBoundary && BoundaryApplies(*at)) {
    const auto& sizer = ItemRef<TStaffSizer>(*at);
    switch (sizer.GetStyle()) {
      case kSizerReset:
        SetSizes(std::abs(staff->GetBoundaryTop()), std::abs(staff->GetBoundaryBottom()));
        break;
      case kSizerNewSize: {
        int upper = GetUpperSize();
        int lower = GetLowerSize();
        if (sizer.GetUpper() != 0) upper = std::abs(staff->GetTopLinePosition()) + sizer.GetUpper();
        if (sizer.GetLower() != 0)
          lower = std::abs(staff->GetBottomLinePosition()) + sizer.GetLower();
        SetSizes(upper, lower);
        break;
      }
      case kSizerCollapse:
        sizes |= kCollapsedBit;
        break;
      case kSizerEndCollapse:
        sizes &= static_cast<uint16_t>(~kCollapsedBit);
        break;
      default:
        break;
    }
  }
  return TRelNtnIdx::Next();
}

bool TSDNtnIdx::IsShownHere() const {
  const TNotatedItem* at = GetItem();
  if (at && at->GetType() == kItemBoundary)
    return BoundaryApplies(*at) &&
           ItemAs<TStaffSizer>(at)->GetStyle() == kSizerEndCollapse;
  return GetIndex() > 0 && !IsCollapsed();
}

}  // namespace kvt
