#pragma once
// Character classes and the number-text test. Texts are UTF-8; the classes are ASCII only, so
// no byte of a multi-byte character is ever a digit or a letter.

namespace kvt {

// '0' to '9'.
bool IsCharDigit(char c);
// ASCII letters and digits.
bool IsCharAlphaNum(char c);

// True when the text holds at least one digit and otherwise only: one sign (+ or -) before
// any digit and the point; one decimal point when allowDecimal is set; blanks, but nothing
// else after a blank that follows a digit or the point (so "1 2" and "1 ." are refused,
// " -12 " is a number). A null text is not a number.
bool IsNumberText(const char* text, bool allowDecimal);

}  // namespace kvt
