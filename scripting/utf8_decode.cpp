#include "scripting/utf8_decode.h"

#include <string_view>

#include "utils/text_encoding.h"

namespace kvt {

size_t DecodeUtf8Char(const char* p, const char* end, uint32_t& code) {
  char32_t value = 0;
  const size_t length = DecodeUtf8Scalar(std::string_view(p, static_cast<size_t>(end - p)), value);
  code = length ? value : kBadByteBase + static_cast<unsigned char>(*p);
  return length ? length : 1;
}

const char* PrevUtf8Char(const char* start, const char* p) {
  // A lead byte is never a continuation byte, so the character before p is the valid sequence
  // that ends exactly at p, if one does, and otherwise the single byte before p.
  for (size_t back = 2; back <= 4 && static_cast<size_t>(p - start) >= back; ++back) {
    const char* lead = p - back;
    uint32_t code = 0;
    if ((static_cast<unsigned char>(*lead) & 0xC0) == 0x80) continue;
    return DecodeUtf8Char(lead, p, code) == back ? lead : p - 1;
  }
  return p - 1;
}

bool AppendUtf8Char(std::string& out, uint32_t code) {
  if (IsBadByteCode(code)) {
    out.push_back(static_cast<char>(code - kBadByteBase));
  } else if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x200000) {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x4000000) {
    out.push_back(static_cast<char>(0xF8 | (code >> 24)));
    for (int shift = 18; shift >= 0; shift -= 6)
      out.push_back(static_cast<char>(0x80 | ((code >> shift) & 0x3F)));
  } else if (code <= 0x7FFFFFFF) {
    out.push_back(static_cast<char>(0xFC | (code >> 30)));
    for (int shift = 24; shift >= 0; shift -= 6)
      out.push_back(static_cast<char>(0x80 | ((code >> shift) & 0x3F)));
  } else {
    return false;
  }
  return true;
}

}  // namespace kvt
