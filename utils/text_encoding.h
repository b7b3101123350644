#pragma once
// Conversions between UTF-16 (char16_t) and the code pages scores carry: UTF-8 (65001), the
// Windows code pages 1250 to 1258 and 874, the double-byte pages 932, 936, 949, 950 and 1361,
// and the DOS pages (through iconv). 0 (the ANSI code page) and unknown pages are Windows-1252.
// Invalid input never fails: a malformed UTF-8 sequence, a lone surrogate or a byte no character
// of the page starts with becomes U+FFFD (Windows-1252's five undefined bytes pass as their C1
// controls), and a character a code page cannot hold is written as "?".

#include <cstddef>
#include <string>
#include <string_view>

namespace kvt {

std::u16string MultiByteToUtf16(int codePage, std::string_view text);
std::string Utf16ToMultiByte(int codePage, std::u16string_view text);

inline std::u16string Utf8ToUtf16(std::string_view text) { return MultiByteToUtf16(65001, text); }
inline std::string Utf16ToUtf8(std::u16string_view text) { return Utf16ToMultiByte(65001, text); }

// The length (1 to 4) of the complete, shortest-form UTF-8 sequence of a Unicode scalar value
// at the start of text, its value in cp; 0 (cp unchanged) when the bytes there begin none.
size_t DecodeUtf8Scalar(std::string_view text, char32_t& cp);

// The longest prefix of at most maxBytes bytes that ends on a UTF-8 character boundary.
size_t Utf8PrefixLength(std::string_view text, size_t maxBytes);
// The length of text without a trailing, incomplete UTF-8 sequence (what a cut left behind).
size_t Utf8CompleteLength(std::string_view text);
// The longest prefix of at most maxUnits units that does not split a surrogate pair.
size_t Utf16PrefixLength(std::u16string_view text, size_t maxUnits);

}  // namespace kvt
