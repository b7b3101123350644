#include "tools/edit_number.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "utils/char_class.h"
#include "utils/profile_text.h"

namespace kvt {

namespace {

constexpr int kIntTextLimit = 7;

}  // namespace

TEditNumber::TEditNumber(QWidget* parent, int32_t minimum, int32_t maximum, int32_t step)
    : TKRVEditValue(parent, kIntTextLimit),
      minimum(minimum),
      maximum(maximum),
      step(std::max<int32_t>(step, 1)) {}

void TEditNumber::SetRange(int32_t newMinimum, int32_t newMaximum) {
  minimum = newMinimum;
  maximum = newMaximum;
}

void TEditNumber::SetStep(int32_t newStep) { step = std::max<int32_t>(newStep, 1); }

void TEditNumber::SetRangeAndStep(int32_t newMinimum, int32_t newMaximum, int32_t newStep) {
  SetRange(newMinimum, newMaximum);
  SetStep(newStep);
}

void TEditNumber::SetValue(int32_t value) {
  if (value == kEmptyIntValue && allowEmpty) {
    SetTextAtStart(QString());
    return;
  }
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  SetTextAtStart(QString::fromLatin1(buffer, result.ptr - buffer));
}

int32_t TEditNumber::GetValue() const { return ParseProfileIntPrefix(GetText(12), kEmptyIntValue); }

void TEditNumber::Step(int direction) {
  const int32_t value = GetValue();
  if (allowEmpty && value == kEmptyIntValue) {
    SetValue(minimum < 0 && maximum > 0 ? 0 : minimum);
    return;
  }
  // 64-bit, so that stepping from the ends of the 32-bit range (an empty field's marker among
  // them) cannot overflow; SetValue clamps the result.
  const int64_t v = value;
  const int64_t remainder = v % step;  // takes the sign of v
  const int64_t base = v - remainder;
  int64_t next = base + static_cast<int64_t>(direction) * step;
  if (remainder > 0 && direction < 0) next = base;
  SetValue(static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
}

bool TEditNumber::CanClose() {
  if (!isEnabled()) return true;
  const std::string text = GetText(10);
  if (text.empty() && allowEmpty) return true;
  if (IsNumberText(text.c_str(), false)) {
    const int32_t value = GetValue();
    if (value >= minimum && value <= maximum) return true;
  }
  return RefuseValue("Value is out of range", 10);
}

bool TEditNumber::IsPowerOfTwoValid() {
  if (!isEnabled()) return true;
  if (!CanClose()) return false;
  switch (GetValue()) {
    case 2:
    case 4:
    case 8:
    case 16:
    case 32:
    case 64: return true;
    default: return RefuseValue("Value is not valid", 10);
  }
}

bool TEditNumber::AcceptsChar(char16_t c) {
  return c < 0x20 || c == 0x7F || c == '+' || c == '-' || (c >= '0' && c <= '9');
}

}  // namespace kvt
