#pragma once
// The music-font profile: how the glyph table of the music font "KVT2STDA" is drawn with
// Bravura (SMuFL). Every glyph call and every text in the music font goes through it.
//
// - Each glyph index 0..81 maps to a SMuFL code point, an extra baseline offset (spaces,
//   device y downwards) that puts the SMuFL origin where the table means the glyph to sit, and
//   a scale (the tempo-mark notes are drawn at text size, not staff size).
// - Advances and boxes are Bravura's metadata in staff spaces, compiled in at build time.
// - Bravura's em is 4 staff spaces: a glyph drawn at em e is e / 4 pixels per space.
// - Indexes 0, 1, 35 and 51 draw nothing (1 is the blank head and the blank of music text);
//   50, the editor's anchor mark, has no SMuFL twin and is drawn as an arrowhead outline.
// Data only; thread-safe.

#include <cstdint>
#include <string_view>

namespace kvt {

inline constexpr int kMusicGlyphCount = 82;
inline constexpr int kAnchorGlyph = 50;
inline constexpr int kBlankHeadGlyph = 1;
// The music font's em in staff spaces.
inline constexpr int kMusicEmSpaces = 4;
inline constexpr char kMusicFontFamily[] = "Bravura";

// A box in staff spaces, SMuFL orientation (y upwards from the origin).
struct TGlyphBox {
  double swX = 0;
  double swY = 0;
  double neX = 0;
  double neY = 0;
};

struct TMusicGlyph {
  std::string_view name;  // SMuFL name; empty for the anchor outline
  char32_t codePoint = 0;  // 0: nothing to draw
  uint8_t code = 0;        // the table's one-byte character code
  double advance = 0;      // spaces, scale applied
  double dy = 0;           // spaces, scale applied
  double scale = 1;
  TGlyphBox box;           // spaces, scale applied
  bool visible() const { return codePoint != 0; }
};

// The glyph of index; null outside 0..81 (the automatic accidental 82 among others).
const TMusicGlyph* MusicGlyphAt(int index);
// The time-signature digit 0..9 of music text (clamped).
const TMusicGlyph& MusicDigitGlyph(int digit);
// The glyph that music text draws for one UTF-16 unit: digits are time-signature digits;
// other characters name the table code they carry (0xF020..0xF0FF as the private-range form
// of code 0x20..0xFF, and the Windows-1252 characters of the codes 0x80..0x9F folded back).
// Null for a character no glyph has: it draws nothing and advances one blank head.
const TMusicGlyph* MusicTextGlyph(char16_t ch);
// The unscaled box of a code point the profile draws (an empty box for any other).
TGlyphBox MusicGlyphBoxOf(char32_t codePoint);
// The advance of a blank head, in spaces (what an unknown character of music text takes).
double MusicBlankAdvance();

// The anchor mark's outline in spaces from its origin (device y downwards): an arrowhead
// pointing up, `kAnchorPointCount` points.
inline constexpr int kAnchorPointCount = 3;
struct TSpacePoint {
  double x;
  double y;
};
extern const TSpacePoint kAnchorOutline[kAnchorPointCount];
inline constexpr double kAnchorAdvance = 1.0;

}  // namespace kvt
