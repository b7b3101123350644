#include "utils/text_edit.h"

#include <cstring>

namespace kvt {

namespace {

constexpr char kBlanks[] = " \t\r\n";
constexpr char16_t kWideBlanks[] = u" \t\r\n";

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool InSet(char c, const char* set) { return c != 0 && IsAscii(c) && std::strchr(set, c); }

bool InWideSet(char16_t c, const char16_t* set) {
  if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) return false;
  for (const char16_t* s = set; *s; ++s) {
    if (*s == c) return true;
  }
  return false;
}

size_t WideLength(const char16_t* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

char* ReplaceChars(char* text, const char* pairs, int count) {
  if (!text || !pairs) return text;
  char* out = text;
  for (const char* in = text; *in; ++in) {
    char c = *in;
    bool keep = true;
    if (IsAscii(c)) {
      for (int k = 0; k < count; ++k) {
        if (pairs[2 * k] == c) {
          keep = pairs[2 * k + 1] != 0;
          c = pairs[2 * k + 1];
          break;
        }
      }
    }
    if (keep) *out++ = c;
  }
  *out = 0;
  return text;
}

char* CollapseRepeats(char* text, const char* set) {
  if (!text || !set) return text;
  char* out = text;
  for (const char* in = text; *in; ++in) {
    if (out > text && *in == out[-1] && InSet(*in, set)) continue;
    *out++ = *in;
  }
  *out = 0;
  return text;
}

char* TrimLeft(char* text) { return TrimLeft(text, kBlanks); }
char* TrimRight(char* text) { return TrimRight(text, kBlanks); }
char* TrimSpaces(char* text) { return TrimSpaces(text, kBlanks); }

char* TrimLeft(char* text, const char* set) {
  if (!text || !set) return text;
  const char* p = text;
  while (InSet(*p, set)) ++p;
  if (p != text) std::memmove(text, p, std::strlen(p) + 1);
  return text;
}

char* TrimRight(char* text, const char* set) {
  if (!text || !set) return text;
  size_t n = std::strlen(text);
  while (n > 0 && InSet(text[n - 1], set)) --n;
  text[n] = 0;
  return text;
}

char* TrimSpaces(char* text, const char* set) { return TrimLeft(TrimRight(text, set), set); }

char16_t* TrimWideLeft(char16_t* text) { return TrimWideLeft(text, kWideBlanks); }
char16_t* TrimWideRight(char16_t* text) { return TrimWideRight(text, kWideBlanks); }

char16_t* TrimWideLeft(char16_t* text, const char16_t* set) {
  if (!text || !set) return text;
  const char16_t* p = text;
  while (InWideSet(*p, set)) ++p;
  if (p != text) std::memmove(text, p, (WideLength(p) + 1) * sizeof(char16_t));
  return text;
}

char16_t* TrimWideRight(char16_t* text, const char16_t* set) {
  if (!text || !set) return text;
  size_t n = WideLength(text);
  while (n > 0 && InWideSet(text[n - 1], set)) --n;
  text[n] = 0;
  return text;
}

}  // namespace kvt
