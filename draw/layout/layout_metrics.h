#pragma once
// TLayoutMetrics: the widths that layout measures with: music glyph widths at a size, the
// accidental column width and the staff-line spacing, all in logical units of the output.
// The score layout answers them from its music fonts; tests answer them from a fixed table.
// Glyph indexes outside the glyph table measure 0; size index 1 is the two-thirds size.

namespace kvt {

// Glyph-table entries the layout of notes, rests and chords measures with.
inline constexpr int kGlyphWholeHead = 5;
inline constexpr int kGlyphHalfHead = 6;
inline constexpr int kGlyphFilledHead = 7;  // the width unit of horizontal layout
inline constexpr int kGlyphFlat = 8;
inline constexpr int kGlyphSharp = 9;
inline constexpr int kGlyphNatural = 10;
inline constexpr int kGlyphFlag = 15;
inline constexpr int kGlyphDot = 19;
inline constexpr int kGlyphFirstRest = 20;  // 20 + duration code
inline constexpr int kGlyphDoubleSharp = 42;
inline constexpr int kGlyphDoubleFlat = 43;

class TLayoutMetrics {
public:
  virtual ~TLayoutMetrics() = default;
  virtual int GlyphWidth(int sizeIndex, int glyph) const = 0;
  virtual int AccidentalColumnWidth(int sizeIndex) const = 0;
  // The staff-line spacing (two steps); at least 2.
  virtual int Space() const = 0;
  // How far a repeat bar line's dots stand from its edge.
  virtual int RepeatDotOffset() const = 0;

  // The filled note head at full size: the width unit.
  int UnitWidth() const { return GlyphWidth(0, kGlyphFilledHead); }
};

}  // namespace kvt
