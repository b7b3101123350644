#pragma once
// TKRVEditValue: the base of the number fields. A QAbstractSpinBox whose arrows, Up and Down
// keys and mouse wheel all step through Step(+1 or -1), which each field defines. PageUp,
// PageDown and Ctrl do not step (they pass to the dialog). Typed characters are filtered by
// the field (AcceptsChar); the text is never validated while typing: the range is checked when
// the dialog closes (CanClose in the fields), so typing never shows a message.
//
// The option bits are those of TKRVEdit (tools/krv_edit.h).

#include <QAbstractSpinBox>
#include <cstdint>
#include <string>

#include "tools/dialog_transfer.h"

namespace kvt {

class TKRVEditValue : public QAbstractSpinBox, public TClosableControl {
public:
  TKRVEditValue(QWidget* parent, int textLimit);

  virtual void Step(int direction) = 0;
  // Step(+1) for a delta of 0 or more, Step(-1) below 0.
  virtual void SpinStep(int delta);

  void SetOption(uint32_t bit);
  void ClearOption(uint32_t bit);
  bool HasOption(uint32_t bit) const { return (options & bit) != 0; }

  // The text as UTF-8, cut to at most maxBytes bytes on a character boundary.
  std::string GetText(int maxBytes) const;

  // QAbstractSpinBox: the built-in arrows step through SpinStep.
  void stepBy(int steps) override;

protected:
  // Whether a typed character reaches the text; a field may beep when it refuses one.
  virtual bool AcceptsChar(char16_t c) = 0;

  // Puts text in the field, caret at the start and nothing selected.
  void SetTextAtStart(const QString& text);
  // The refusal of CanClose: a message box "message" owned by the field's window, captioned
  // with the field's window title, exclamation icon; then characters 0 to selectEnd are
  // selected and the field takes the focus. Returns false.
  bool RefuseValue(const char* message, int selectEnd);

  StepEnabled stepEnabled() const override;
  // Only the text limit: the range is checked at close, never while typing.
  QValidator::State validate(QString& input, int& pos) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

private:
  int textLimit;
  uint32_t options = 0;
};

}  // namespace kvt
