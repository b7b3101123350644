#pragma once
// TSDNtnIdx: a relative index that also follows the staff's boundary items as a layout sees
// them: the upper and lower boundary sizes in force (in staff steps) and whether the staff
// is collapsed. Without a layout every boundary item takes effect; with one, the layout view
// decides which do (TStaffLayoutView::DoesBoundaryApply). The view must outlive the index.
//
// Sizes are kept in 7 bits as the layout stores them: larger values saturate at 127.
// It moves forward only: a target behind it restarts from item 0.

#include <cstdint>

#include "notation/index/rel_ntn_idx.h"

namespace kvt {

class TSDNtnIdx : public TRelNtnIdx {
public:
  TSDNtnIdx() = default;
  explicit TSDNtnIdx(TMusicStaff* staff);
  TSDNtnIdx(TMusicStaff* staff, int i);
  // On the layout's staff, at item i.
  TSDNtnIdx(TStaffLayoutView& layout, int i);

  // The relative reset; sizes from the staff's BoundaryTop and BoundaryBottom magnitudes;
  // not collapsed.
  void Reset() override;
  // Clamped to the last index; a target below 2 or behind the index restarts; then steps
  // forward. False when clamped or negative.
  bool SetIndex(int i) override;
  // Applies a boundary item being left, then the relative step.
  bool Next() override;

  // The layout view; null when built on a staff alone.
  TStaffLayoutView* GetLayoutView() const { return layout; }
  int GetUpperSize() const { return sizes & 0x7F; }
  int GetLowerSize() const { return (sizes >> 7) & 0x7F; }
  bool IsCollapsed() const { return (sizes & kCollapsedBit) != 0; }
  // On a boundary item: it takes effect and is an EndCollapse. Elsewhere: past item 0 and
  // not collapsed.
  bool IsShownHere() const;

private:
  static constexpr uint16_t kCollapsedBit = 1u << 14;
  bool BoundaryApplies(const TNotatedItem& item) const;
  void SetSizes(int upper, int lower);

  TStaffLayoutView* layout = nullptr;
  uint16_t sizes = 0;
};

}  // namespace kvt
