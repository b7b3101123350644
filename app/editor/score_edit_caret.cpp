// The caret, the selection and scrolling of the score editing view.

#include <QScrollBar>
#include <algorithm>
#include <climits>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_staff.h"
#include "tools/focus_caret.h"

namespace kvt {

namespace {
// The band at each side of the window inside which the caret counts as out of view.
constexpr int kEdgeBorder = 2;
// Caret x values of items outside the laid-out window.
bool IsLaidOutX(int x) { return x != INT_MAX && x > INT_MIN + 2; }
}  // namespace

// --- geometry ---

int TScoreEdit::CaretX() const {
  TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return INT_MIN;
  const int x = draw->ItemIndexToX(caret.caret);
  if (!IsLaidOutX(x)) return x > 0 ? INT_MAX : INT_MIN;
  int caretX = x + originX;
  if (host.Options().caretBesidePreviousItem && caret.caret > 1) {
    const TNotatedItem* before = draw->GetStaff()->GetItem(caret.caret - 1);
    const TNotatedItemType type = before ? before->GetType() : kItemBarLine;
    if (type == kItemBarLine || type == kItemNote || type == kItemChord || type == kItemRestChord ||
        type == kItemRest) {
      const int n = draw->FindPosition(caret.caret - 1);
      if (n >= 0) {
        const int right = originX + draw->XOfPosition(n) + draw->GetFullWidth(n) +
                          caretObject->CaretRect().width() + 1;
        caretX = std::min(caretX, right);
      }
    }
  }
  return caretX;
}

QPoint TScoreEdit::CaretPoint() const {
  const TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return {};
  return {CaretX(), YOffset() + draw->PositionToY(static_cast<float>(caret.caretPos))};
}

int TScoreEdit::ItemIndexFromX(int x) const {
  const TStaffDrawInfo* draw = ActiveDraw();
  return draw ? draw->XToItemIndex(x - originX) : 1;
}

QRect TScoreEdit::StaffRect(int index) const {
  const TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(index);
  if (!draw) return {};
  const int top = YOffset() + draw->GetTopY();
  const int bottom = YOffset() + draw->GetBottomY();
  return QRect(0, top, ClientWidth(), bottom - top + 1);
}

int TScoreEdit::StaffFromY(int y, bool preferActive) const {
  if (preferActive && activeStaffIndex >= 0 && StaffRect(activeStaffIndex).contains(0, y))
    return activeStaffIndex;
  int nearest = -1;
  int distance = INT_MAX;
  for (int i = 0; i < drawInfo->GetStaffCount(); ++i) {
    const QRect r = StaffRect(i);
    if (r.contains(0, y)) return i;
    const int d = std::min(std::abs(y - r.top()), std::abs(y - r.bottom()));
    if (d < distance) {
      distance = d;
      nearest = i;
    }
  }
  return nearest;
}

int TScoreEdit::ContentHeight() const {
  return std::max(0, drawInfo->GetTotalHeight() + topMargin + bottomMargin - ClientHeight());
}

// --- caret ---

void TScoreEdit::PlaceCaretObject() {
  const TStaffDrawInfo* draw = ActiveDraw();
  if (!draw || !caretObject) return;
  const QPoint p = CaretPoint();
  caretObject->SetPos(std::clamp(p.x(), -1000, ClientWidth() + 1000), p.y());
}

void TScoreEdit::SetActiveStaff(int index, bool scroll) {
  const int count = drawInfo->GetStaffCount();
  if (count == 0) return;
  index = std::clamp(index, 0, count - 1);
  const TStaffDrawInfo* oldDraw = ActiveDraw();
  TStaffDrawInfo* newDraw = drawInfo->GetStaffDrawInfo(index);
  TMusicStaff* newStaff = newDraw->GetStaff();
  int newCaret = 1;
  int newAnchor = 1;
  if (oldDraw) {
    const int x = CaretX();
    const int anchorX = oldDraw->ItemIndexToX(caret.anchor);
    const bool visible = x >= 0 && x < ClientWidth() &&
                         (!caret.HasSelection() || (IsLaidOutX(anchorX) && anchorX + originX >= 0 &&
                                                    anchorX + originX < ClientWidth()));
    if (visible) {
      // Same place on the screen.
      newCaret = newDraw->XToItemIndex(x - originX);
      newAnchor = caret.HasSelection() ? newDraw->XToItemIndex(anchorX) : newCaret;
    } else {
      // Same musical time.
      const TMusicStaff* oldStaff = oldDraw->GetStaff();
      const int32_t ticks = oldStaff->GetDurationBetween(caret.caret, 0, 0);
      newCaret = newStaff->FindIndexAtTime(ticks, 0, 0);
      newAnchor = caret.HasSelection() ? newStaff->FindIndexAtTime(
                                             oldStaff->GetDurationBetween(caret.anchor, 0, 0), 0, 0)
                                       : newCaret;
    }
  }
  activeStaffIndex = index;
  caret = ClampEditorCaret({newDraw->GetStaffIndex(), newCaret, newAnchor, 0},
                           newStaff->GetLastIndex());
  drawInfo->SetActiveStaff(active && !viewerMode ? activeStaffIndex : -1);
  if (scroll) {
    if (index == 0) ScrollVertically(-scrollY);
    ScrollCaretIntoView();
  }
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::SetCaretIndex(int index, bool extend) {
  TMusicStaff* staff = ActiveStaff();
  if (!staff) return;
  const int last = std::max(1, staff->GetLastIndex());
  caret.caret = std::clamp(index, 1, last);
  if (!extend) caret.anchor = caret.caret;
  ScrollCaretIntoView();
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::MoveCaretBy(int delta, bool extend) { SetCaretIndex(caret.caret + delta, extend); }

void TScoreEdit::SetCaretToTimeSlot(int64_t slot) {
  const TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return;
  const int32_t ticks = static_cast<int32_t>(std::clamp<int64_t>(slot, 0, INT32_MAX));
  SetCaretIndex(draw->GetStaff()->FindIndexAtTime(ticks, 0, 0), false);
}

void TScoreEdit::SetCaretFromPoint(int x, int y, bool extend) {
  const TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return;
  const int pos = std::clamp(draw->YToPosition(y - YOffset()), kMinCaretPos, kMaxCaretPos);
  caret.caretPos = pos;
  SetCaretIndex(ItemIndexFromX(x), extend);
}

void TScoreEdit::MoveCaretVertically(int delta, bool keepSelection) {
  if (!keepSelection) caret.anchor = caret.caret;
  caret.caretPos = std::clamp(caret.caretPos + delta, kMinCaretPos, kMaxCaretPos);
  PlaceCaretObject();
  viewport()->update();
}

// --- scrolling ---

int64_t TScoreEdit::StepSlot(int64_t slot, int direction) const {
  const TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(0);
  if (draw) {
    if (direction > 0) {
      for (int n = 0; n < draw->GetDrawPosCount(); ++n)
        if (draw->TimeSlotAt(n) > slot) return draw->TimeSlotAt(n);
    } else {
      for (int n = draw->GetDrawPosCount() - 1; n >= 0; --n)
        if (draw->TimeSlotAt(n) < slot) return draw->TimeSlotAt(n);
    }
  }
  // Outside the window's layout: an eighth note.
  return std::max<int64_t>(0, slot + direction * 96);
}

void TScoreEdit::ScrollToSlot(int64_t slot) {
  slot = std::clamp<int64_t>(slot, 0, lastSlot);
  if (slot == hScrollSlot) return;
  caretObject->Hide();
  hScrollSlot = slot;
  LayoutWindow();
  UpdateScrollBars();
  PlaceCaretObject();
  viewport()->update();
  caretObject->Show();
}

void TScoreEdit::ScrollVertically(int dy) {
  const int target = std::clamp(scrollY + dy, -ContentHeight(), 0);
  if (target == scrollY) return;
  scrollY = target;
  settingScrollBars = true;
  verticalScrollBar()->setValue(-scrollY);
  settingScrollBars = false;
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::ScrollCaretIntoView() {
  if (!ActiveDraw()) return;
  const QRect band = StaffRect(activeStaffIndex);
  if (!holdScroll && (band.top() < 0 || band.bottom() >= ClientHeight()))
    ScrollVertically(ClientHeight() / 2 - band.center().y());

  const int width = ClientWidth();
  const int left = 2 * kEdgeBorder;
  const int right = width - 2 * kEdgeBorder;
  int x = CaretX();
  if (x >= left && x <= right) return;
  TStaffDrawInfo* draw = ActiveDraw();
  if (x > right && x != INT_MAX && x - right < 2 * width) {
    // Near the right edge: up to three steps of 8 % of the width.
    for (int i = 0; i < 3 && x > right; ++i) {
      const int layoutX = x - originX;
      ScrollToSlot(draw->XToTimeSlot(layoutX - width + (i + 1) * width * 8 / 100));
      x = CaretX();
    }
    if (x >= left && x <= right) return;
  }
  // Otherwise the caret's time goes to the left edge, one time step back so that what stands
  // before the caret shows; then forward while it is still past the right edge.
  const int64_t ticks = draw->GetStaff()->GetDurationBetween(caret.caret, 0, 0);
  ScrollToSlot(ticks);
  ScrollToSlot(StepSlot(ticks, -1));
  for (int i = 0; i < 3 && CaretX() > right && CaretX() != INT_MAX; ++i)
    ScrollToSlot(StepSlot(hScrollSlot, +1));
}

void TScoreEdit::EnsureItemVisible(int index) {
  const TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return;
  const int x = draw->ItemIndexToX(index);
  const int next = draw->ItemIndexToX(index + 1);
  const bool inside =
      IsLaidOutX(x) && IsLaidOutX(next) && x + originX >= 0 && next + originX <= ClientWidth();
  if (!inside) ScrollToSlot(draw->GetStaff()->GetDurationBetween(index, 0, 0));
}

void TScoreEdit::UpdateScrollBars() {
  settingScrollBars = true;
  QScrollBar* h = horizontalScrollBar();
  const int last = static_cast<int>(std::min<int64_t>(lastSlot, INT_MAX / 2));
  const int page = std::max(1, static_cast<int>(std::min<int64_t>(last, 4 * 768)));
  h->setRange(0, last);
  h->setPageStep(page);
  h->setSingleStep(96);
  h->setValue(static_cast<int>(std::min<int64_t>(hScrollSlot, last)));
  h->setEnabled(active);
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, ContentHeight());
  v->setPageStep(std::max(1, ClientHeight() / 2));
  v->setSingleStep(std::max(1, FontSize()));
  scrollY = std::clamp(scrollY, -ContentHeight(), 0);
  v->setValue(-scrollY);
  v->setEnabled(active);
  settingScrollBars = false;
}

void TScoreEdit::OnHorizontalAction(int action) {
  QScrollBar* h = horizontalScrollBar();
  int64_t slot = hScrollSlot;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: slot = StepSlot(slot, +1); break;
    case QAbstractSlider::SliderSingleStepSub: slot = StepSlot(slot, -1); break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub: {
      // Ten steps, then on to the next bar line in that direction.
      const int dir = action == QAbstractSlider::SliderPageStepAdd ? 1 : -1;
      for (int i = 0; i < 10; ++i) slot = StepSlot(slot, dir);
      if (const TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(0)) {
        const TMusicStaff* staff = draw->GetStaff();
        const int at =
            staff->FindIndexAtTime(static_cast<int32_t>(std::min<int64_t>(slot, INT32_MAX)), 0, 0);
        const int bar = staff->FindBarClamped(at, dir);
        slot = staff->GetDurationBetween(bar, 0, 0);
      }
      break;
    }
    default: return;  // thumb moves arrive through scrollContentsBy
  }
  h->setSliderPosition(static_cast<int>(std::clamp<int64_t>(slot, 0, h->maximum())));
}

void TScoreEdit::scrollContentsBy(int dx, int dy) {
  if (settingScrollBars) return;
  if (dx != 0) ScrollToSlot(horizontalScrollBar()->value());
  if (dy != 0) ScrollVertically(-verticalScrollBar()->value() - scrollY);
}

}  // namespace kvt
