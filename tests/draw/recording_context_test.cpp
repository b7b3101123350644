#include "draw/recording_context.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(RecordingContextTest, ExtentsCoverWhatWasDrawn) {
  TRecordingContext dc;
  EXPECT_TRUE(dc.Extents().IsEmpty());
  dc.SetPen(TDcPen{TPenStyle::kSolid, 4});
  dc.MoveTo(10, 10);
  dc.LineTo(50, 10);
  EXPECT_EQ(dc.Extents(), (TDcRect{8, 8, 52, 12}));
  dc.SetTextColor(0x0000FF);
  dc.DrawMusicGlyph(0xE0A4, 100, 100, 40);  // a filled head, 1.18 x 1 spaces at 10 a space
  EXPECT_EQ(dc.Ops().back().bounds, (TDcRect{100, 95, 112, 105}));
  EXPECT_EQ(dc.Ops().back().color, 0x0000FFu);
}

TEST(RecordingContextTest, PathsPaintOnlyWhenEnded) {
  TRecordingContext dc;
  dc.BeginPath();
  dc.MoveTo(0, 0);
  dc.LineTo(10, 0);
  dc.Ellipse(TDcRect{0, 0, 10, 10});
  EXPECT_TRUE(dc.Ops().empty());
  dc.EndPath(TPathPaint::kFill);  // hollow brush: nothing to fill
  EXPECT_TRUE(dc.Ops().empty());
  dc.BeginPath();
  dc.LineTo(10, 0);
  dc.EndPath(TPathPaint::kStroke);
  ASSERT_EQ(dc.Ops().size(), 1u);
  EXPECT_EQ(dc.Ops()[0].path.Elements().size(), 2u);  // from the current point
}

TEST(RecordingContextTest, HollowAndNullShapesPaintNothing) {
  TRecordingContext dc;
  dc.SetPen(TDcPen{TPenStyle::kNull});
  dc.Rectangle(TDcRect{0, 0, 5, 5});
  dc.LineTo(5, 5);
  EXPECT_TRUE(dc.Ops().empty());
  dc.SetBrush(TDcBrush{false, 0xFF});
  dc.Rectangle(TDcRect{0, 0, 5, 5});
  ASSERT_EQ(dc.Ops().size(), 1u);
  EXPECT_EQ(dc.Ops()[0].paint, TPathPaint::kFill);
}

TEST(RecordingContextTest, TextAlignmentAndCurrentPoint) {
  TRecordingContext dc;
  dc.SetFont(TDcFont{"Face", 20});
  struct Case {
    int align;
    double x, y;
    TDcPoint after;
  } cases[] = {
      {kAlignLeft | kAlignTop, 100, 116, {100, 100}},
      {kAlignRight | kAlignBaseline, 60, 100, {100, 100}},
      {kAlignCenter | kAlignBottom, 80, 96, {100, 100}},
      {kAlignUpdateCp | kAlignBaseline, 100, 100, {140, 100}},
      {kAlignUpdateCp | kAlignRight | kAlignBaseline, 60, 100, {60, 100}},
  };
  for (const Case& c : cases) {
    dc.Clear();
    dc.MoveTo(100, 100);
    dc.SetTextAlign(c.align);
    dc.TextOut(100, 100, u"abcd");  // 40 wide, ascent 16, descent 4
    ASSERT_EQ(dc.Ops().size(), 1u);
    EXPECT_DOUBLE_EQ(dc.Ops()[0].origin.x, c.x) << c.align;
    EXPECT_DOUBLE_EQ(dc.Ops()[0].origin.y, c.y) << c.align;
    EXPECT_EQ(dc.CurrentPoint(), c.after) << c.align;
  }
}

TEST(RecordingContextTest, TransformAndClip) {
  TRecordingContext dc;
  dc.SetTransform(TDcTransform{10, 20, 2, 2});
  dc.SetClip(TDcRect{10, 20, 15, 25});
  dc.MoveTo(10, 20);
  dc.LineTo(110, 20);
  ASSERT_EQ(dc.Ops().size(), 1u);
  EXPECT_DOUBLE_EQ(dc.Ops()[0].path.Elements().back().p[0].x, 200);
  EXPECT_EQ(dc.Extents().right, 10);  // clipped
  dc.SetTransform(TDcTransform{0, 0, 0, -1});  // refused scales become 1
  EXPECT_DOUBLE_EQ(dc.Transform().scaleX, 1);
}

TEST(RecordingContextTest, PieIsASectorFromItsCentre) {
  TRecordingContext dc;
  dc.SetBrush(TDcBrush{false, 0});
  dc.Pie(TDcRect{-10, -10, 10, 10}, 160, 40);
  ASSERT_EQ(dc.Ops().size(), 1u);
  const TDcRect b = dc.Ops()[0].bounds;
  EXPECT_LE(b.left, -10);
  EXPECT_GE(b.right, 0);
  EXPECT_LE(b.right, 1);
}

}  // namespace
}  // namespace kvt
