#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "draw/coord_limits.h"
#include "draw/music_draw_settings.h"
#include "draw/music_font_profile.h"
#include "tests/draw/draw_fixture.h"

namespace kvt {
namespace {

using testing::TDrawFixture;

class DrawingPrimitivesTest : public TDrawFixture {};

TEST_F(DrawingPrimitivesTest, GlyphBaselineOffsets) {
  struct Case {
    int size;
    int glyph;
    int tableOffset;  // at space 12
  } cases[] = {
      {0, 7, 0},   {0, 15, 24}, {1, 16, 16},  // 2 x 24 / 3
      {0, 17, 36}, {0, 18, 48}, {0, 19, -3}, {1, 19, -2}, {0, 41, -3}, {0, 49, -3},
      {0, 20, 1},  {0, 28, 8},  {0, 75, 8},  {0, 30, 12}, {1, 30, 8}, {0, 45, -6},
      {0, 81, 9},  {0, 2, 0},
  };
  for (const Case& c : cases) {
    Draw(12);
    const int width = fonts->DrawGlyph(c.size, c.glyph, 100, 200);
    const TMusicGlyph* g = MusicGlyphAt(c.glyph);
    const double scaled = c.size == 1 ? 8.0 : 12.0;
    ASSERT_EQ(Glyphs().size(), 1u) << c.glyph;
    const TRecordedOp& op = *Glyphs()[0];
    EXPECT_EQ(op.codePoint, g->codePoint);
    // The table's offset plus the profile's correction for Bravura's origin.
    EXPECT_NEAR(op.origin.y, 200 + c.tableOffset + g->dy * scaled, 1e-9) << c.glyph;
    EXPECT_EQ(width, c.size == 1 ? fonts->GetGlyphWidth(c.glyph) * 2 / 3 : fonts->GetGlyphWidth(c.glyph));
    EXPECT_DOUBLE_EQ(op.em, fonts->GetMusicEm(c.size) * g->scale);
  }
}

TEST_F(DrawingPrimitivesTest, DoubleFlatMovesLeftByAQuarterOfItsWidthPlusOne) {
  Draw(12);
  const int w = fonts->DrawGlyph(0, 43, 100, 0);
  EXPECT_DOUBLE_EQ(Glyphs()[0]->origin.x, 100 - (w / 4 + 1));
}

TEST_F(DrawingPrimitivesTest, UpFlagsStartAtTheStemsLeftEdge) {
  Draw(12);
  fonts->DrawGlyph(0, 15, 100, 0);
  EXPECT_DOUBLE_EQ(Glyphs()[0]->origin.x, 100 - fonts->GetStemThickness());
}

TEST_F(DrawingPrimitivesTest, AnchorMarkIsAFilledArrowhead) {
  Draw(12);
  const int w = fonts->DrawGlyph(0, kAnchorGlyph, 100, 0);
  EXPECT_EQ(w, 12);
  EXPECT_TRUE(Glyphs().empty());
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_FALSE(Paths()[0]->brush.hollow);
  EXPECT_EQ(Paths()[0]->bounds.top, 13 * 12 / 8 + 1 - 9 - 1);  // apex 3/4 space above
}

TEST_F(DrawingPrimitivesTest, LineWidthsFollowTheDirection) {
  Draw(12);  // stem thickness 2, staff line 1
  ASSERT_EQ(fonts->GetStemThickness(), 2);
  ASSERT_EQ(fonts->GetStaffLineThickness(), 1);
  fonts->DrawLine(0, 0, 0, 50);
  fonts->DrawLine(0, 0, 50, 0);
  fonts->DrawLine(0, 0, 50, 50);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[0]->pen.width, 2);
  EXPECT_EQ(paths[1]->pen.width, 1);
  EXPECT_EQ(paths[2]->pen.width, 2);  // (2 + 1 + 1) / 2
  // The colour's own pen is back after the line.
  EXPECT_EQ(dc.Pen().width, 1);
}

TEST_F(DrawingPrimitivesTest, StrokedLineIsOnePixelLinesCentred) {
  Draw(24);  // stem thickness 3
  ASSERT_EQ(fonts->GetStemThickness(), 3);
  fonts->DrawStrokedLine(10, 0, 10, 40);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.x, 9);
  EXPECT_DOUBLE_EQ(LineOf(*paths[2]).first.x, 11);
}

TEST_F(DrawingPrimitivesTest, LedgerLines) {
  struct Case {
    int from;
    int to;
    std::vector<int> ys;  // space 10, origin 0
  } cases[] = {
      {5, 9, {30, 40}},
      {-5, -9, {-30, -40}},
      {6, 6, {30}},
      {6, 10, {30, 40, 50}},
  };
  for (const Case& c : cases) {
    Draw(10);
    fonts->DrawLedgerLines(0, c.from, c.to, 20);
    std::vector<int> ys;
    for (const TRecordedOp* op : Paths()) ys.push_back(static_cast<int>(LineOf(*op).first.y));
    EXPECT_EQ(ys, c.ys) << c.from << " to " << c.to;
  }
}

