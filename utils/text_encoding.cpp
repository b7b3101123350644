#include "utils/text_encoding.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
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
  char32_t cp = 0;
  const size_t length = DecodeUtf8Scalar(text.substr(i), cp);
  i += length ? length : 1;
  return length ? cp : kReplacement;
}

const char* NativeUtf16Name() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// The iconv name of a Windows code page; 0 (the ANSI code page) and unknown pages read as
// Windows-1252.
std::string IconvName(int codePage) {
  if ((codePage >= 1250 && codePage <= 1258) || codePage == 874)
    return "WINDOWS-" + std::to_string(codePage);
  switch (codePage) {
    case 437: case 737: case 775: case 850: case 852: case 855: case 857: case 860: case 861:
    case 862: case 863: case 864: case 865: case 866: case 869: case 932: case 936: case 949:
    case 950: case 1361:
      return "CP" + std::to_string(codePage);
    default:
      return "WINDOWS-1252";
  }
}

// One converter per thread, code page and direction: iconv descriptors carry state and
// opening them is slow.
class CodePageConverter {
public:
  CodePageConverter(const std::string& to, const std::string& from)
      : cd(iconv_open(to.c_str(), from.c_str())) {}
  ~CodePageConverter() {
    if (Ok()) iconv_close(cd);
  }
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  bool Ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  // Converts from *in (advancing it past what was used) into out; false when iconv stopped at
  // a byte sequence it cannot map or that breaks off.
  bool Convert(const char*& in, size_t& inBytes, char* out, size_t& outBytes) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* dst = out;
    size_t room = outBytes;
    const bool ok = iconv(cd, &src, &inBytes, &dst, &room) != static_cast<size_t>(-1);
    in = src;
    outBytes -= room;
    return ok;
  }

private:
  iconv_t cd;
};

CodePageConverter& ConverterFor(int codePage, bool toWide) {
  thread_local std::map<std::pair<std::string, bool>, std::unique_ptr<CodePageConverter>> open;
  const std::string name = IconvName(codePage);
  std::unique_ptr<CodePageConverter>& converter = open[{name, toWide}];
  if (!converter)
    converter = toWide ? std::make_unique<CodePageConverter>(NativeUtf16Name(), name)
                       : std::make_unique<CodePageConverter>(name, NativeUtf16Name());
  return *converter;
}

bool IsWindows1252(int codePage) { return IconvName(codePage) == "WINDOWS-1252"; }

std::u16string CodePageToUtf16(int codePage, std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  CodePageConverter& conv = ConverterFor(codePage, true);
  const bool latin = IsWindows1252(codePage);
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80 || !conv.Ok()) {
      out.push_back(b);
      ++i;
      continue;
    }
    // One character at a time: a lead byte and its trail byte in the double-byte pages.
    char16_t units[4] = {};
    bool done = false;
    for (size_t length = 1; length <= 2 && i + length <= text.size() && !done; ++length) {
      const char* in = text.data() + i;
      size_t left = length;
      size_t outBytes = sizeof units;
      if (conv.Convert(in, left, reinterpret_cast<char*>(units), outBytes) && left == 0 &&
          outBytes >= 2) {
        out.append(units, outBytes / 2);
        i += length;
        done = true;
      }
    }
    if (done) continue;
    // The five bytes Windows-1252 leaves undefined pass through as their C1 control values;
    // elsewhere a byte no character starts with is a replacement character.
    out.push_back(latin && b < 0xA0 ? b : static_cast<char16_t>(kReplacement));
    ++i;
  }
  return out;
}

std::string Utf16ToCodePage(int codePage, std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  CodePageConverter& conv = ConverterFor(codePage, false);
  const bool latin = IsWindows1252(codePage);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    size_t units = 1;
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) units = 2;
    char bytes[8];
    size_t outBytes = sizeof bytes;
    const char* in = reinterpret_cast<const char*>(text.data() + i);
    size_t left = units * 2;
    if (conv.Ok() && conv.Convert(in, left, bytes, outBytes) && left == 0 && outBytes > 0) {
      out.append(bytes, outBytes);
    } else if (latin && u >= 0x80 && u < 0xA0) {
      out.push_back(static_cast<char>(u));  // the undefined bytes, back as they came
    } else {
      out.push_back('?');  // as the text's platform writes what a code page cannot hold
    }
    i += units - 1;
  }
  return out;
}

}  // namespace

size_t DecodeUtf8Scalar(std::string_view text, char32_t& cp) {
  if (text.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t extra = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, value = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, value = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, value = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (extra >= text.size()) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[k]);
    if (!IsContinuation(b)) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  cp = value;
  return extra + 1;
}

std::u16string MultiByteToUtf16(int codePage, std::string_view text) {
  if (codePage != 65001) return CodePageToUtf16(codePage, text);
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) AppendUtf16(out, DecodeUtf8(text, i));
  return out;
}

std::string Utf16ToMultiByte(int codePage, std::u16string_view text) {
  if (codePage != 65001) return Utf16ToCodePage(codePage, text);
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
