#include "tools/edit_value.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include "tools/format_message_box.h"
#include "tools/krv_edit.h"
#include "tools/message_box_service.h"

namespace kvt {

TKRVEditValue::TKRVEditValue(QWidget* parent, int textLimit)
    : QAbstractSpinBox(parent), textLimit(textLimit) {}

QValidator::State TKRVEditValue::validate(QString& input, int&) const {
  return TTextLimitValidator::LimitAllows(input, textLimit) ? QValidator::Acceptable
                                                            : QValidator::Invalid;
}

void TKRVEditValue::SpinStep(int delta) { Step(delta >= 0 ? 1 : -1); }

void TKRVEditValue::SetOption(uint32_t bit) {
  options |= bit;
  ApplyEditFont(*this, options);
}

void TKRVEditValue::ClearOption(uint32_t bit) {
  options &= ~bit;
  ApplyEditFont(*this, options);
}

std::string TKRVEditValue::GetText(int maxBytes) const { return CutUtf8(text(), maxBytes); }

void TKRVEditValue::stepBy(int steps) {
  if (steps != 0) SpinStep(steps);
}

void TKRVEditValue::SetTextAtStart(const QString& text) {
  lineEdit()->setText(text);
  lineEdit()->setCursorPosition(0);
  lineEdit()->deselect();
}

bool TKRVEditValue::RefuseValue(const char* message, int selectEnd) {
  const std::string caption = CutUtf8(windowTitle(), 1024);
  FormatMessageBox(this, MB_OK | MB_ICONEXCLAMATION, caption.c_str(), "%s", message);
  lineEdit()->setSelection(0, selectEnd);
  setFocus(Qt::OtherFocusReason);
  return false;
}

QAbstractSpinBox::StepEnabled TKRVEditValue::stepEnabled() const {
  return isEnabled() && !isReadOnly() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

void TKRVEditValue::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      Step(1);
      event->accept();
      return;
    case Qt::Key_Down:
      Step(-1);
      event->accept();
      return;
    // No page steps: the keys go on to the dialog.
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: event->ignore(); return;
    default: break;
  }
  // A key with Ctrl or Alt is a command or a mnemonic, not a typed character.
  const QString typed = event->text();
  if (!typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    for (QChar c : typed) {
      if (!AcceptsChar(c.unicode())) {
        event->accept();
        return;
      }
    }
  }
  QAbstractSpinBox::keyPressEvent(event);
}

void TKRVEditValue::wheelEvent(QWheelEvent* event) {
  // Only the vertical wheel steps; a notch away from the user steps up.
  const int delta = event->angleDelta().y();
  if (delta == 0 || !isEnabled()) {
    event->ignore();
    return;
  }
  SpinStep(delta);
  event->accept();
}

void TKRVEditValue::focusInEvent(QFocusEvent* event) {
  QFocusEvent adjusted(event->type(), EditFocusReason(event->reason(), options));
  QAbstractSpinBox::focusInEvent(&adjusted);
}

}  // namespace kvt
