#include "scripting/utf8_decode.h"

namespace kvt {

size_t DecodeUtf8Char(const char* p, const char* end, uint32_t& code) {
  const auto* s = reinterpret_cast<const unsigned char*>(p);
  const size_t avail = static_cast<size_t>(end - p);
  const unsigned c = s[0];
  if (c < 0x80) {
    code = c;
    return 1;
  }
  size_t n = 0;
  uint32_t value = 0;
  uint32_t minimum = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2, value = c & 0x1F, minimum = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3, value = c & 0x0F, minimum = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4, value = c & 0x07, minimum = 0x10000;
  }
  if (n != 0 && n <= avail) {
    size_t i = 1;
    for (; i < n && (s[i] & 0xC0) == 0x80; ++i) value = (value << 6) | (s[i] & 0x3F);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (i == n && value >= minimum && value <= 0x10FFFF && !surrogate) {
      code = value;
      return n;
    }
  }
  code = kBadByteBase + c;
  return 1;
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
