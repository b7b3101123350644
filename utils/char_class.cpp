#include "utils/char_class.h"

namespace kvt {

bool IsCharDigit(char c) { return c >= '0' && c <= '9'; }

bool IsCharAlphaNum(char c) {
  return IsCharDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNumberText(const char* text, bool allowDecimal) {
  if (!text) return false;
  bool digit = false;
  bool sign = false;
  bool point = false;
  bool closed = false;  // a blank followed a digit or the point: only blanks may follow
  for (const char* p = text; *p; ++p) {
    const char c = *p;
    if (c == ' ') {
      if (digit || point) closed = true;
      continue;
    }
    if (closed) return false;
    if (IsCharDigit(c)) {
      digit = true;
    } else if (c == '+' || c == '-') {
      if (sign || digit || point) return false;
      sign = true;
    } else if (c == '.') {
      if (!allowDecimal || point) return false;
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace kvt
