#pragma once
// Character properties for the script string functions: the pattern classes, case mapping and
// display width. Codes below 128 follow the C locale's ASCII rules (as Lua's own string
// functions do); other characters follow Unicode through the C library's "C.UTF-8" tables
// (ASCII only when that locale is missing). Bad-byte codes (utf8_decode.h) are in no class,
// map to themselves and are one column wide.

#include <cstdint>

namespace kvt {

// The pattern class letter cl ('a', 'c', 'd', 'g', 'l', 'p', 's', 'u', 'w', 'x', or the upper
// case for the complement): whether c is in it. Any other letter: whether c equals it. With
// asciiOnly every code above 127 is in no class (the byte functions).
bool MatchPatternClass(uint32_t c, uint32_t cl, bool asciiOnly);

uint32_t UnicodeToUpper(uint32_t c);
uint32_t UnicodeToLower(uint32_t c);
uint32_t UnicodeToTitle(uint32_t c);
// Simple case folding.
uint32_t UnicodeFold(uint32_t c);

// Display columns: 2 for wide and full-width characters (and for ambiguous ones when
// ambiguousIsDouble), 0 for combining marks, defaultWidth for unprintable characters, 1 else.
int UnicodeWidth(uint32_t c, bool ambiguousIsDouble, int defaultWidth);

}  // namespace kvt
