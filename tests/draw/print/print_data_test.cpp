// The page renderer: printable area, pagination, title page and page numbers.

#include "draw/print/print_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

class TRecordingAlerts final : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// A4 at 600 dots per inch, printable to the edges.
TPaperMeasures A4() { return {4960, 7016, 0, 0, 600, 600}; }

class PrintDataTest : public ::testing::Test {
protected:
  // Staves of `bars` bars of four quarter notes each.
  void AddStaves(int staves, int bars) {
    for (int s = 0; s < staves; ++s) {
      score.AddStaff(std::make_unique<TMusicStaff>());
      TStaffBuilder b(*score.GetStaff(score.GetLastIndex()));
      for (int bar = 0; bar < bars; ++bar) {
        for (int i = 0; i < 4; ++i) b.Note(0);
        if (bar + 1 < bars) b.Bar();
      }
    }
  }
  TKVTNTNPrintData& Print(bool selectAll = true) {
    selection = TKVBoolArray(score.GetStaffCount());
    selection.SetAll(selectAll);
    print = std::make_unique<TKVTNTNPrintData>(dc, A4(), score, colors, selection, alerts);
    return *print;
  }
  std::vector<const TRecordedOp*> TextsOn(const TRecordingContext& page) const {
    std::vector<const TRecordedOp*> out;
    for (const TRecordedOp& op : page.Ops())
      if (op.kind == TRecordedOp::TKind::kText) out.push_back(&op);
    return out;
  }
  const TRecordedOp* FindText(const TRecordingContext& page, std::u16string_view text) const {
    for (const TRecordedOp* op : TextsOn(page))
      if (op->text == text) return op;
    return nullptr;
  }

  TMusicScore score;
  TStaffColorHandles colors;
  TRecordingAlerts alerts;
  TRecordingContext dc{600, 600};
  TKVBoolArray selection;
  std::unique_ptr<TKVTNTNPrintData> print;
};

TEST(PageRect, MarginsAreClampedToThePaper) {
  struct Case {
    TPageMargins margins;
    TPaperMeasures paper;
    TPageRect expected;
  };
  const Case cases[] = {
      {{0.5f, 0.5f, 0.5f, 0.5f, false}, A4(), {300, 300, 4960 - 600, 7016 - 600}},
      {{1.0f, 0.25f, 0.5f, 2.0f, false},
       {4960, 7016, 100, 50, 600, 600},
       {50, 550, 4960 - 450, 7016 - 1800}},
      {{0.5f, 5.0f, 5.0f, 0.5f, false}, A4(), {3000, 300, 0, 7016 - 600}},  // crossing margins
      {{0.5f, 1e9f, 1e9f, 0.5f, false}, A4(), {4960, 300, 0, 7016 - 600}},  // clamped, no overflow
      {{-3.0f, 0.0f, 0.0f, 0.0f, false}, A4(), {0, 0, 4960, 7016}},         // negative: none
  };
  for (const Case& c : cases) {
    const TPageRect r = ComputePageRect(c.paper, c.margins);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
  }
}

TEST_F(PrintDataTest, MarginsWithoutRoomUseTheDefaultsForThisLayoutOnly) {
  AddStaves(1, 4);
  TPageMargins wide = score.GetMargins();
  wide.left = 6;
  wide.right = 6;
  score.SetMargins(wide);
  TKVTNTNPrintData& p = Print();
  EXPECT_TRUE(p.HasPrintableArea());
  EXPECT_EQ(p.GetPageRect().left, 300);
  EXPECT_EQ(score.GetMargins().left, 6.0f);
  ASSERT_EQ(alerts.lines.size(), 1u);
  EXPECT_EQ(p.CountPages(), 1);
}

TEST_F(PrintDataTest, NothingSelectedGivesNoPages) {
  AddStaves(2, 4);
  TKVTNTNPrintData& p = Print(false);
  EXPECT_EQ(p.CountPages(), 0);
  EXPECT_EQ(p.RenderPage(nullptr, 1, false), kLastPage);
}

TEST_F(PrintDataTest, MoreThanSixtyFourStavesPrintTheFirstSixtyFour) {
  AddStaves(70, 1);
  TKVTNTNPrintData& p = Print();
  EXPECT_EQ(p.Layout().GetStaffCount(), 64);
  ASSERT_EQ(alerts.lines.size(), 1u);
  EXPECT_NE(alerts.lines[0].find("64"), std::string::npos);
  // Far taller than a page: the system is still placed, alone, and the score ends there.
  EXPECT_GT(p.Layout().GetTotalHeight(), 0);
  EXPECT_EQ(p.CountPages(), 1);
}

