#pragma once
// TKRVEdit: the plain one-line edit field of the dialogs, with an option word. The number fields
// (tools/edit_value.h) keep the same option bits.
//
// Option bits: kEditFixedFont shows the text in the system's fixed-pitch font;
// kEditNoSelectOnTab keeps the text unselected when the field gets the focus by Tab or
// Shift+Tab (Qt selects all of it otherwise).

#include <QLineEdit>
#include <QValidator>
#include <cstdint>
#include <string>

namespace kvt {

inline constexpr uint32_t kEditFixedFont = 0x1;
inline constexpr uint32_t kEditNoSelectOnTab = 0x2;

// The text limit of the edit fields: it bounds what the user types or pastes, while the
// program may still set a longer text (QLineEdit's maximum length would cut that one).
class TTextLimitValidator : public QValidator {
public:
  TTextLimitValidator(QObject* parent, int limit) : QValidator(parent), limit(limit) {}
  State validate(QString& input, int&) const override {
    return LimitAllows(input, limit) ? Acceptable : Invalid;
  }
  static bool LimitAllows(const QString& input, int limit) {
    return limit <= 0 || input.size() <= limit;
  }

private:
  int limit;
};

class TKRVEdit : public QLineEdit {
public:
  // textLimit: the most characters the user may enter (0 for no limit).
  TKRVEdit(QWidget* parent, int textLimit);

  void SetOption(uint32_t bit);
  void ClearOption(uint32_t bit);
  bool HasOption(uint32_t bit) const { return (options & bit) != 0; }

  // The text as UTF-8, cut to at most maxBytes bytes on a character boundary.
  std::string GetText(int maxBytes) const;
  // printf-style text (512 bytes at most, cut on a character boundary); a null format clears.
  void SetTextf(const char* format, ...) __attribute__((format(printf, 2, 3)));

protected:
  void focusInEvent(QFocusEvent* event) override;

private:
  uint32_t options = 0;
};

// Helpers shared with the number fields.
// Applies the fixed-font bit to a widget.
void ApplyEditFont(QWidget& widget, uint32_t options);
// The focus-in reason the widget should see: a Tab focus counts as another one when the
// options keep the text unselected, so that the base class selects nothing.
Qt::FocusReason EditFocusReason(Qt::FocusReason reason, uint32_t options);
// text as UTF-8 cut to at most maxBytes bytes on a character boundary.
std::string CutUtf8(const QString& text, int maxBytes);

}  // namespace kvt
