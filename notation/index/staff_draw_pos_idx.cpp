// The draw-position index.

#include "notation/index/staff_draw_pos_idx.h"

#include "notation/index/staff_draw_lookup.h"
#include "notation/index/staff_draw_pos.h"

namespace kvt {

TStaffDrawPosIdx::TStaffDrawPosIdx(TStaffDrawInfo& info) { Attach(&info, 0); }

int TStaffDrawPosIdx::DrawPosCount() const { return drawInfo ? GetDrawPosCount(*drawInfo) : 0; }

void TStaffDrawPosIdx::Attach(TStaffDrawInfo* info, int n) {
  drawInfo = info;
  AttachStaff(info ? GetDrawInfoStaff(*info) : nullptr);
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

void TStaffDrawPosIdx::Reset() { Attach(drawInfo, 0); }

bool TStaffDrawPosIdx::SetIndex(int i) {
  if (!drawInfo) return false;
  int n = FindDrawPosOfItem(*drawInfo, i);
  const bool found = n >= 0;
  if (!found) {
    const int lastPos = DrawPosCount() - 1;
    if (i <= 0) {
      n = 0;
    } else if (i >= LastIndex()) {
      n = lastPos;
    } else {
      // The layout's first item: that of the first position after the staff start.
      const TStaffDrawPos* first = GetDrawPosAt(*drawInfo, lastPos >= 1 ? 1 : 0);
      n = first && first->GetItemIndex() < i ? lastPos : 0;
    }
  }
  Attach(drawInfo, n);
  return found;
}

bool TStaffDrawPosIdx::CanMove(int dir) const {
  if (!drawInfo) return false;
  return dir < 0 ? drawPosIndex > 0 : drawPosIndex < DrawPosCount() - 1;
}

bool TStaffDrawPosIdx::Next() {
  if (!CanMove(1)) return false;
  Attach(drawInfo, drawPosIndex + 1);
  return true;
}

bool TStaffDrawPosIdx::Prev() {
  if (!CanMove(-1)) return false;
  Attach(drawInfo, drawPosIndex - 1);
  return true;
}

TStaffDrawPos* TStaffDrawPosIdx::GetDrawPos() const {
  return drawInfo ? GetDrawPosAt(*drawInfo, drawPosIndex) : nullptr;
}

bool TStaffDrawPosIdx::SetDrawPos(const TStaffDrawPos& drawPos) {
  if (!drawInfo) return false;
  for (int n = 0, count = DrawPosCount(); n < count; ++n) {
    if (GetDrawPosAt(*drawInfo, n) == &drawPos) {
      Attach(drawInfo, n);
      return true;
    }
  }
  return false;
}

}  // namespace kvt
