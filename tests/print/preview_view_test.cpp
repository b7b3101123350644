// The preview's geometry: zoom tables, zoom around a point, scroll positions and the hit test.

#include "print/preview_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kvt {
namespace {

TPaperMeasures A4() { return {4960, 7016, 0, 0, 600, 600}; }

TEST(PreviewZoomTable, StepsFromTheWholePageDownToOnePrinterUnitPerPixel) {
  struct Case {
    TPaperMeasures paper;
    QSize client;
    std::vector<float> expected;
  };
  const Case cases[] = {
      // Whole page (7016 / 600), page width (6), then halves down to 1.
      {A4(), {800, 600}, {7016.0f / 600, 6, 5, 4.5f, 4, 3.5f, 3, 2.5f, 2, 1.5f, 1}},
      {A4(), {1400, 1000}, {7016.0f / 1000, 3, 2, 1.5f, 1}},
      // Landscape: the page width already fits at zoom 0, so no width entry.
      {{7016, 4960, 0, 0, 600, 600},
       {1000, 1000},
       {7.016f, 6, 5.5f, 5, 4.5f, 4, 3.5f, 3, 2.5f, 2, 1.5f, 1}},
      // A window larger than the page at full resolution.
      {A4(), {6000, 9000}, {1}},
      // Nothing to show.
      {{0, 0, 0, 0, 600, 600}, {800, 600}, {1}},
  };
  for (const Case& c : cases) {
    const std::vector<float> table = BuildZoomTable(c.paper, c.client);
    ASSERT_EQ(table.size(), c.expected.size()) << c.client.width();
    for (size_t i = 0; i < table.size(); ++i)
      EXPECT_NEAR(table[i], c.expected[i], 1e-3) << c.client.width() << " entry " << i;
  }
}

TEST(PreviewZoomTable, EndsAtThirtyTwoEntriesWithOne) {
  const std::vector<float> table = BuildZoomTable({100000, 140000, 0, 0, 600, 600}, {100, 100});
  ASSERT_EQ(table.size(), 32u);
  EXPECT_EQ(table.back(), 1.0f);
  EXPECT_GT(table[30], 900.0f);
}

class PreviewViewTest : public ::testing::Test {
protected:
  void SetUp() override {
    view.SetPaper(A4());
    view.Resize({1400, 1000});
  }
  TPreviewView view;
};

TEST_F(PreviewViewTest, ZoomZeroCentresThePageWithoutScrolling) {
  EXPECT_EQ(view.Zoom(), 0);
  EXPECT_NEAR(view.PageSize().height(), 1000, 1);
  EXPECT_EQ(view.Margin().width(), (1400 - view.PageSize().width()) / 2);
  EXPECT_EQ(view.Margin().height(), 0);
  EXPECT_EQ(view.MaxScrollX(), 0);
  EXPECT_EQ(view.MaxScrollY(), 0);
}

TEST_F(PreviewViewTest, SetZoomClampsToTheTable) {
  EXPECT_TRUE(view.SetZoom(99));
  EXPECT_EQ(view.Zoom(), 4);
  EXPECT_FALSE(view.SetZoom(4));
  EXPECT_TRUE(view.SetZoom(-3));
  EXPECT_EQ(view.Zoom(), 0);
}

TEST_F(PreviewViewTest, ZoomedInEveryPartOfThePageCanReachTheMiddle) {
  view.SetZoom(4);  // one printer unit per pixel
  EXPECT_EQ(view.PageSize(), QSize(4960, 7016));
  EXPECT_EQ(view.Margin(), QSize(700, 500));
  view.ScrollTo(view.MaxScrollX(), view.MaxScrollY());
  // The page's bottom-right corner can come to the window's middle.
  const QPoint corner = view.PageOrigin() + QPoint(4960, 7016);
  EXPECT_LE(corner.x(), 700 + 10);
  EXPECT_LE(corner.y(), 500 + 10);
}

TEST_F(PreviewViewTest, ScrollPositionsAreMultiplesOfTenWithinTheRange) {
  view.SetZoom(2);
  view.ScrollTo(1234, 5678);
  EXPECT_EQ(view.ScrollX(), 1230);
  EXPECT_EQ(view.ScrollY() % 10, 0);
  view.ScrollTo(-50, 1 << 30);
  EXPECT_EQ(view.ScrollX(), 0);
  EXPECT_LE(view.ScrollY(), view.MaxScrollY());
  EXPECT_GT(view.ScrollY(), view.MaxScrollY() - 10);
}

TEST_F(PreviewViewTest, ZoomAtKeepsThePagePointUnderTheWindowPoint) {
  const struct {
    int from, to;
    QPoint at;
  } cases[] = {{0, 1, {700, 400}}, {0, 4, {500, 300}}, {2, 4, {900, 700}}, {4, 1, {100, 100}}};
  for (const auto& c : cases) {
    view.SetZoom(c.from);
    const double before = view.Scale();
    const QPoint o = view.PageOrigin();
    const double px = (c.at.x() - o.x()) * before, py = (c.at.y() - o.y()) * before;
    ASSERT_TRUE(view.ZoomAt(c.to, c.at));
    const QPoint n = view.PageOrigin();
    // Within the rounding of the scroll positions to tens.
    EXPECT_NEAR((c.at.x() - n.x()) * view.Scale(), px, 11 * view.Scale()) << c.from << c.to;
    EXPECT_NEAR((c.at.y() - n.y()) * view.Scale(), py, 11 * view.Scale()) << c.from << c.to;
  }
}

TEST_F(PreviewViewTest, HitTestTellsThePageFromItsSides) {
  const QPoint o = view.PageOrigin();
  const int w = view.PageSize().width();
  const struct {
    QPoint at;
    TPreviewView::THit hit;
  } cases[] = {
      {o + QPoint(-5, 300), TPreviewView::kPreviousSide},
      {o + QPoint(w + 5, 300), TPreviewView::kNextSide},
      {o + QPoint(w / 2, 300), TPreviewView::kOnPage},
      {o + QPoint(0, 0), TPreviewView::kOnPage},
  };
  for (const auto& c : cases) EXPECT_EQ(view.HitTest(c.at), c.hit) << c.at.x() << "," << c.at.y();
  // Above or below the paper: the half decides.
  view.SetZoom(1);
  const QPoint z = view.PageOrigin();
  const int zw = view.PageSize().width();
  EXPECT_EQ(view.HitTest(z + QPoint(zw / 4, -20)), TPreviewView::kPreviousSide);
  EXPECT_EQ(view.HitTest(z + QPoint(zw * 3 / 4, -20)), TPreviewView::kNextSide);
  EXPECT_EQ(view.HitTest(z + QPoint(zw * 3 / 4, view.PageSize().height() + 20)),
            TPreviewView::kNextSide);
}

}  // namespace
}  // namespace kvt
