#pragma once
// The logical-font records that font descriptions convert to and from: the narrow record
// carries its face name in UTF-8, the wide one in UTF-16. Drawing turns them into real fonts.

#include <cstdint>

namespace kvt {

inline constexpr int kLogFontFaceSize = 32;  // bytes or units, with the terminator
inline constexpr uint8_t kDefaultCharSet = 1;

// One record for both face encodings: Char is char (UTF-8) or char16_t (UTF-16).
template <typename Char>
struct TBasicLogFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  Char faceName[kLogFontFaceSize] = {};
};

using TLogFont = TBasicLogFont<char>;
using TLogFontW = TBasicLogFont<char16_t>;

// The code page of a font character set (SYMBOL_CHARSET counts as 1252); fallback for the
// character sets without one of their own.
int CodePageOfCharSet(int charSet, int fallback);

// Copies the numeric fields, converts the face from UTF-8 (at most 31 units, never half a
// surrogate pair) and sets the character set to kDefaultCharSet.
void LogFontToWide(TLogFontW& out, const TLogFont& in);
// Copies the numeric fields and converts the face to UTF-8, cut to 31 bytes on a character
// boundary.
void LogFontFromWide(TLogFont& out, const TLogFontW& in);

}  // namespace kvt
