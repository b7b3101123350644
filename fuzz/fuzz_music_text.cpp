// Music text as any UTF-16: every unit maps to a glyph or to a blank advance, measures and
// draws in the music font on a recording context, and the measured width matches the drawn
// advance.
#include <cstddef>
#include <cstdint>
#include <string>

#include "draw/music_font_profile.h"
#include "draw/recording_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  for (char16_t ch : text) {
    const kvt::TMusicGlyph* glyph = kvt::MusicTextGlyph(ch);
    if (glyph != nullptr && glyph->advance < 0) __builtin_trap();
  }
  kvt::TRecordingContext dc;
  kvt::TDcFont font;
  font.music = true;
  font.pixelSize = size > 0 ? 1 + data[0] : 40;
  dc.SetFont(font);
  dc.SetTextAlign(kvt::kAlignUpdateCp | kvt::kAlignBaseline);
  const kvt::TTextMetrics m = dc.MeasureText(text);
  dc.TextOut(0, 0, text);
  if (m.width < 0 || dc.CurrentPoint().x != m.width) __builtin_trap();
  return 0;
}
