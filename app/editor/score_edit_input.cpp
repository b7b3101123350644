// Keyboard, wheel, focus and size events of the score editing view (the mouse buttons are in
// score_edit_mouse.cpp).

#include <QCursor>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/editor/score_edit.h"
#include "draw/layout/score_draw_info.h"
#include "notation/staff/music_staff.h"
#include "tools/focus_caret.h"

namespace kvt {

void TScoreEdit::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  LayoutWindow();
  UpdateScrollBars();
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  caretObject->SetFocus(viewport());
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  MouseCaptureLost();
  caretObject->KillFocus();
  viewport()->update();
}

void TScoreEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Control || event->key() == Qt::Key_Shift) {
    RefreshCursor(event->key() == Qt::Key_Control || (event->modifiers() & Qt::ControlModifier));
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Left: MoveCaretBy(-1, shift); break;
    case Qt::Key_Right: MoveCaretBy(1, shift); break;
    case Qt::Key_Home: SetCaretIndex(1, shift); break;
    case Qt::Key_End:
      if (TMusicStaff* staff = ActiveStaff()) SetCaretIndex(staff->GetLastIndex(), shift);
      break;
    case Qt::Key_Up:
      if (ctrl)
        SetActiveStaff(activeStaffIndex - 1, true);
      else
        MoveCaretVertically(1, shift);
      break;
    case Qt::Key_Down:
      if (ctrl)
        SetActiveStaff(activeStaffIndex + 1, true);
      else
        MoveCaretVertically(-1, shift);
      break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

void TScoreEdit::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Control || event->key() == Qt::Key_Shift)
    RefreshCursor(event->key() != Qt::Key_Control && (event->modifiers() & Qt::ControlModifier));
  QAbstractScrollArea::keyReleaseEvent(event);
}

void TScoreEdit::SetCursorFor(QPoint at, bool ctrl) {
  const bool overActive = activeStaffIndex >= 0 && StaffRect(activeStaffIndex).contains(at);
  if (ctrl)
    viewport()->setCursor(overActive ? Qt::CrossCursor : Qt::ArrowCursor);
  else
    viewport()->setCursor(overActive ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TScoreEdit::RefreshCursor(bool ctrl) {
  // Only while the mouse stands over the view: elsewhere its cursor is not the view's.
  const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
  if (viewport()->rect().contains(at)) SetCursorFor(at, ctrl);
}

void TScoreEdit::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (event->modifiers() & Qt::ControlModifier) {
    if (delta > 0)
      ZoomIn();
    else if (delta < 0)
      ZoomOut();
  } else if (!(event->modifiers() & Qt::ShiftModifier)) {
    ScrollVertically(delta / 4);
  } else if (ActiveStaff() && ActiveStaff()->GetItemCount() > 2) {
    ScrollToSlot(StepSlot(hScrollSlot, delta > 0 ? -1 : 1));
  }
  event->accept();
}

}  // namespace kvt
