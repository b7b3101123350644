// Keyboard, wheel, focus and size events of the score editing view (the mouse buttons are in
// score_edit_mouse.cpp).

#include <QCursor>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <optional>

#include "app/editor/score_edit.h"
#include "app/editor/edit_key_actions.h"
#include "app/editor/edit_key_table.h"
#include "app/editor/score_edit_host.h"
#include "draw/layout/score_draw_info.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"
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

bool TScoreEdit::event(QEvent* event) {
  // Keys the view handles are not menu shortcuts while it has the focus, so typing in the
  // view never triggers a menu item.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (MatchEditKey(key->key(), key->modifiers(), key->text()) || IsNavigationKey(key->key())) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

bool TScoreEdit::IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Backspace: return true;
    default: return false;
  }
}

bool TScoreEdit::RunKeyCommand(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  const std::optional<TKeyHit> hit = MatchEditKey(key, modifiers, text);
  if (!hit) return false;
  // The view's own commands run here; the others (save, play, the frame's) are the
  // application's.
  if (hit->table == TKeyTable::kEditMenu && commands->HasHandler(hit->id))
    ExecuteCommand(hit->id);
  else
    host.ExecuteAppCommand(hit->id);
  return true;
}

void TScoreEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Control || event->key() == Qt::Key_Shift) {
    RefreshCursor(event->key() == Qt::Key_Control || (event->modifiers() & Qt::ControlModifier));
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  if (RunKeyCommand(event->key(), event->modifiers(), event->text())) {
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool shift = modifiers & Qt::ShiftModifier;
  const bool ctrl = modifiers & Qt::ControlModifier;
  TMusicStaff* staff = ActiveStaff();
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const int dir = event->key() == Qt::Key_Left ? -1 : 1;
      if (HasSelection() && !shift) {
        // The first press only collapses the selection, at the side of the arrow.
        SetCaretIndex(dir < 0 ? caret.SelectionStart() : caret.SelectionEnd() + 1, false);
      } else if (ctrl) {
        MoveCaretByBar(*this, dir, shift);
      } else if (dir > 0 && staff && caret.caret >= staff->GetLastIndex() && !shift) {
        // At the staff's end the view moves on one time slot while the caret is in sight.
        const int x = CaretX();
        if (x >= 0 && x < ClientWidth()) ScrollToSlot(StepSlot(hScrollSlot, 1));
      } else {
        MoveCaretBy(dir, shift);
      }
      break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
      // Staff positions grow downwards: Up is one position less.
      const bool up = event->key() == Qt::Key_Up;
      const int step = up ? -1 : 1;
      if (ctrl && shift) {
        if (HasSelection())
          ShiftSelection(*this, step);
        else
          ExecuteCommand(up ? 108 : 109);
      } else {
        MoveCaretVertically(ctrl ? 7 * step : step, false);
      }
      break;
    }
    case Qt::Key_Home:
      if (ctrl)
        SetActiveStaff(0, true);
      else
        SetCaretIndex(1, shift);
      break;
    case Qt::Key_End:
      if (ctrl)
        SetActiveStaff(ShownStaffCount() - 1, true);
      else if (staff)
        SetCaretIndex(staff->GetLastIndex(), shift);
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int dir = event->key() == Qt::Key_PageUp ? -1 : 1;
      if (ctrl && shift)
        ExecuteCommand(dir < 0 ? 226 : 227);
      else if (!ctrl && !shift)
        SetActiveStaff(activeStaffIndex + dir, true);
      break;
    }
    case Qt::Key_Insert:
      if (modifiers == Qt::NoModifier) InsertSpacer(*this);
      break;
    case Qt::Key_Delete:
      if (modifiers == Qt::NoModifier) DeleteForward(*this);
      break;
    case Qt::Key_Backspace:
      if (modifiers == Qt::NoModifier) DeleteBackward(*this);
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
