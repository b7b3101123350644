#include "tools/edit_real_number.h"

#include <QApplication>
#include <QLineEdit>
#include <cmath>

#include "utils/char_class.h"
#include "utils/number_helpers.h"
#include "utils/number_text.h"

namespace kvt {

namespace {

constexpr int kRealTextLimit = 20;

}  // namespace

std::string FormatRealFieldText(float value, int decimals) {
  std::string text = FormatGeneral(value, 6);
  if (text.find('e') == std::string::npos) return text;
  text = FormatFixed(value, decimals);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

TEditRealNumber::TEditRealNumber(QWidget* parent, float minimum, float maximum, float step)
    : TKRVEditValue(parent, kRealTextLimit), minimum(minimum), maximum(maximum), step(step) {}

void TEditRealNumber::SetRange(float newMinimum, float newMaximum) {
  minimum = newMinimum;
  maximum = newMaximum;
}

void TEditRealNumber::SetValue(float value) {
  if (value == kEmptyRealValue && allowEmpty) {
    SetTextAtStart(QString());
    return;
  }
  SetTextAtStart(
      QString::fromStdString(FormatRealFieldText(RoundToDecimals(value, decimals), decimals)));
}

float TEditRealNumber::GetValue() const {
  const std::string text = GetText(32);
  float value = kEmptyRealValue;
  if (!text.empty() && !ParseRealPrefix(text.c_str(), value)) value = 0.0f;
  return RoundToDecimals(value, decimals);
}

void TEditRealNumber::Step(int direction) {
  const float v = GetValue();
  if (allowEmpty && v == kEmptyRealValue) {
    SetValue(minimum < 0 && maximum > 0 ? 0.0f : minimum);
    return;
  }
  if (step == 0) return;
  float m = step * std::trunc(v / step);
  if (SignReal(m - v) != direction) m += direction * step;
  if (std::fabs(m - v) < step / 10) m += direction * step;
  if (m > maximum) m = maximum;
  if (m < minimum) m = minimum;
  SetValue(m);
}

bool TEditRealNumber::CanClose() {
  if (!isEnabled()) return true;
  const std::string text = GetText(32);
  if (text.empty() && allowEmpty) return true;
  if (IsNumberText(text.c_str(), true)) {
    const float value = GetValue();
    if (minimum <= value && value <= maximum) return true;
  }
  return RefuseValue("Value is out of range", 30);
}

bool TEditRealNumber::AcceptsChar(char16_t c) {
  if (c < 0x20 || c == 0x7F || c == '+' || c == '-' || (c >= '0' && c <= '9')) return true;
  if (c == '.') {
    // A point that the typing replaces is no obstacle.
    const QLineEdit* edit = lineEdit();
    const QString text = edit->text();
    const int selStart = edit->hasSelectedText() ? edit->selectionStart() : -1;
    const int selEnd = selStart < 0 ? -1 : selStart + static_cast<int>(edit->selectedText().size());
    bool pointOutside = false;
    for (int i = 0; i < text.size(); ++i)
      if (text[i] == u'.' && (i < selStart || i >= selEnd)) pointOutside = true;
    if (!pointOutside) return true;
  }
  QApplication::beep();
  return false;
}

}  // namespace kvt
