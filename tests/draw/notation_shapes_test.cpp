#include <gtest/gtest.h>

#include <algorithm>

#include "draw/music_font_profile.h"
#include "tests/draw/draw_fixture.h"

namespace kvt {
namespace {

using testing::TDrawFixture;

class NotationShapesTest : public TDrawFixture {};

TEST_F(NotationShapesTest, StemLengths) {
  struct Case {
    const char* what;
    int direction, position, size, flags, explicitLength;
    int endY;  // space 10, origin 0
  } cases[] = {
      {"quarter on the middle line, up", +1, 0, 0, 0, 0, -35},
      {"step 6 up reaches the middle line, never less than 3.5 spaces", +1, 6, 0, 0, 0, 30 - 35},
      {"step 12 up reaches the middle line", +1, 12, 0, 0, 0, 0},
      {"step -6 up is shortened", +1, -6, 0, 0, 0, -30 - (35 - 6)},
      {"eighth up", +1, 0, 0, 1, 0, -35},
      {"sixteenth down", -1, 0, 0, 2, 0, 26 + 15},
      {"64th up", +1, 0, 0, 4, 0, -(20 + 7 + 4 + 15)},
      {"explicit length", +1, 0, 0, 0, 10, -50},
      {"explicit length below the minimum", +1, 0, 0, 3, 1, -(20 + 5 + 2)},
      {"grace quarter", +1, 0, 1, 0, 0, -23},
      {"absurd flags and lengths are bounded", +1, 0, 0, 1000, 0, -(20 + 7 + 4 + 15)},
  };
  Build(10);
  for (const Case& c : cases) {
    EXPECT_EQ(fonts->GetStemEndY(c.direction, c.position, c.size, c.flags, c.explicitLength), c.endY) << c.what;
  }
}

TEST_F(NotationShapesTest, StemAttachOffsets) {
  Build(20);  // stem pen width 2: s - pen = 18
  struct Case {
    int size, glyph, direction, offset;
  } cases[] = {
      {0, 7, +1, 3},  {0, 7, -1, 0},  {0, 6, +1, 3}, {0, 54, +1, 9}, {0, 57, +1, -9},
      {0, 58, -1, 9}, {0, 63, +1, -9}, {0, 71, -1, -5}, {0, 5, +1, 0}, {1, 54, +1, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fonts->GetStemAttachOffset(c.size, c.glyph, c.direction), c.offset) << c.glyph;
  }
}

TEST_F(NotationShapesTest, StemUpWithFlagStandsRightOfTheHead) {
  Draw(20);
  fonts->DrawStemUp(100, 0, 0, 7, 0, 1, 0);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 1u);
  const int head = fonts->GetGlyphWidth(7);
  const int pen = fonts->GetStemPenWidth();
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.x, 100 + head + 1 - pen / 2);
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.y, -fonts->GetStemAttachOffset(0, 7, 1));
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).second.y, fonts->GetStemEndY(1, 0, 0, 1, 0));
  ASSERT_EQ(Glyphs().size(), 1u);
  EXPECT_EQ(Glyphs()[0]->codePoint, U'\uE240');
}

TEST_F(NotationShapesTest, BeamsAreParallelograms) {
  Draw(10);
  fonts->DrawBeams(0, 0, 100, -20, +1, false, 2);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  const auto second = PointsOf(*paths[1]);
  const int g = -fonts->GetStemThickness() / 2;
  EXPECT_DOUBLE_EQ(second[0].y, g + 10);
  EXPECT_DOUBLE_EQ(second[1].y, g + 10 + 5);
  EXPECT_DOUBLE_EQ(second[2].y, -20 + g + 10 + 5);
  EXPECT_FALSE(paths[1]->brush.hollow);
}

TEST_F(NotationShapesTest, BarLineWidths) {
  Build(10);  // W 12, t 1, e 3, r 4
  const std::pair<int, int> cases[] = {{0, 1},  {1, 5},   {2, 1},  {3, 5},  {4, 12}, {5, 12}, {6, 12},
                                       {7, 12}, {8, 19}, {9, 19}, {10, 1}, {11, 0}, {12, 7}, {13, 24},
                                       {-1, 0}, {99, 0}};
  fonts->BeginSizing();
  for (auto [kind, width] : cases) EXPECT_EQ(fonts->GetBarLineWidth(kind), width) << kind;
  fonts->EndSizing();
  EXPECT_EQ(fonts->GetRepeatDotOffset(), 7);
}

TEST_F(NotationShapesTest, BarStrokesAndDots) {
  struct Case {
    int kind;
    size_t strokes;
    size_t dots;
  } cases[] = {{0, 1, 0}, {1, 2, 0}, {4, 2, 0}, {6, 2, 1}, {9, 2, 1}, {10, 0, 0}, {12, 0, 1}, {13, 3, 0}};
  for (const Case& c : cases) {
    Draw(10);
    fonts->DrawBarLine(c.kind, 0, -4, 4);
    EXPECT_EQ(Paths().size(), c.strokes) << c.kind;
    EXPECT_EQ(Glyphs().size(), c.dots) << c.kind;
  }
}

