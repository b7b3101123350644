#pragma once
// TStaffDrawPosIdx: a notation index that walks a laid-out staff by its draw positions (one
// or more per item, TStaffDrawPos) rather than by items. The item index follows the draw
// position: the staff start stands at item 0. Without a layout it cannot move.
//
// The layout view (TStaffLayoutView) must outlive the index, and rebuilding the layout leaves
// the index stale until Attach or Reset.

#include <cstdint>

#include "notation/index/simple_ntn_idx.h"

namespace kvt {

class TStaffDrawPosIdx : public TSimpleNtnIdx {
public:
  TStaffDrawPosIdx() = default;
  // At draw position 0 of the layout.
  explicit TStaffDrawPosIdx(TStaffLayoutView& layout);

  // To draw position 0.
  void Reset() override;
  // To the draw position of item i. When the layout has none: item 0 gives position 0, the
  // last item the last position, any other item the last position when the layout's first
  // item lies before it, else position 0; the answer is then false.
  bool SetIndex(int i) override;
  bool Next() override;
  bool Prev() override;
  // A layout is present and the draw-position index can move that way.
  bool CanMove(int dir) const override;

  TStaffLayoutView* GetLayoutView() const { return layout; }
  int32_t GetDrawPosIndex() const { return drawPosIndex; }
  // The current draw position; null without layout or positions.
  TStaffDrawPos* GetDrawPos() const;
  // Moves to the given position of the layout; false when it is not one of its positions.
  bool SetDrawPos(const TStaffDrawPos& drawPos);
  // Attaches to the layout at position n (clamped to the positions in use) and moves the item
  // index to that position's item.
  void Attach(TStaffLayoutView* view, int n);

private:
  int DrawPosCount() const;

  TStaffLayoutView* layout = nullptr;
  int32_t drawPosIndex = 0;
};

}  // namespace kvt
