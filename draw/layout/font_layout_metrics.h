#pragma once
// TFontLayoutMetrics: the layout's widths answered by a score's music fonts. The fonts are
// not owned and must outlive the metrics.

#include "draw/layout/layout_metrics.h"
#include "draw/music_fonts.h"

namespace kvt {

class TFontLayoutMetrics final : public TLayoutMetrics {
public:
  explicit TFontLayoutMetrics(const TMusicFonts& fonts) : fonts(&fonts) {}
  int GlyphWidth(int sizeIndex, int glyph) const override {
    return fonts->GetScaledGlyphWidth(sizeIndex, glyph);
  }
  int AccidentalColumnWidth(int sizeIndex) const override {
    return fonts->GetAccidentalColumnWidth(sizeIndex);
  }
  int Space() const override { return fonts->GetSpace() < 2 ? 2 : fonts->GetSpace(); }

private:
  const TMusicFonts* fonts;
};

}  // namespace kvt
