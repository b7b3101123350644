// The QPainter context keeps measured texts and music glyph lookups for its life: whatever
// came before in the same context, a measure or a glyph comes out as on a fresh context.
#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "platform/music_font_loader.h"
#include "platform/qpainter_context.h"

namespace kvt {
namespace {

TDcFont TextFont(double pixelSize, int weight = 400, bool italic = false) {
  TDcFont f;
  f.face = "DejaVu Sans";
  f.pixelSize = pixelSize;
  f.weight = weight;
  f.italic = italic;
  return f;
}

TTextMetrics MeasureFresh(const TDcFont& font, std::u16string_view text) {
  QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
  TQPainterContext dc(image);
  dc.SetFont(font);
  return dc.MeasureText(text);
}

TEST(QPainterContextTest, RepeatedMeasuresFollowTheFontAndText) {
  struct TCase {
    TDcFont font;
    std::u16string text;
  };
  // The same texts in fonts that measure differently, interleaved and repeated.
  const std::vector<TCase> cases = {
      {TextFont(12), u"la"},
      {TextFont(24), u"la"},
      {TextFont(12, 700), u"la"},
      {TextFont(12, 400, true), u"lu"},
      {TextFont(12), u"lalala"},
      {TextFont(12), u"la"},
      {TextFont(24), u"la"},
      {TextFont(12), u""},
      {TextFont(12), u"\u00e9t\u00e9"},
      {TextFont(24), u"lalala"},
  };
  QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
  TQPainterContext dc(image);
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < cases.size(); ++i) {
      dc.SetFont(cases[i].font);
      const TTextMetrics got = dc.MeasureText(cases[i].text);
      const TTextMetrics want = MeasureFresh(cases[i].font, cases[i].text);
      EXPECT_EQ(got.width, want.width) << round << " " << i;
      EXPECT_EQ(got.ascent, want.ascent) << round << " " << i;
      EXPECT_EQ(got.descent, want.descent) << round << " " << i;
      EXPECT_EQ(got.height, want.height) << round << " " << i;
    }
  }
  EXPECT_GT(MeasureFresh(TextFont(24), u"la").width, MeasureFresh(TextFont(12), u"la").width);
}

QImage Blank() {
  QImage image(160, 160, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

struct TGlyph {
  char32_t codePoint;
  double x;
  double y;
  double em;
};

void Draw(TQPainterContext& dc, const TGlyph& g) { dc.DrawMusicGlyph(g.codePoint, g.x, g.y, g.em); }

TEST(QPainterContextTest, GlyphsOfMixedSizesDrawAsOnFreshContexts) {
  ASSERT_TRUE(LoadMusicFont());
  // Note heads and clefs at full, cue and a large size, each size and glyph met again later.
  const std::vector<TGlyph> glyphs = {
      {0xE0A4, 10, 40, 40},  {0xE0A4, 60, 40, 28},   {0xE050, 100, 80, 40}, {0xE0A2, 10, 120, 60},
      {0xE050, 60, 140, 28}, {0xE0A4, 120, 140, 40}, {0xE0A2, 110, 40, 28},
  };
  for (bool outlines : {false, true}) {
    QImage together = Blank();
    {
      TQPainterContext dc(together, outlines);
      for (const TGlyph& g : glyphs) Draw(dc, g);
    }
    QImage apart = Blank();
    for (const TGlyph& g : glyphs) {
      TQPainterContext dc(apart, outlines);
      Draw(dc, g);
    }
    EXPECT_TRUE(together == apart) << "outlines " << outlines;
    EXPECT_FALSE(together == Blank());
  }
}

}  // namespace
}  // namespace kvt
