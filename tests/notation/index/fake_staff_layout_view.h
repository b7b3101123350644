#pragma once
// Test helper: a staff layout view over hand-made draw positions. It starts with the staff
// start at position 0; Add appends a position for an item. The item's position is the first
// one that names it, and every boundary applies except those passed to Reject.

#include <deque>
#include <set>

#include "notation/index/staff_draw_pos.h"
#include "notation/index/staff_layout_view.h"
#include "notation/staff/music_staff.h"

namespace kvt::test {

class TFakeStaffLayoutView final : public TStaffLayoutView {
public:
  explicit TFakeStaffLayoutView(TMusicStaff& laidOut) : staff(laidOut) {
    Add(kDrawStaffStart, 0);
  }

  TStaffDrawPos& Add(TDrawPosKind kind, int itemIndex, int counter = 0) {
    TStaffDrawPos& pos = positions.emplace_back();
    pos.Reset();
    pos.SetKind(kind);
    pos.SetItemIndex(itemIndex);
    pos.SetCounter(counter);
    return pos;
  }
  // The boundary item at the staff index takes no effect in this layout.
  void Reject(int itemIndex) { rejected.insert(staff.GetItem(itemIndex)); }

  TMusicStaff* GetStaff() const override { return &staff; }
  int GetDrawPosCount() const override { return static_cast<int>(positions.size()); }
  TStaffDrawPos* GetDrawPosAt(int n) override {
    return n >= 0 && n < GetDrawPosCount() ? &positions[n] : nullptr;
  }
  int FindDrawPosOfItem(int itemIndex) const override {
    for (int n = 1; n < GetDrawPosCount(); ++n)
      if (positions[n].GetItemIndex() == itemIndex) return n;
    return -1;
  }
  bool DoesBoundaryApply(const TNotatedItem& boundary) const override {
    return rejected.count(&boundary) == 0;
  }

private:
  TMusicStaff& staff;
  std::deque<TStaffDrawPos> positions;  // a deque keeps handed-out positions in place
  std::set<const TNotatedItem*> rejected;
};

}  // namespace kvt::test
