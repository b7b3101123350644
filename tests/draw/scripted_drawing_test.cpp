#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "draw/music_font_profile.h"
#include "tests/draw/draw_fixture.h"

namespace kvt {
namespace {

using testing::TDrawFixture;

class ScriptedDrawingTest : public TDrawFixture {
protected:
  TDrawPenSpec Pen(int style, int width, TColorRef color) {
    TDrawPenSpec pen;
    pen.SetStyle(style);
    pen.SetWidth(width);
    pen.SetColor(color);
    return pen;
  }
};

TEST_F(ScriptedDrawingTest, PenRealisation) {
  struct Case {
    int style, width;
    bool geometric;
    TPenStyle drawn;
    int drawnWidth;
  } cases[] = {
      {0, 3, true, TPenStyle::kSolid, 3},
      {0, 2, false, TPenStyle::kSolid, 2},
      {2, 1, true, TPenStyle::kDot, 1},
      {7, 0, true, TPenStyle::kDashDot, 1},  // style keeps 2 bits, width at least 1
      {0, 1 << 30, true, TPenStyle::kSolid, TDrawPenSpec::kMaxWidth},
  };
  for (const Case& c : cases) {
    Draw(10);
    const TDrawPenSpec pen = Pen(c.style, c.width, 0x0000FF);
    EXPECT_EQ(pen.IsGeometric(), c.geometric);
    fonts->ApplyPen(pen);
    fonts->MoveTo(0, 0);
    fonts->LineTo(50, 0);
    ASSERT_EQ(Paths().size(), 1u);
    EXPECT_EQ(Paths()[0]->pen.style, c.drawn);
    EXPECT_EQ(Paths()[0]->pen.width, c.drawnWidth);
    EXPECT_EQ(Paths()[0]->pen.color, 0x0000FFu);
  }
}

TEST_F(ScriptedDrawingTest, PenColourFromTheTable) {
  Draw(10);
  TDrawPenSpec pen;
  fonts->SetPenColorIndex(pen, 9);
  EXPECT_EQ(pen.Color(), colors.GetColor(9));
  fonts->SetColorIndex(12);
  fonts->SetPenColorIndex(pen, 0);
  EXPECT_EQ(pen.Color(), colors.GetColor(12));
}

TEST_F(ScriptedDrawingTest, PathsKeepOneFigureAndOnePen) {
  Draw(10);
  fonts->ApplyPen(Pen(0, 4, 0x00FF00));
  fonts->BeginPath();
  fonts->MoveTo(0, 0);
  fonts->LineTo(10, 0);
  fonts->BeginPath();  // ignored: one path
  fonts->ApplyPen(Pen(0, 9, 0xFF0000));
  fonts->LineTo(10, 4);
  fonts->CloseFigure();
  EXPECT_TRUE(dc.Ops().empty());
  fonts->EndPath(true, true);
  ASSERT_EQ(Paths().size(), 1u);
  const TRecordedOp& op = *Paths()[0];
  EXPECT_EQ(op.paint, TPathPaint::kStrokeAndFill);
  EXPECT_EQ(op.path.Elements().size(), 4u);  // move, line, line, close
  // Realised when the path ends, with the pen set meanwhile.
  EXPECT_EQ(op.pen.width, 9);
  EXPECT_EQ(op.brush.color, 0xFF0000u);
  EXPECT_TRUE(dc.Brush().hollow);
  fonts->EndPath(false, false);  // no path: nothing
  EXPECT_EQ(Paths().size(), 1u);
  fonts->BeginPath();
  fonts->LineTo(5, 5);
  fonts->AbortPath();
  fonts->EndPath(false, false);
  EXPECT_EQ(Paths().size(), 1u);
}

TEST_F(ScriptedDrawingTest, FillWithoutStroke) {
  Draw(10);
  fonts->BeginPath();
  fonts->MoveTo(0, 0);
  fonts->LineTo(10, 2);
  fonts->LineTo(0, 4);
  fonts->EndPath(false, true);
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_EQ(Paths()[0]->paint, TPathPaint::kFill);
}

TEST_F(ScriptedDrawingTest, BezierPointCounts) {
  struct Case {
    std::vector<double> xy;
    bool drawn;
    TDcPointF c1, c2, end;
  } cases[] = {
      {{30, 2}, false, {}, {}, {}},
      {{30, -4, 60, 0}, true, {20, -13}, {40, -13}, {60, 0}},  // quadratic from (0, 0)
      {{1, 1, 2, 2, 30, -4, 40, -4, 60, 0}, true, {30, -20}, {40, -20}, {60, 0}},
  };
  for (const Case& c : cases) {
    Draw(10);
    fonts->MoveTo(0, 0);
    fonts->Bezier(c.xy);
    ASSERT_EQ(Paths().size(), c.drawn ? 1u : 0u) << c.xy.size() / 2;
    if (!c.drawn) continue;
    const TDcPath::TElement& curve = Paths()[0]->path.Elements().back();
    ASSERT_EQ(curve.kind, TDcPath::TKind::kCubic);
    EXPECT_DOUBLE_EQ(curve.p[0].x, c.c1.x);
    EXPECT_DOUBLE_EQ(curve.p[0].y, c.c1.y);
    EXPECT_DOUBLE_EQ(curve.p[1].x, c.c2.x);
    EXPECT_DOUBLE_EQ(curve.p[2].y, c.end.y);
    int x = 0;
    float position = 0;
    fonts->GetCurrentPoint(x, position);
    EXPECT_EQ(x, 60);
    EXPECT_FLOAT_EQ(position, 0);
  }
}

TEST_F(ScriptedDrawingTest, CentredTextAtOrientation900MovesSideways) {
  Draw(10);
  TLogFont font{};
  std::snprintf(font.faceName, sizeof font.faceName, "%s", "Liberation Sans");
  font.height = -20;
  font.orientation = 900;
  fonts->SetUserFont(font);
  fonts->MoveTo(100, 0);
  fonts->DrawTextWide(u"abc", 0x1000, 1);
  ASSERT_EQ(Texts().size(), 1u);
  // Half the 20-pixel height to the left; top alignment then reaches 16 (the ascent) along
  // the text's downward direction, which points right at 90 degrees.
  EXPECT_NEAR(Texts()[0]->origin.x, 100 - 10 + 16, 1e-9);
  EXPECT_NEAR(Texts()[0]->origin.y, 0, 1e-9);
  int x = 0;
  float position = 0;
  fonts->GetCurrentPoint(x, position);
  // The point advanced along the rotated baseline (upwards) by the width, 30.
  EXPECT_EQ(x, 100);
  EXPECT_FLOAT_EQ(position, -6);
}

TEST_F(ScriptedDrawingTest, PointAfterText) {
  Draw(10);
  TLogFont font{};
  std::snprintf(font.faceName, sizeof font.faceName, "%s", "Liberation Serif");
  font.height = -20;
  fonts->SetUserFont(font);
  fonts->MoveTo(10, 2);
  fonts->DrawTextUtf8("ab\xff", 0, 2);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0]->text, u"ab\uFFFD");  // invalid UTF-8 becomes U+FFFD
  EXPECT_TRUE(dc.BackgroundTransparent());  // restored after the opaque text
  int x = 0;
  float position = 0;
  fonts->GetCurrentPoint(x, position);
  EXPECT_EQ(x, 10 + 30);
  EXPECT_FLOAT_EQ(position, 2);
  int width = 0;
  float height = 0, descent = 0;
  fonts->CalcTextSize("ab", width, height, descent);
  EXPECT_EQ(width, 20);
  EXPECT_FLOAT_EQ(height, 4);
  EXPECT_FLOAT_EQ(descent, 0.8f);
}

