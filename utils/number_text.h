#pragma once
// Numbers as text, independent of the locale: what printf and scanf give in the "C" locale.

#include <cstdint>
#include <string>

namespace kvt {

// "%0<width>.<decimals>f": fixed notation, zero-padded after the sign to at least width
// characters (non-finite values are padded with blanks, as printf does). A negative decimals
// means 6, as printf takes a negative precision.
std::string FormatFixed(double value, int decimals, int width = 0);
// "%.<precision>g" (precision 0 counts as 1, negative as 6).
std::string FormatGeneral(double value, int precision = 6);

// As scanf "%f" in the "C" locale: leading white space, an optional sign, then a decimal
// number, "inf", "infinity" or "nan"; the longest such prefix is taken and the rest ignored.
// Overflow gives an infinity and underflow zero, both with the sign. False, with value
// untouched, when the text does not begin with a number (null included).
bool ParseRealPrefix(const char* text, float& value);

// A whole text that IsNumberText accepts without a decimal point (blanks around, an optional
// sign, digits) as a 32-bit integer. False, with value untouched, for any other text and for
// values outside the 32-bit range.
bool ParseIntText(const char* text, int32_t& value);

}  // namespace kvt