TEST_F(PrintDataTest, LongScoreRunsOverSeveralPagesAndEveryPageAdvances) {
  AddStaves(4, 300);
  TKVTNTNPrintData& p = Print();
  const int pages = p.CountPages();
  EXPECT_GT(pages, 1);
  // Rendering page by page reaches the end on the last page.
  p.SetPageRange(1, pages);
  p.ResetPagination();
  int64_t previousEnd = -1;
  for (int n = 1; n <= pages; ++n) {
    TRecordingContext page(600, 600);
    const int result = p.RenderPage(&page, n, true);
    EXPECT_EQ(result, n == pages ? kLastPage : kMorePages) << n;
    EXPECT_FALSE(page.Ops().empty());
    EXPECT_GT(p.GetPageEndTime(), previousEnd) << n;
    previousEnd = p.GetPageEndTime();
    p.AdvancePage();
  }
  // The last page ends with the staff: 300 bars of four quarter notes.
  EXPECT_EQ(previousEnd, 300 * 4 * 192);  // 192 ticks a quarter
}

TEST_F(PrintDataTest, TitlePageInformationOnPageOneOnly) {
  AddStaves(2, 200);
  score.SetTitlePage(true);
  score.SetSongInfoText(kSongTitle, u"Evening Song");
  score.SetSongInfoText(kSongAuthor, u"A. Composer");
  score.SetSongInfoText(kSongLyricist, u"B. Poet");
  score.SetSongInfoText(kSongCopyright1, u"Copyright line one");
  TKVTNTNPrintData& p = Print();
  p.SetPageRange(1, 2);
  TRecordingContext first(600, 600);
  ASSERT_EQ(p.RenderPage(&first, 1, true), kMorePages);
  const TPageRect& r = p.GetPageRect();
  const TRecordedOp* title = FindText(first, u"Evening Song");
  const TRecordedOp* author = FindText(first, u"A. Composer");
  const TRecordedOp* lyricist = FindText(first, u"B. Poet");
  const TRecordedOp* copyright = FindText(first, u"Copyright line one");
  ASSERT_TRUE(title && author && lyricist && copyright);
  EXPECT_NEAR((title->bounds.left + title->bounds.right) / 2.0, r.left + r.width / 2.0, 2);
  EXPECT_NEAR(title->bounds.top, r.top, 40);
  EXPECT_NEAR(author->bounds.right, r.left + r.width, 2);
  EXPECT_NEAR(lyricist->bounds.left, r.left, 2);
  EXPECT_GT(author->bounds.top, title->bounds.top);
  EXPECT_NEAR(copyright->bounds.bottom, r.top + r.height, 60);
  p.AdvancePage();
  TRecordingContext second(600, 600);
  p.RenderPage(&second, 2, true);
  EXPECT_EQ(FindText(second, u"Evening Song"), nullptr);
  EXPECT_EQ(FindText(second, u"Copyright line one"), nullptr);
}

TEST_F(PrintDataTest, PageNumbersFromTheSecondPageAndOnTheOutsideWithMirrorMargins) {
  AddStaves(4, 300);
  score.SetPageNumbers(1);
  TPageMargins m = score.GetMargins();
  m.mirror = true;
  m.left = 1.0f;
  m.right = 0.5f;
  score.SetMargins(m);
  TKVTNTNPrintData& p = Print();
  p.SetPageRange(1, 3);
  TRecordingContext one(600, 600), two(600, 600), three(600, 600);
  p.RenderPage(&one, 1, true);
  p.AdvancePage();
  p.RenderPage(&two, 2, true);
  p.AdvancePage();
  p.RenderPage(&three, 3, true);
  EXPECT_EQ(FindText(one, u"1"), nullptr);
  const TRecordedOp* even = FindText(two, u"2");
  const TRecordedOp* odd = FindText(three, u"3");
  ASSERT_TRUE(even && odd);
  EXPECT_EQ(p.GetPageLeft(2), 300);  // the outside margin on the left of even pages
  EXPECT_EQ(p.GetPageLeft(3), 600);
  EXPECT_NEAR(even->bounds.left, 300, 2);
  EXPECT_NEAR(odd->bounds.right, 600 + p.GetPageRect().width, 2);
}

// A note drawer that fails, as a fault while a staff is drawn would.
class TFailingNotes final : public TSongNoteDrawer {
public:
  void DrawSongNote(TScoreDrawInfo&, TStaffDrawInfo&, int, int) override {
    throw std::runtime_error("no head");
  }
};

TEST_F(PrintDataTest, AFaultWhileDrawingFailsThePageAndReachesTheAlertLog) {
  AddStaves(1, 4);
  TKVTNTNPrintData& p = Print();
  TFailingNotes failing;
  p.Layout().SetSongNoteDrawer(failing);
  TRecordingContext page(600, 600);
  EXPECT_EQ(p.RenderPage(&page, 1, true), kPageFailed);
  ASSERT_EQ(alerts.lines.size(), 1u);
  EXPECT_EQ(alerts.lines[0], "PrintStaffs Fault: no head");
  // The fonts left their drawing phase: the next page renders.
  TStandardSongNoteDrawer standard;
  p.Layout().SetSongNoteDrawer(standard);
  EXPECT_EQ(p.RenderPage(&page, 1, true), kLastPage);
}

}  // namespace
}  // namespace kvt
