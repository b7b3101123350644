#include "scripting/unicode_chars.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <cctype>

#include "scripting/utf8_decode.h"

namespace kvt {

namespace {

// The C library's Unicode tables, independent of the program's own locale setting.
locale_t UnicodeLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0)) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
    return l;
  }();
  return locale;
}

bool IsUnicode(uint32_t c) { return c >= 128 && c <= 0x10FFFF && !IsBadByteCode(c); }

bool InClass(uint32_t c, int lower, bool asciiOnly) {
  if (c < 128) {
    const int b = static_cast<int>(c);
    switch (lower) {
      case 'a': return std::isalpha(b);
      case 'c': return std::iscntrl(b);
      case 'd': return std::isdigit(b);
      case 'g': return std::isgraph(b);
      case 'l': return std::islower(b);
      case 'p': return std::ispunct(b);
      case 's': return std::isspace(b);
      case 'u': return std::isupper(b);
      case 'w': return std::isalnum(b);
      case 'x': return std::isxdigit(b);
    }
    return false;
  }
  const locale_t l = UnicodeLocale();
  if (asciiOnly || !IsUnicode(c) || l == static_cast<locale_t>(0)) return false;
  const auto w = static_cast<wint_t>(c);
  switch (lower) {
    case 'a': return iswalpha_l(w, l);
    case 'c': return iswcntrl_l(w, l);
    case 'd': return iswdigit_l(w, l);
    case 'g': return iswgraph_l(w, l);
    case 'l': return iswlower_l(w, l);
    case 'p': return iswpunct_l(w, l);
    case 's': return iswspace_l(w, l);
    case 'u': return iswupper_l(w, l);
    case 'w': return iswalnum_l(w, l);
    case 'x': return false;  // hexadecimal digits are ASCII only
  }
  return false;
}

uint32_t MapCase(uint32_t c, wint_t (*map)(wint_t, locale_t), int (*ascii)(int)) {
  if (c < 128) return static_cast<uint32_t>(ascii(static_cast<int>(c)));
  const locale_t l = UnicodeLocale();
  if (!IsUnicode(c) || l == static_cast<locale_t>(0)) return c;
  return static_cast<uint32_t>(map(static_cast<wint_t>(c), l));
}

struct TRange {
  uint32_t first;
  uint32_t last;
};

// East Asian ambiguous-width characters that scripts meet most (Latin-1 signs, Greek,
// Cyrillic, general punctuation, arrows, mathematical signs, box drawing, shapes).
constexpr TRange kAmbiguous[] = {
    {0x00A1, 0x00A1}, {0x00A4, 0x00A4}, {0x00A7, 0x00A8}, {0x00AA, 0x00AA}, {0x00AD, 0x00AE},
    {0x00B0, 0x00B4}, {0x00B6, 0x00BA}, {0x00BC, 0x00BF}, {0x00C6, 0x00C6}, {0x00D0, 0x00D0},
    {0x00D7, 0x00D8}, {0x00DE, 0x00E1}, {0x00E6, 0x00E6}, {0x00E8, 0x00EA}, {0x00EC, 0x00ED},
    {0x00F0, 0x00F0}, {0x00F2, 0x00F3}, {0x00F7, 0x00FA}, {0x00FC, 0x00FC}, {0x00FE, 0x00FE},
    {0x0391, 0x03A9}, {0x03B1, 0x03C9}, {0x0401, 0x0401}, {0x0410, 0x044F}, {0x0451, 0x0451},
    {0x2010, 0x2010}, {0x2013, 0x2016}, {0x2018, 0x2019}, {0x201C, 0x201D}, {0x2020, 0x2022},
    {0x2024, 0x2027}, {0x2030, 0x2030}, {0x2032, 0x2033}, {0x2035, 0x2035}, {0x203B, 0x203B},
    {0x20AC, 0x20AC}, {0x2103, 0x2103}, {0x2109, 0x2109}, {0x2116, 0x2116}, {0x2121, 0x2122},
    {0x2160, 0x216B}, {0x2170, 0x2179}, {0x2190, 0x2199}, {0x21D2, 0x21D2}, {0x21D4, 0x21D4},
    {0x2200, 0x22FF}, {0x2460, 0x24E9}, {0x2500, 0x257F}, {0x2580, 0x25FF}, {0x2605, 0x2606},
    {0x2609, 0x2609}, {0x260E, 0x260F}, {0x2640, 0x2640}, {0x2642, 0x2642}, {0x2660, 0x266F},
    {0xE000, 0xF8FF}, {0xFFFD, 0xFFFD},
};

bool InRanges(uint32_t c, const TRange* begin, const TRange* end) {
  for (const TRange* r = begin; r != end; ++r) {
    if (c >= r->first && c <= r->last) return true;
  }
  return false;
}

int AsciiTitle(int c) { return std::toupper(c); }

wint_t TitleCase(wint_t c, locale_t l) {
  static const wctrans_t title = wctrans_l("totitle", UnicodeLocale());
  return title != static_cast<wctrans_t>(0) ? towctrans_l(c, title, l) : towupper_l(c, l);
}

}  // namespace

bool MatchPatternClass(uint32_t c, uint32_t cl, bool asciiOnly) {
  if (cl >= 128) return c == cl;
  const int letter = static_cast<int>(cl);
  const int lower = std::tolower(letter);
  switch (lower) {
    case 'a': case 'c': case 'd': case 'g': case 'l':
    case 'p': case 's': case 'u': case 'w': case 'x': {
      const bool in = InClass(c, lower, asciiOnly);
      return std::isupper(letter) ? !in : in;
    }
  }
  return c == cl;
}

uint32_t UnicodeToUpper(uint32_t c) { return MapCase(c, towupper_l, ::toupper); }
uint32_t UnicodeToLower(uint32_t c) { return MapCase(c, towlower_l, ::tolower); }
uint32_t UnicodeToTitle(uint32_t c) { return MapCase(c, TitleCase, AsciiTitle); }
uint32_t UnicodeFold(uint32_t c) { return UnicodeToLower(c); }

int UnicodeWidth(uint32_t c, bool ambiguousIsDouble, int defaultWidth) {
  if (IsBadByteCode(c) || c > 0x10FFFF) return 1;
  if (ambiguousIsDouble && InRanges(c, std::begin(kAmbiguous), std::end(kAmbiguous))) return 2;
  const locale_t l = UnicodeLocale();
  if (c < 128 || l == static_cast<locale_t>(0)) {
    return c >= 0x20 && c < 0x7F ? 1 : (c < 128 ? defaultWidth : 1);
  }
  const locale_t saved = uselocale(l);
  const int w = wcwidth(static_cast<wchar_t>(c));
  uselocale(saved);
  return w < 0 ? defaultWidth : w;
}

}  // namespace kvt
