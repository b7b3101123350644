#pragma once
// The texts and glyphs that the other item kinds are drawn with: the ending's numbers, the MPC
// label, the tempo mark's pieces, the flow direction's pieces and the tempo variance's glyph.
// All plain ASCII, except where a text of the item itself (tempo text) is carried through.

#include <string>

namespace kvt {

class TSpecialEnding;
class TGenericControl;
class TTempoData;
class TFlowDirection;
class TTempoVariance;

inline constexpr int kGlyphSegno = 33;
inline constexpr int kGlyphCoda = 34;
inline constexpr int kGlyphFermata = 36;
inline constexpr int kGlyphFermataBelow = 37;
inline constexpr int kGlyphBreathMark = 38;
inline constexpr int kGlyphCaesura = 39;
inline constexpr int kGlyphTempoNoteFirst = 27;

struct TEndingText {
  std::string numbers;  // " 1.2." : a blank, then "%u." for each set ending 1..7
  std::string marks;  // with marks: "..." when no numbered ending is set, then "D." for the default
};
TEndingText BuildEndingText(const TSpecialEnding& ending, bool withMarks);

// "[mpc:%s]" with the controller's short name ("?" for a controller outside the table).
std::string MpcLabel(const TGenericControl& control);

struct TTempoMarkParts {
  bool hasText = false;  // the tempo's own text, then " (" precede the note
  int noteGlyph = 0;     // 27 + base / 2
  std::string tail;      // "." or " ", "=", the tempo, ")" after a text
};
// A base outside 0..5 reads as Quarter.
TTempoMarkParts BuildTempoMark(const TTempoData& tempo);

struct TFlowParts {
  std::string main;           // "Coda", "D.S." ...; empty for Segno
  std::string suffix;         // " al Coda", " al Fine" or empty
  int symbol = 0;             // 33 segno, 34 coda, 0 none
  bool symbolCounts = false;  // the symbol and suffix count in the width
};
// A style outside 0..9 has no text and no symbol.
TFlowParts BuildFlowParts(const TFlowDirection& flow);

// The glyph a tempo variance draws (0 for the styles drawn as text); a fermata at position
// 1.0 or below the staff's middle turns over.
int TempoVarianceGlyph(const TTempoVariance& variance, float position);

}  // namespace kvt
