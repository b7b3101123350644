// The preview's page walks: going to a page, a printed page and a time, turning pages at the
// ends, and cancelling a long walk.

#include "print/preview_pager.h"

#include <gtest/gtest.h>

#include "tests/print/preview_fixture.h"

namespace kvt::test {
namespace {

class PreviewPagerTest : public PreviewTest {
protected:
  void SetUp() override {
    AddStaves(4, 300);
    pages = CountPages();
    ASSERT_GT(pages, 3);
  }
  int pages = 0;
};

TEST_F(PreviewPagerTest, TurningPagesStopsAtBothEnds) {
  TPreviewPager pager(Print(), progress);
  EXPECT_EQ(pager.Page(), 1);
  EXPECT_TRUE(pager.HasMorePages());
  pager.PreviousPage();
  EXPECT_EQ(pager.Page(), 1);
  pager.NextPage();
  EXPECT_EQ(pager.Page(), 2);
  pager.PreviousPage();
  EXPECT_EQ(pager.Page(), 1);
  pager.LastPage();
  EXPECT_EQ(pager.Page(), pages);
  EXPECT_FALSE(pager.HasMorePages());
  pager.NextPage();
  EXPECT_EQ(pager.Page(), pages);
}

TEST_F(PreviewPagerTest, GoingToAPageRendersFromTheStartAndStopsAtTheLast) {
  TPreviewPager pager(Print(), progress);
  pager.GoToPage(3);
  EXPECT_EQ(pager.Page(), 3);
  // The resume state is at page 3: stepping on from there is page 4 of the counted pages.
  pager.NextPage();
  EXPECT_EQ(pager.Page(), 4);
  EXPECT_EQ(progress.begun, 0);  // short walks show no progress
  pager.GoToPage(1000);
  EXPECT_EQ(pager.Page(), pages);
  EXPECT_FALSE(pager.HasMorePages());
  pager.GoToPage(-5);
  EXPECT_EQ(pager.Page(), 1);
}

TEST_F(PreviewPagerTest, PrintedPagesCountFromThePageNumberStart) {
  score.SetPageNumbers(3);
  TPreviewPager pager(Print(), progress);
  pager.GoToPrintedPage(4);
  EXPECT_EQ(pager.Page(), 2);
  EXPECT_EQ(pager.PrintedPage(), 4);
  score.SetPageNumbers(0);
  TPreviewPager plain(Print(), progress);
  plain.GoToPrintedPage(4);
  EXPECT_EQ(plain.Page(), 4);
  EXPECT_EQ(plain.PrintedPage(), 4);
}

TEST_F(PreviewPagerTest, GoingToATimeFindsThePageThatHoldsIt) {
  TPreviewPager pager(Print(), progress);
  // Where each page ends, walked apart.
  std::vector<int64_t> ends;
  pager.FirstPage();
  for (int n = 1; n <= pages; ++n) {
    print->RenderPage(nullptr, n, false);
    ends.push_back(print->GetPageEndTime());
    print->AdvancePage();
  }
  const struct {
    int64_t time;
    int page;
  } cases[] = {
      {0, 1}, {ends[0] - 1, 1}, {ends[0], 2}, {ends[1] + 1, 3}, {ends.back() + 999, pages}};
  for (const auto& c : cases) {
    pager.GoToTime(c.time);
    EXPECT_EQ(pager.Page(), c.page) << c.time;
  }
}

TEST_F(PreviewPagerTest, EveryWalkEndsAtTheLastPage) {
  TPreviewPager pager(Print(), progress);
  pager.GoToTime(INT64_MAX);
  EXPECT_EQ(pager.Page(), pages);
}

using PreviewPagerLongTest = PreviewTest;

TEST_F(PreviewPagerLongTest, JumpingToPageFortyShowsProgressAndCanBeCancelled) {
  AddStaves(1, 2000);
  progress.cancelAfter = 5;
  TPreviewPager pager(Print(), progress);
  pager.GoToPage(40);
  EXPECT_EQ(progress.begun, 1);
  EXPECT_EQ(progress.ended, 1);
  EXPECT_EQ(progress.lastText, "Working...");
  // Cancelled after the fifth page was passed: the page is where the walk stopped.
  EXPECT_EQ(pager.Page(), 6);
  EXPECT_FALSE(pager.IsPaginating());
  // The print data is at that page: the next page follows on from it.
  pager.NextPage();
  EXPECT_EQ(pager.Page(), 7);
}

}  // namespace
}  // namespace kvt::test
