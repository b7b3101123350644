#include "utils/text_case.h"

#include <cstring>

namespace kvt {

namespace {

// Invalid UTF-8 bytes decode above the last code point, so they never fold and sort last.
constexpr char32_t kInvalidByteBase = 0x110000;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one character at p (not at the terminator) and advances p past it.
char32_t DecodeUtf8(const unsigned char*& p) {
  const unsigned char lead = *p;
  if (lead < 0x80) {
    ++p;
    return lead;
  }
  int trail = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trail = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trail = 2;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trail = 3;
    value = lead & 0x07;
  } else {
    ++p;
    return kInvalidByteBase + lead;
  }
  // A terminator is not a continuation byte, so this never reads past the text.
  for (int k = 1; k <= trail; ++k) {
    if (!IsContinuation(p[k])) {
      ++p;
      return kInvalidByteBase + lead;
    }
    value = (value << 6) | (p[k] & 0x3F);
  }
  p += trail + 1;
  return value;
}

char32_t DecodeUtf16(const char16_t*& p) {
  const char16_t unit = *p++;
  if (unit >= 0xD800 && unit <= 0xDBFF && *p >= 0xDC00 && *p <= 0xDFFF) {
    const char32_t low = *p++;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
  }
  return unit;
}

int Order(char32_t a, char32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

const unsigned char* Bytes(const char* text) {
  return reinterpret_cast<const unsigned char*>(text ? text : "");
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;
  if (c < 0x100 || c > 0x17E) return c;
  if (c == 0x178) return 0xFF;
  // Latin Extended-A pairs capital and small letters as even/odd, except in the two runs
  // Ĺ-ň and Ź-ž where the capital is odd; ı (0x131) and ĸ (0x138) have no partner here.
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;
  return (c & 1) ? c : c + 1;
}

int CompareTextIgnoreCase(const char* a, const char* b) {
  const unsigned char* p = Bytes(a);
  const unsigned char* q = Bytes(b);
  while (*p && *q) {
    const int order = Order(FoldCase(DecodeUtf8(p)), FoldCase(DecodeUtf8(q)));
    if (order != 0) return order;
  }
  return (*p ? 1 : 0) - (*q ? 1 : 0);
}

int CompareWideIgnoreCase(const char16_t* a, const char16_t* b) {
  const char16_t* p = a ? a : u"";
  const char16_t* q = b ? b : u"";
  while (*p && *q) {
    const int order = Order(FoldCase(DecodeUtf16(p)), FoldCase(DecodeUtf16(q)));
    if (order != 0) return order;
  }
  return (*p ? 1 : 0) - (*q ? 1 : 0);
}

bool TextEquals(const char* a, const char* b, bool ignoreCase) {
  if (ignoreCase) return CompareTextIgnoreCase(a, b) == 0;
  return std::strcmp(a ? a : "", b ? b : "") == 0;
}

namespace {

// Whether the text at p begins with part, ignoring case.
bool MatchesAt(const unsigned char* p, const unsigned char* part) {
  while (*part) {
    if (!*p) return false;
    if (FoldCase(DecodeUtf8(p)) != FoldCase(DecodeUtf8(part))) return false;
  }
  return true;
}

}  // namespace

bool StartsWithIgnoreCase(const char* text, const char* prefix) {
  return MatchesAt(Bytes(text), Bytes(prefix));
}

const char* FindTextIgnoreCase(const char* text, const char* part) {
  if (!text || !part) return nullptr;
  const unsigned char* p = Bytes(text);
  const unsigned char* wanted = Bytes(part);
  for (;;) {
    if (MatchesAt(p, wanted)) return reinterpret_cast<const char*>(p);
    if (!*p) return nullptr;
    DecodeUtf8(p);
  }
}

}  // namespace kvt
