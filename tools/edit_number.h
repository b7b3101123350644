#pragma once
// TEditNumber: the integer field. Text of at most 7 characters; typing takes only digits, '+',
// '-' and control characters. The value is the leading integer of the text; an empty text is
// the empty marker kEmptyIntValue. The range is enforced by SetValue (clamping) and by
// CanClose, which refuses a closing dialog with "Value is out of range".

#include "tools/edit_value.h"

#include <cstdint>

namespace kvt {

// The value of an empty integer field.
inline constexpr int32_t kEmptyIntValue = -2147483646;

class TEditNumber : public TKRVEditValue {
public:
  // A step below 1 is taken as 1.
  TEditNumber(QWidget* parent, int32_t minimum, int32_t maximum, int32_t step);

  // The limits only; the text stays as it is.
  void SetRange(int32_t minimum, int32_t maximum);
  void SetStep(int32_t step);
  void SetRangeAndStep(int32_t minimum, int32_t maximum, int32_t step);
  void SetAllowEmpty(bool allow) { allowEmpty = allow; }

  int32_t Minimum() const { return minimum; }
  int32_t Maximum() const { return maximum; }
  int32_t StepSize() const { return step; }
  bool AllowsEmpty() const { return allowEmpty; }

  // The empty marker clears the text when empty values are allowed; any other value is clamped
  // (to the maximum, then to the minimum) and written in decimal, caret at the start.
  virtual void SetValue(int32_t value);
  // The leading integer of the text (blanks and a sign accepted; no digits give 0; values
  // beyond 32 bits saturate); kEmptyIntValue for an empty text.
  virtual int32_t GetValue() const;

  // Up goes to the next multiple of the step above the value, down to the one below it; an
  // empty field goes to the minimum (or 0 when the range spans 0 and empty values are allowed).
  void Step(int direction) override;

  // True when the dialog may close: a disabled field, an allowed empty text, or a number text
  // within the range. Otherwise "Value is out of range" is shown, characters 0 to 10 are
  // selected and the field takes the focus.
  bool CanClose() override;
  // CanClose, then the value must be 2, 4, 8, 16, 32 or 64, else "Value is not valid".
  bool IsPowerOfTwoValid();

protected:
  bool AcceptsChar(char16_t c) override;

private:
  int32_t minimum;
  int32_t maximum;
  int32_t step;
  bool allowEmpty = false;
};

}  // namespace kvt