TEST_F(ScriptedDrawingTest, MusicFaceTextDrawsGlyphs) {
  Draw(10);
  fonts->SetUserFontFromSlot(0, 100);
  EXPECT_STREQ(fonts->GetUserFont().faceName, "KVT2STDA");
  fonts->MoveTo(0, 0);
  fonts->DrawTextWide(u"k\uF06B", 24, 1);
  ASSERT_EQ(Glyphs().size(), 2u);
  EXPECT_EQ(Glyphs()[0]->codePoint, U'\uE0A4');
  EXPECT_EQ(Glyphs()[1]->codePoint, U'\uE0A4');
  EXPECT_TRUE(Texts().empty());
}

TEST_F(ScriptedDrawingTest, NonFiniteNumbersAreRefusedAndHugeOnesClamped) {
  Draw(10);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  fonts->MoveTo(0, 0);
  fonts->LineTo(nan, 0);
  fonts->LineTo(0, inf);
  fonts->Ellipse(inf, 1);
  fonts->MoveBy(nan, 0);
  const double curve[6] = {1, 1, nan, 2, 3, 3};
  fonts->Curve(curve);
  EXPECT_TRUE(dc.Ops().empty());
  fonts->LineTo(1e300, -1e300);
  fonts->Ellipse(1e300, 1e300);
  fonts->RoundRect(1e300, 1, 1e300);
  fonts->RectangleFromHere(-1e300, 1e300);
  EXPECT_EQ(Paths().size(), 4u);
  EXPECT_LE(dc.Extents().right, 4'000'000);
}

TEST_F(ScriptedDrawingTest, NothingOutsideADrawingPhase) {
  Build(10);
  fonts->BeginPath();
  fonts->MoveTo(0, 0);
  fonts->LineTo(1, 1);
  fonts->DrawTextWide(u"x", 0, 1);
  EXPECT_FALSE(fonts->IsPathOpen());
  EXPECT_TRUE(dc.Ops().empty());
}

TEST_F(ScriptedDrawingTest, HintLineIsDottedAndLeavesNoPen) {
  Draw(10);
  fonts->MoveTo(0, 0);
  fonts->HintLine(6, 40, 0);
  ASSERT_EQ(Paths().size(), 1u);
  EXPECT_EQ(Paths()[0]->pen.style, TPenStyle::kDot);
  EXPECT_EQ(dc.Pen().style, TPenStyle::kNull);
}

}  // namespace
}  // namespace kvt
