#pragma once
// TMusicFontsMetrics: the layout metrics answered by a score's music fonts (glyph widths from
// the font profile, the accidental column and the staff space). The fonts are not owned and
// must outlive the adapter.

#include "draw/layout/layout_metrics.h"
#include "draw/music_fonts.h"

namespace kvt {

class TMusicFontsMetrics final : public TLayoutMetrics {
public:
  explicit TMusicFontsMetrics(const TMusicFonts& fonts) : fonts(&fonts) {}

  int GlyphWidth(int sizeIndex, int glyph) const override { return fonts->GetScaledGlyphWidth(sizeIndex, glyph); }
  int AccidentalColumnWidth(int sizeIndex) const override { return fonts->GetAccidentalColumnWidth(sizeIndex); }
  int Space() const override { return fonts->GetSpace(); }
  int RepeatDotOffset() const override { return fonts->GetRepeatDotOffset(); }

private:
  const TMusicFonts* fonts;
};

}  // namespace kvt
