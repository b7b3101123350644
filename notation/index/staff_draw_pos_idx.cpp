// The draw-position index.

#include "notation/index/staff_draw_pos_idx.h"

#include "notation/index/staff_draw_pos.h"
#include "notation/index/staff_layout_view.h"

namespace kvt {

TStaffDrawPosIdx::TStaffDrawPosIdx(TStaffLayoutView& view) { Attach(&view, 0); }

int TStaffDrawPosIdx::DrawPosCount() const { return layout ? layout->GetDrawPosCount() : 0; }

void TStaffDrawPosIdx::Attach(TStaffLayoutView* view, int n) {
  layout = view;
  AttachStaff(view ? view->GetStaff() : nullptr);
  const int count = DrawPosCount();
  if (n > count - 1) n = count - 1;
  if (n < 0) n = 0;
  drawPosIndex = n;
  const TStaffDrawPos* pos = GetDrawPos();
  int item = pos && !pos->IsStaffStart() ? pos->GetItemIndex() : 0;
  const int last = LastIndex();
  if (item > last) item = last < 0 ? 0 : last;
  Place(item);
}

void TStaffDrawPosIdx::Reset() { Attach(layout, 0); }

bool TStaffDrawPosIdx::SetIndex(int i) {
  if (!layout) return false;
  int n = layout->FindDrawPosOfItem(i);
  const bool found = n >= 0;
  if (!found) {
    const int lastPos = DrawPosCount() - 1;
    if (i <= 0) {
      n = 0;
    } else if (i >= LastIndex()) {
      n = lastPos;
    } else {
      // The layout's first item: that of the first position after the staff start.
      const TStaffDrawPos* first = layout->GetDrawPosAt(lastPos >= 1 ? 1 : 0);
      n = first && first->GetItemIndex() < i ? lastPos : 0;
    }
  }
  Attach(layout, n);
  return found;
}

bool TStaffDrawPosIdx::CanMove(int dir) const {
  if (!layout) return false;
  return dir < 0 ? drawPosIndex > 0 : drawPosIndex < DrawPosCount() - 1;
}

bool TStaffDrawPosIdx::Next() {
  if (!CanMove(1)) return false;
  Attach(layout, drawPosIndex + 1);
  return true;
}

bool TStaffDrawPosIdx::Prev() {
  if (!CanMove(-1)) return false;
  Attach(layout, drawPosIndex - 1);
  return true;
}

TStaffDrawPos* TStaffDrawPosIdx::GetDrawPos() const {
  return layout ? layout->GetDrawPosAt(drawPosIndex) : nullptr;
}

bool TStaffDrawPosIdx::SetDrawPos(const TStaffDrawPos& drawPos) {
  if (!layout) return false;
  for (int n = 0, count = DrawPosCount(); n < count; ++n) {
    if (layout->GetDrawPosAt(n) == &drawPos) {
      Attach(layout, n);
      return true;
    }
  }
  return false;
}

}  // namespace kvt
