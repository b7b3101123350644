#pragma once
// Numbers of the score text format, written and read the same under every locale: integers as
// "%d", reals as "%g" (six significant digits, no trailing zeros) and margins as "%1.2f", all
// in the form printf gives in the "C" locale, built on std::to_chars / std::from_chars.

#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

// Appends "%d" of the value.
void AppendIntText(std::string& out, int64_t value);
// Appends "%g" of the value; a negative zero is written as "0".
void AppendRealText(std::string& out, double value);
// Appends "%1.2f" of the value; a negative zero is written as "0.00".
void AppendFixed2Text(std::string& out, double value);

// The integer at the start of the text as "%d" reads it: leading blanks and tabs, an optional
// sign, at least one digit; the text after the digits is ignored. A value beyond the 32-bit
// range saturates and sets *overflow (when given). False when there are no digits.
bool ParseIntValue(std::string_view text, int32_t& value, bool* overflow = nullptr);

// The real number at the start of the text as "%f" reads it: leading blanks and tabs, an
// optional sign, then a decimal number with optional exponent; the rest is ignored. False
// when there is no number or it is not finite (infinities and NaN are never taken from text).
bool ParseRealValue(std::string_view text, double& value);

}  // namespace kvt