TEST_F(NotationShapesTest, OneLineStaffBarSpansFourSteps) {
  Draw(10);
  fonts->DrawBarLine(0, 0, -1, 1);
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_DOUBLE_EQ(LineOf(*Paths()[0]).first.y, -10);
  EXPECT_DOUBLE_EQ(LineOf(*Paths()[0]).second.y, 10);
}

TEST_F(NotationShapesTest, TieHeightGrowsOverTenHeads) {
  struct Case {
    int xa, xb;
    bool below;
    int outerY;  // space 10, W 12, base y moved a quarter space
  } cases[] = {
      {0, 100, false, -2 - (8 + 1 + 1)},  // 8 heads: 4/5 space inner height
      {200, 0, false, -2 - (10 + 1 + 1)},  // 16 heads, either order
      {0, 100, true, 2 + 8 + 1 + 1},
  };
  for (const Case& c : cases) {
    Draw(10);
    fonts->DrawTie(0, c.below, c.xa, c.xb);
    ASSERT_EQ(Paths().size(), 1u);
    const auto points = PointsOf(*Paths()[0]);
    EXPECT_EQ(points.size(), 13u);
    double outer = points[0].y;
    for (const TDcPointF& p : points) outer = c.below ? std::max(outer, p.y) : std::min(outer, p.y);
    EXPECT_DOUBLE_EQ(outer, c.outerY) << c.xa << "-" << c.xb;
    EXPECT_DOUBLE_EQ(points.front().x, std::min(c.xa, c.xb));
    EXPECT_EQ(Paths()[0]->paint, TPathPaint::kStrokeAndFill);
  }
}

TEST_F(NotationShapesTest, BraceHalvesMeetAtTheMiddle) {
  Draw(10);
  fonts->DrawBrace(100, 0, 200, false);
  const auto paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  const int w = fonts->GetGlyphWidth(7);
  const int d = 2 * w / 5 + 1;
  const int right = 100 - d, left = right + d - 2 * w;
  for (const TRecordedOp* op : paths) {
    const auto points = PointsOf(*op);
    ASSERT_EQ(points.size(), 7u);
    EXPECT_DOUBLE_EQ(points[0].x, left);
    EXPECT_DOUBLE_EQ(points[0].y, 100);
    EXPECT_DOUBLE_EQ(points[3].x, right);
    EXPECT_DOUBLE_EQ(points[6].y, 100);
  }
  EXPECT_DOUBLE_EQ(PointsOf(*paths[0])[3].y, 0);
  EXPECT_DOUBLE_EQ(PointsOf(*paths[1])[3].y, 200);
  Draw(10);
  fonts->DrawBrace(100, 0, 200, true);
  EXPECT_DOUBLE_EQ(PointsOf(*Paths()[0])[3].x, right - w / 2);
}

TEST_F(NotationShapesTest, SlurIsOneClosedFigureOfTwoCurves) {
  Draw(16);
  fonts->DrawSlurCurve(TQuadCurve(0, 0, 60, -30, 120, 0), false, false);
  ASSERT_EQ(Paths().size(), 1u);
  const auto points = PointsOf(*Paths()[0]);
  ASSERT_EQ(points.size(), 7u);
  EXPECT_DOUBLE_EQ(points[1].y, -20);
  EXPECT_DOUBLE_EQ(points[5].y, -(30 + 5) * 2 / 3);  // control moved up by 5 x 16 / 16
  EXPECT_EQ(Paths()[0]->pen.width, 16 / 24 + 1);
}

TEST_F(NotationShapesTest, HairpinOpensAtTheRightEndForCrescendo) {
  Draw(12);
  fonts->DrawHairpinLines(1, 0, 100, 0, true);
  auto paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.x, 0);
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.y, -(8 / 6));
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).second.y, -8);
  Draw(12);
  fonts->DrawHairpinLines(2, 0, 1000, 0, false);
  paths = Paths();
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).first.x, 1000);
  EXPECT_DOUBLE_EQ(LineOf(*paths[0]).second.y, -9);  // longer than 40 spaces
}

TEST_F(NotationShapesTest, ExpressionAnchorWidth) {
  Draw(10);
  EXPECT_EQ(fonts->DrawExpressionAnchor(0, 0, 1), fonts->GetGlyphWidth(kAnchorGlyph));
  fonts->SetShapeOption(20);
  EXPECT_EQ(fonts->DrawExpressionAnchor(0, 0, 0), 2 * 6 + 2);  // MulDiv(20, 12, 40)
  fonts->SetShapeOption(1 << 30);
  EXPECT_GT(fonts->DrawExpressionAnchor(0, 0, 2), 0);
}

TEST_F(NotationShapesTest, EditorMarksStayNearTheirPoint) {
  Draw(20);
  fonts->DrawMarkerWedge(100, 0, 8, 7);
  fonts->DrawGapRuler(4, 0, 100, 1 << 30, false);
  fonts->DrawVerticalArrow(4, 100, 0, 8);
  fonts->DrawUserObjectMarker(100, 0, 50, 5);
  fonts->DrawBarNumber(100, 0, 2, 12);
  fonts->DrawMultiBarRest(0, 200, u"12", -6, true);
  EXPECT_GE(dc.Extents().left, -1);
  EXPECT_FALSE(dc.Extents().IsEmpty());
  // The ruler's ticks stop at 398.
  EXPECT_LT(dc.Ops().size(), 500u);
}

}  // namespace
}  // namespace kvt
