#pragma once
// TEditRealNumber: the real-number field. Text of at most 20 characters; typing takes digits,
// '+', '-', control characters and one '.', and beeps at anything else. The value is the text
// read in the "C" locale whatever the user's locale, rounded to the field's decimals; an empty
// text is kEmptyRealValue. Values are written as "%g" gives them, but never in exponent form.

#include "tools/edit_value.h"

#include <string>

namespace kvt {

// The value of an empty real field.
inline constexpr float kEmptyRealValue = -2147483648.0f;

class TEditRealNumber : public TKRVEditValue {
public:
  TEditRealNumber(QWidget* parent, float minimum, float maximum, float step);

  void SetRange(float newMinimum, float newMaximum);
  void SetStep(float newStep) { step = newStep; }
  void SetAllowEmpty(bool allow) { allowEmpty = allow; }
  // Decimals kept when reading (5 at construction).
  void SetDecimals(int n) { decimals = n; }

  float Minimum() const { return minimum; }
  float Maximum() const { return maximum; }

  // The empty marker clears the text when empty values are allowed; any other value is
  // rounded to the decimals and written (not clamped), caret at the start.
  virtual void SetValue(float value);
  // The leading number of the text (0 when there is none), rounded to the decimals;
  // kEmptyRealValue for an empty text.
  virtual float GetValue() const;

  void MultiplyValue(float factor) { SetValue(GetValue() * factor); }
  void DivideValue(float divisor) { SetValue(GetValue() / divisor); }

  // To the next multiple of the step in the direction, skipping one closer than a tenth of
  // the step, clamped to the range; an empty field goes to the minimum (or 0 when the range
  // spans 0 and empty values are allowed). A step of 0 does nothing.
  void Step(int direction) override;

  // As TEditNumber::CanClose, with a decimal point allowed and characters 0 to 30 selected.
  bool CanClose() override;

protected:
  bool AcceptsChar(char16_t c) override;

private:
  float minimum;
  float maximum;
  float step;
  int decimals = 5;
  bool allowEmpty = false;
};

// value as "%g" writes it; where "%g" would use an exponent, in fixed notation with the given
// decimals (6 when negative), trailing zeros dropped.
std::string FormatRealFieldText(float value, int decimals);

}  // namespace kvt
