// Mouse buttons of the score editing view: the caret and the selection by clicking and
// dragging (with stepping at the window's edge), the middle-button pan, the double click that
// selects a bar and the context popups.
//
// Qt holds the mouse for the view from a press to the release (its implicit grab), which is
// the capture: losing it another way (the focus or the window goes) ends the drag.

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "app/editor/context_popup.h"
#include "app/editor/score_edit.h"
#include "notation/items/notated_item.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {
// Pixels at each side of the window inside which a drag steps the caret (two border widths).
constexpr int kDragEdgeZone = 4;
// Mouse travel, in music font sizes, that pans the view one step.
constexpr int kPanVerticalFonts = 4;
constexpr int kPanHorizontalFonts = 3;
}  // namespace

void TScoreEdit::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const Qt::MouseButtons held = event->buttons();
  switch (event->button()) {
    case Qt::LeftButton: {
      if (held & (Qt::RightButton | Qt::MiddleButton)) break;
      setFocus(Qt::MouseFocusReason);
      holdScroll = true;
      leftDrag = true;
      if (event->modifiers() & Qt::ShiftModifier) {
        SetCaretFromPoint(at.x(), at.y(), true);
      } else {
        const int staff = StaffFromY(at.y(), true);
        if (staff >= 0 && staff != activeStaffIndex) SetActiveStaff(staff, false);
        SetCaretFromPoint(at.x(), at.y(), false);
      }
      break;
    }
    case Qt::MiddleButton:
      setFocus(Qt::MouseFocusReason);
      panning = true;
      panFrom = at;
      viewport()->setCursor(Qt::ArrowCursor);
      break;
    case Qt::RightButton:
      if (!leftDrag) setFocus(Qt::MouseFocusReason);
      break;
    default: QAbstractScrollArea::mousePressEvent(event); return;
  }
  event->accept();
}

void TScoreEdit::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (panning && (event->buttons() & Qt::MiddleButton)) {
    PanTo(at);
  } else if (leftDrag && (event->buttons() & Qt::LeftButton)) {
    DragTo(at);
  } else {
    SetCursorFor(at, event->modifiers() & Qt::ControlModifier);
    QAbstractScrollArea::mouseMoveEvent(event);
    return;
  }
  event->accept();
}

void TScoreEdit::mouseReleaseEvent(QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      if (leftDrag) {
        StopDragScroll();
        leftDrag = false;
        holdScroll = false;
      }
      break;
    case Qt::MiddleButton:
      if (panning) {
        panning = false;
        SetCursorFor(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
      }
      break;
    default: QAbstractScrollArea::mouseReleaseEvent(event); return;
  }
  event->accept();
}

void TScoreEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton ||
      (event->buttons() & (Qt::RightButton | Qt::MiddleButton))) {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    return;
  }
  event->accept();
  TMusicStaff* staff = ActiveStaff();
  if (!staff) return;
  // The bar that holds the item before the caret: a click before a bar line selects the bar
  // it closes. The bar line that opens the bar is not part of it.
  TStaffRange bar(staff, 0, 0);
  bar.SetToBarAt(caret.caret - 1);
  if (!bar.IsValid()) return;
  int first = bar.GetFirst();
  const TNotatedItem* opening = staff->GetItem(first);
  if (opening && opening->GetType() == kItemBarLine) ++first;
  first = std::max(first, 1);
  const int end = bar.GetLast() + 1;
  if (end <= first) return;
  caret.anchor = first;
  SetCaretIndex(end, true);
}

void TScoreEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (leftDrag) return;
  TContextPopup popup;
  if (event->reason() == QContextMenuEvent::Keyboard) {
    popup = PrepareKeyboardPopup(*this);
  } else {
    setFocus(Qt::MouseFocusReason);
    popup =
        PrepareMousePopup(*this, event->pos(), QGuiApplication::mouseButtons() & Qt::MiddleButton);
  }
  if (popup.menu) popup.menu->exec(viewport()->mapToGlobal(popup.at));
}

// --- the left drag ---

int TScoreEdit::DragScrollDirection() const {
  return dragTimer && dragTimer->isActive() ? dragDirection : 0;
}

void TScoreEdit::DragTo(QPoint at) {
  const int width = ClientWidth();
  const int direction = at.x() < kDragEdgeZone ? -1 : at.x() >= width - kDragEdgeZone ? 1 : 0;
  if (direction == 0) {
    StopDragScroll();
    SetCaretIndex(ItemIndexFromX(at.x()), true);
    return;
  }
  if (DragScrollDirection() == direction) return;
  if (!dragTimer) {
    dragTimer = new QTimer(this);
    dragTimer->setObjectName(QStringLiteral("dragScrollTimer"));
    dragTimer->setInterval(TDragScrollPacer::kIntervalMs);
    connect(dragTimer, &QTimer::timeout, this, [this] { OnDragTimer(); });
  }
  dragDirection = direction;
  dragPacer.Reset();
  dragTimer->start();
}

void TScoreEdit::OnDragTimer() {
  if (dragPacer.Tick()) MoveCaretBy(dragDirection, true);
}

void TScoreEdit::StopDragScroll() {
  if (dragTimer) dragTimer->stop();
  dragDirection = 0;
}

void TScoreEdit::MouseCaptureLost() {
  StopDragScroll();
  leftDrag = false;
  holdScroll = false;
  panning = false;
}

// --- the middle-button pan ---

void TScoreEdit::PanTo(QPoint at) {
  const int font = std::max(1, FontSize());
  const int dy = at.y() - panFrom.y();
  if (std::abs(dy) > kPanVerticalFonts * font && ContentHeight() > 0) {
    // The staves follow the mouse.
    ScrollVertically(dy);
    panFrom.setY(at.y());
  }
  const int dx = at.x() - panFrom.x();
  if (std::abs(dx) > kPanHorizontalFonts * font) {
    ScrollToSlot(StepSlot(hScrollSlot, dx > 0 ? -1 : 1));
    panFrom.setX(at.x());
  }
}

}  // namespace kvt
