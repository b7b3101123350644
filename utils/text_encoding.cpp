#include "utils/text_encoding.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kvt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 character at text[i]; advances i past it. Malformed input (overlong forms,
// surrogates, values past U+10FFFF, cut sequences) yields U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view text, size_t& i) {
  auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + extra >= text.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k <= extra; ++k) {
    auto b = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(b)) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += extra + 1;
  return cp;
}

const char* NativeUtf16Name() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// One converter per thread and direction: iconv descriptors carry state and opening them is slow.
class AnsiConverter {
public:
  AnsiConverter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~AnsiConverter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
  AnsiConverter(const AnsiConverter&) = delete;
  AnsiConverter& operator=(const AnsiConverter&) = delete;

  bool Ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  // Converts one unit of `inBytes` bytes; false when iconv cannot map it.
  bool ConvertOne(const void* in, size_t inBytes, void* out, size_t& outBytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(static_cast<const char*>(in));
    char* dst = static_cast<char*>(out);
    size_t left = inBytes;
    size_t room = outBytes;
    if (iconv(cd, &src, &left, &dst, &room) == static_cast<size_t>(-1) || left != 0) return false;
    outBytes -= room;
    return true;
  }

private:
  iconv_t cd;
};

AnsiConverter& AnsiToWide() {
  thread_local AnsiConverter converter(NativeUtf16Name(), "WINDOWS-1252");
  return converter;
}

AnsiConverter& WideToAnsi() {
  thread_local AnsiConverter converter("WINDOWS-1252", NativeUtf16Name());
  return converter;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  AnsiConverter& conv = AnsiToWide();
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80 || b >= 0xA0 || !conv.Ok()) {
      out.push_back(b);  // ASCII and Latin-1 map to themselves
      continue;
    }
    char16_t unit = 0;
    size_t outBytes = sizeof unit;
    // The five bytes Windows-1252 leaves undefined pass through as their C1 control values.
    out.push_back(conv.ConvertOne(&c, 1, &unit, outBytes) && outBytes == 2 ? unit : b);
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  AnsiConverter& conv = WideToAnsi();
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // nothing outside the basic plane exists in Windows-1252
      out.push_back('?');
      continue;
    }
    char byte = 0;
    size_t outBytes = 1;
    if (conv.Ok() && conv.ConvertOne(&u, sizeof u, &byte, outBytes) && outBytes == 1) {
      out.push_back(byte);
    } else if (u >= 0x80 && u < 0xA0) {
      out.push_back(static_cast<char>(u));  // the undefined bytes, back as they came
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace

std::u16string MultiByteToUtf16(int codePage, std::string_view text) {
  if (codePage != 65001) return AnsiToUtf16(text);
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

std::string Utf16ToMultiByte(int codePage, std::u16string_view text) {
  if (codePage != 65001) return Utf16ToAnsi(text);
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    char32_t cp = u;
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

size_t Utf8PrefixLength(std::string_view text, size_t maxBytes) {
  if (maxBytes >= text.size()) return text.size();
  size_t n = maxBytes;
  // Step back over continuation bytes so the cut lands before a character's lead byte.
  while (n > 0 && IsContinuation(static_cast<unsigned char>(text[n]))) --n;
  return n;
}

size_t Utf8CompleteLength(std::string_view text) {
  size_t lead = text.size();
  while (lead > 0 && text.size() - lead < 4 &&
         IsContinuation(static_cast<unsigned char>(text[lead - 1]))) {
    --lead;
  }
  if (lead == 0) return text.size();
  auto b = static_cast<unsigned char>(text[lead - 1]);
  size_t need = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 1;
  return text.size() - (lead - 1) < need ? lead - 1 : text.size();
}

size_t Utf16PrefixLength(std::u16string_view text, size_t maxUnits) {
  if (maxUnits >= text.size()) return text.size();
  if (maxUnits > 0 && IsHighSurrogate(text[maxUnits - 1]) && IsLowSurrogate(text[maxUnits])) {
    return maxUnits - 1;
  }
  return maxUnits;
}

}  // namespace kvt