TEST_F(DrawingPrimitivesTest, DashPeriods) {
  struct Case {
    int period;
    size_t dashes;
  } cases[] = {{10, 5}, {40, 2}, {1, 41}, {0, 41}, {-3, 41}, {std::numeric_limits<int>::max(), 1}};
  for (const Case& c : cases) {
    Draw(10);
    fonts->DrawDashedThickVertical(2, 0, 0, 40, c.period);
    const auto paths = Paths();
    EXPECT_EQ(paths.size(), c.dashes) << c.period;
    for (const TRecordedOp* op : paths) {
      EXPECT_GE(LineOf(*op).first.y, 0);
      EXPECT_LE(LineOf(*op).second.y, 40);
      EXPECT_EQ(op->pen.cap, TPenCap::kFlat);
    }
  }
  Draw(10);
  fonts->DrawDashedThickVertical(2, 0, 0, 40, 10);
  EXPECT_DOUBLE_EQ(LineOf(*Paths()[1]).first.y, 7);  // centred on 10, 3 each side
  EXPECT_DOUBLE_EQ(LineOf(*Paths()[1]).second.y, 13);
}

TEST_F(DrawingPrimitivesTest, ThickVerticalAsRectangleWhenSet) {
  SetBarLineDrawType(1);
  Draw(10);
  fonts->DrawThickVertical(5, 10, 40, 0);
  SetBarLineDrawType(0);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[1]->bounds.left, 10 - 1);
  EXPECT_EQ(paths[1]->bounds.right, 15 + 1);
  EXPECT_FALSE(paths[1]->brush.hollow);
  Draw(10);
  fonts->DrawThickVertical(5, 10, 0, 40);
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_DOUBLE_EQ(LineOf(*Paths()[0]).first.x, 12);
  EXPECT_EQ(Paths()[0]->pen.width, 5);
}

TEST_F(DrawingPrimitivesTest, StaffLinesAndEdges) {
  Draw(10);
  fonts->DrawStaffLines(0, 100, 5, true);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 7u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(LineOf(*paths[i]).first.y, -20 + 10 * i);
    EXPECT_DOUBLE_EQ(LineOf(*paths[i]).second.x, 100 - (1 / 2 + 1));
  }
  EXPECT_DOUBLE_EQ(LineOf(*paths[5]).first.y, -20);
  EXPECT_DOUBLE_EQ(LineOf(*paths[6]).second.y, 20);
}

TEST_F(DrawingPrimitivesTest, DottedArrowHasAHeadOnlyBeyondASpace) {
  Draw(12);
  fonts->DrawDottedArrow(4, 0, 0, 10);
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_EQ(Paths()[0]->pen.style, TPenStyle::kDot);
  Draw(12);
  fonts->DrawDottedArrow(4, 0, 0, 40);
  EXPECT_EQ(Paths().size(), 3u);
}

TEST_F(DrawingPrimitivesTest, TextAlignmentKinds) {
  Draw(10);
  fonts->DrawTextW(3, 0, 50, 0, u"ab");  // fixed measures: 20-pixel font, 20 high
  fonts->DrawTextW(3, 1, 50, 0, u"ab");
  fonts->DrawTextW(3, 7, 50, 0, u"ab");
  fonts->DrawText(3, 0, 50, 0, "");
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_DOUBLE_EQ(texts[0]->origin.y, -10 + 16);  // middle at the position: top at -10
  EXPECT_DOUBLE_EQ(texts[1]->origin.y, 0);
  EXPECT_DOUBLE_EQ(texts[2]->origin.x, 50 - 10);    // centred
  EXPECT_EQ(fonts->GetBoldTextWidthW(u""), 0);
  EXPECT_EQ(fonts->GetBoldTextWidthW(u"ab"), 20);
}

TEST_F(DrawingPrimitivesTest, MusicTextMeasuresFromMetadata) {
  Draw(10);
  // Two time-signature digits: 1.88 + 1.336 spaces; five spaces high.
  const TTextMetrics m = fonts->GetTextSizeW(0, u"01");
  EXPECT_EQ(m.width, std::lround((1.88 + 1.336) * 10));
  EXPECT_EQ(m.height, 50);
  // An unknown character advances one blank head and draws nothing.
  EXPECT_EQ(fonts->GetTextWidthW(0, u"\u4e00"), std::lround(MusicBlankAdvance() * 10));
  fonts->DrawTextW(0, 1, 0, 0, u"4\u4e00x");
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0]->codePoint, U'\uE084');
  EXPECT_EQ(glyphs[1]->codePoint, U'\uE047');  // inline segno, scaled to the text
  EXPECT_LT(glyphs[1]->em, 40);
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// Coordinates from scripts and damaged scores reach the primitives unchecked: they are
// clamped into the drawable range instead of overflowing (found by fuzzing).
TEST_F(DrawingPrimitivesTest, CoordinatesAtTheIntegerLimitsAreClamped) {
  Draw(10);
  const int big = std::numeric_limits<int>::max() - 16;
  fonts->DrawLedgerLines(big, 0, 2, big);
  fonts->DrawBarLine(9, big, -big, big);
  fonts->DrawStemUp(big, big, 0, 7, -big, 4, 0);
  fonts->DrawTie(big, true, -big, big);
  fonts->DrawBeams(-big, big, big, -big, 1, false, 3);
  fonts->SetStaffOrigin(big);
  fonts->DrawGlyphAtStep(0, 7, big, big);
  ASSERT_FALSE(dc.Ops().empty());
  EXPECT_LE(dc.Extents().right, 2 * kCoordLimit);
  EXPECT_GE(dc.Extents().left, -2 * kCoordLimit);
}

}  // namespace
}  // namespace kvt
