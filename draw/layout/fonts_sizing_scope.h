#pragma once
// TFontsSizingScope: a sizing phase of the music fonts for the length of a scope, so that
// layout can measure whether or not a drawing phase is open (sizing phases nest in both).

#include "draw/music_fonts.h"

namespace kvt {

class TFontsSizingScope {
public:
  explicit TFontsSizingScope(TMusicFonts& fonts) : fonts(fonts) { fonts.BeginSizing(); }
  ~TFontsSizingScope() { fonts.EndSizing(); }
  TFontsSizingScope(const TFontsSizingScope&) = delete;
  TFontsSizingScope& operator=(const TFontsSizingScope&) = delete;

private:
  TMusicFonts& fonts;
};

}  // namespace kvt
