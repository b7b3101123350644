#pragma once
// UTF-8 decoding for the script string functions. Every byte that does not begin a complete,
// shortest-form sequence of a Unicode scalar value is one character of its own (a "bad byte"),
// whose code is 0xDC00 + the byte: a lone-surrogate value, so it never equals a real
// character, and writing it back gives the byte it came from.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvt {

inline constexpr uint32_t kBadByteBase = 0xDC00;

// The code of the character at p (p < end) and its length in bytes (1 to 4).
size_t DecodeUtf8Char(const char* p, const char* end, uint32_t& code);
// The start of the character that ends at p (start < p), as forward decoding from start finds.
const char* PrevUtf8Char(const char* start, const char* p);
// Appends the character of `code`: a bad-byte code as its byte, other codes up to 0x7FFFFFFF
// in the (extended) UTF-8 form. False for a code above that.
bool AppendUtf8Char(std::string& out, uint32_t code);
inline bool IsBadByteCode(uint32_t code) { return code >= kBadByteBase + 0x80 && code <= kBadByteBase + 0xFF; }

}  // namespace kvt
