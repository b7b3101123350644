// TScoreDrawInfo: where the staves of a laid-out system stand, for the score window, the
// preview and the page renderer. Every query accepts any slot and any coordinate.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "draw/layout/score_draw_info.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

TMusicStaff* TScoreDrawInfo::GetStaff(int slot) const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(slot);
  return layout ? layout->GetStaff() : nullptr;
}

int TScoreDrawInfo::GetScoreStaffIndex(int slot) const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(slot);
  return layout ? layout->GetStaffIndex() : -1;
}

int TScoreDrawInfo::FindStaffDrawInfo(int scoreStaffIndex) const {
  for (int i = 0; i < inUse; ++i)
    if (staves[static_cast<size_t>(i)]->GetStaffIndex() == scoreStaffIndex) return i;
  return -1;
}

int TScoreDrawInfo::FindStaff(const TMusicStaff* staff) const {
  if (!staff) return -1;
  for (int i = 0; i < inUse; ++i)
    if (staves[static_cast<size_t>(i)]->GetStaff() == staff) return i;
  return -1;
}

int TScoreDrawInfo::GetNeighbourStaff(int slot, int direction) const {
  if (slot < 0 || slot >= inUse || direction == 0) return -1;
  if (direction > 0) {
    for (int i = slot + 1; i < inUse; ++i)
      if (GetStack(i).startsGroup) return i;
    return -1;
  }
  // Back to the start of this slot's group, then to the start of the group before it.
  int start = slot;
  while (start > 0 && !GetStack(start).startsGroup) --start;
  if (start == 0) return -1;
  int previous = start - 1;
  while (previous > 0 && !GetStack(previous).startsGroup) --previous;
  return previous;
}

bool TScoreDrawInfo::UsesMultiPartDotPlacement(int slot) const {
  const TMusicStaff* staff = GetStaff(slot);
  return staff && GetStack(slot).layered && staff->GetMultiPartDotPlacement();
}

int TScoreDrawInfo::GetStaffY(int slot) const {
  return slot >= 0 && slot < inUse ? GetStack(slot).originY : 0;
}

TDcRect TScoreDrawInfo::GetStaffBounds(int slot) const {
  if (slot < 0 || slot >= inUse) return TDcRect{};
  const TStackedStaff& s = GetStack(slot);
  const int64_t step = GetStepHeight();
  const int upper = s.collapsed ? 0 : s.upper;
  const int lower = s.collapsed ? 0 : s.lower;
  return TDcRect{0, ClampToInt(s.originY - upper * step), INT_MAX,
                 ClampToInt(s.originY + lower * step)};
}

TDcRect TScoreDrawInfo::GetBoundsRect(int slot) const {
  TDcRect band = GetStaffBounds(slot);
  if (!band.IsEmpty()) band.right = GetStaffDrawInfo(slot)->GetTotalWidth();
  return band;
}

int TScoreDrawInfo::StaffPositionToY(int slot, float position) const {
  const double y =
      static_cast<double>(GetStaffY(slot)) + static_cast<double>(position) * GetStepHeight();
  // Truncation towards zero; positions from outside data may be anything.
  if (!(y > INT_MIN)) return INT_MIN;
  if (!(y < INT_MAX)) return INT_MAX;
  return static_cast<int>(y);
}

int TScoreDrawInfo::YToStaffPosition(int slot, int y, int* remainder) const {
  const int64_t spacing = std::max(1, metrics.Space());
  const int64_t twice = 2 * (static_cast<int64_t>(y) - GetStaffY(slot));
  if (remainder) *remainder = static_cast<int>(twice % spacing);
  return ClampToInt(twice / spacing);
}

int TScoreDrawInfo::YToStaffIndex(int y) const {
  for (int i = 0; i < inUse; ++i) {
    const TDcRect band = GetStaffBounds(i);
    if (band.top > y || (y >= band.top && y <= band.bottom)) return i;
  }
  return inUse - 1;
}

int TScoreDrawInfo::CursorToX(int slot, const TLayoutStart& at) const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(slot);
  if (!layout) return 0;
  if (at.restBar > 0) {
    for (int n = 1; n < layout->GetDrawPosCount(); ++n) {
      const TStaffDrawPos& pos = *layout->PositionAt(n);
      if (pos.GetItemIndex() == at.itemIndex && pos.GetMultiBarRestBar() == at.restBar)
        return layout->XOfPosition(n);
    }
  }
  return layout->ItemIndexToX(at.itemIndex);
}

int64_t TScoreDrawInfo::XToTimeSlot(int slot, int x) const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(slot);
  return layout ? layout->XToTimeSlot(x) : 0;
}

int TScoreDrawInfo::GetFirstPositionWidth() const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(0);
  const TStaffDrawPos* start = layout ? layout->PositionAt(0) : nullptr;
  return start ? start->GetWidth() : 0;
}

}  // namespace kvt
