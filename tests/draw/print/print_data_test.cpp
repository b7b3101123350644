// The page renderer: printable area, pagination, title page and page numbers.

#include "draw/print/print_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
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
  // A forced system break at the first bar line of every staff.
  void ForceBreakAfterFirstBar() {
    for (int s = 0; s < score.GetStaffCount(); ++s)
      for (int i = 1; i < score.GetStaff(s)->GetLastIndex(); ++i)
        if (auto* bar = ItemAs<TBarLineData>(score.GetStaff(s)->GetItem(i))) {
          bar->SetSysBreak(true);
          break;
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

TEST_F(PrintDataTest, APageEndsAtTheTimeItsLastPlacedSystemReaches) {
  AddStaves(4, 300);
  TKVTNTNPrintData& p = Print();
  const int pages = p.CountPages();
  ASSERT_GT(pages, 1);
  p.SetPageRange(1, pages);
  p.ResetPagination();
  for (int n = 1; n <= pages; ++n) {
    ASSERT_NE(p.RenderPage(nullptr, n, false), kPageFailed);
    if (n < pages) {
      // The system measured last did not fit: the page ends where that system begins.
      const TStaffDrawInfo& rejected = *p.Layout().GetStaffDrawInfo(0);
      EXPECT_EQ(p.GetPageEndTime(), rejected.TimeSlotAt(1)) << n;
      EXPECT_EQ(p.GetPageEndTime() % 768, 0) << n;
    } else {
      EXPECT_EQ(p.GetPageEndTime(), 300 * 768);
    }
    p.AdvancePage();
  }
}

TEST_F(PrintDataTest, WithoutJustificationAMarkerAndARulerShowTheRoomLeft) {
  AddStaves(2, 40);
  const TColorRef red = MakeColorRef(255, 0, 0);
  const TColorRef ruler = colors.GetColor(6);
  for (bool noJustify : {false, true}) {
    TKVTNTNPrintData& p = Print();
    if (noJustify) p.Layout().ToggleNoJustify();
    TRecordingContext page(600, 600);
    ASSERT_NE(p.RenderPage(&page, 1, true), kPageFailed);
    const TPageRect& r = p.GetPageRect();
    const int step = p.Layout().GetStepHeight();
    int markers = 0, rulerStrokes = 0;
    double rulerLeft = 1e9, rulerRight = -1e9;
    for (const TRecordedOp& op : page.Ops()) {
      if (op.kind != TRecordedOp::TKind::kPath) continue;
      if (!op.brush.hollow && op.brush.color == red) {
        ++markers;
        EXPECT_NEAR(op.bounds.left, r.left + r.width, 1);
        EXPECT_NEAR(op.bounds.right, r.left + r.width + step, 1);
        EXPECT_NEAR(op.bounds.top, r.top, 1);
        EXPECT_NEAR(op.bounds.bottom, r.top + r.height, 1);
      } else if (op.pen.color == ruler && ruler != 0) {
        ++rulerStrokes;
        rulerLeft = std::min<double>(rulerLeft, op.bounds.left);
        rulerRight = std::max<double>(rulerRight, op.bounds.right);
      }
    }
    EXPECT_EQ(markers, noJustify ? 1 : 0);
    if (!noJustify) {
      EXPECT_EQ(rulerStrokes, 0);
      continue;
    }
    // One ruler per system, each from the end of its music to the page's right edge.
    ASSERT_GT(rulerStrokes, 0);
    EXPECT_LT(rulerLeft, r.left + r.width - step);
    EXPECT_NEAR(rulerRight, r.left + r.width, 2);
  }
}

TEST_F(PrintDataTest, PageNumbersStartingAtFiveShowFiveOnTheFirstPage) {
  AddStaves(4, 300);
  score.SetPageNumbers(5);
  TKVTNTNPrintData& p = Print();
  p.SetPageRange(1, 2);
  TRecordingContext one(600, 600), two(600, 600);
  p.RenderPage(&one, 1, true);
  p.AdvancePage();
  p.RenderPage(&two, 2, true);
  const TRecordedOp* five = FindText(one, u"5");
  const TRecordedOp* six = FindText(two, u"6");
  ASSERT_TRUE(five && six);
  // Without mirror margins every number stands at the right.
  EXPECT_NEAR(five->bounds.right, p.GetPageLeft(1) + p.GetPageRect().width, 2);
  EXPECT_NEAR(six->bounds.right, p.GetPageLeft(2) + p.GetPageRect().width, 2);
}

// A score may start its numbering at the largest int: the second page counts on past it, and
// its parity (mirror margins) follows the true number.
TEST_F(PrintDataTest, PageNumbersStartingAtTheLargestIntCountOnWithoutWrapping) {
  AddStaves(4, 300);
  score.SetPageNumbers(INT_MAX);
  TPageMargins margins = score.GetMargins();
  margins.mirror = true;
  score.SetMargins(margins);
  TKVTNTNPrintData& p = Print();
  p.SetPageRange(1, 2);
  TRecordingContext one(600, 600), two(600, 600);
  p.RenderPage(&one, 1, true);
  p.AdvancePage();
  p.RenderPage(&two, 2, true);
  const TRecordedOp* odd = FindText(one, u"2147483647");
  const TRecordedOp* even = FindText(two, u"2147483648");
  ASSERT_TRUE(odd && even);
  EXPECT_NEAR(odd->bounds.right, p.GetPageLeft(1) + p.GetPageRect().width, 2);
  EXPECT_NEAR(even->bounds.left, p.GetPageLeft(2), 2);
}

// A page rendered as a picture stands at the origin and carries no page number; the printed
// page keeps both.
TEST_F(PrintDataTest, PictureModePutsThePageAtTheOriginWithoutItsNumber) {
  AddStaves(4, 300);
  score.SetPageNumbers(1);
  TKVTNTNPrintData& p = Print();
  p.SetPageRange(1, 2);
  p.RenderPage(nullptr, 1, false);
  p.AdvancePage();
  ASSERT_GT(p.GetPageTop(), 0);
  const int left = p.GetPageLeft(2), top = p.GetPageTop();
  TRecordingContext printed(600, 600), picture(600, 600);
  p.RenderPage(&printed, 2, true);
  p.SetPictureMode(true);
  EXPECT_EQ(p.GetPageLeft(2), 0);
  EXPECT_EQ(p.GetPageTop(), 0);
  p.RenderPage(&picture, 2, true);
  p.SetPictureMode(false);
  EXPECT_TRUE(FindText(printed, u"2"));
  EXPECT_FALSE(FindText(picture, u"2"));
  const TDcRect a = printed.Extents(), b = picture.Extents();
  EXPECT_NEAR(b.left, a.left - left, 2);
  EXPECT_NEAR(b.bottom, a.bottom - top, 2);
  EXPECT_GT(b.top, a.top - top);  // the number stood above the music
}

// The y of every horizontal staff line drawn, each once, top first.
std::vector<double> StaffLineYs(const TRecordingContext& page) {
  std::vector<double> ys;
  for (const TRecordedOp& op : page.Ops()) {
    if (op.kind != TRecordedOp::TKind::kPath || op.path.Elements().size() != 2) continue;
    const auto& e = op.path.Elements();
    if (e[0].p[0].y == e[1].p[0].y && e[0].p[0].x != e[1].p[0].x) ys.push_back(e[0].p[0].y);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

TEST_F(PrintDataTest, VerticalJustificationSpreadsShortSystemsByAtMostHalfTheirHeight) {
  AddStaves(2, 2);
  ForceBreakAfterFirstBar();  // two short systems on a tall page
  std::vector<double> tops;
  int height = 0;
  for (bool justify : {false, true}) {
    score.SetJustifyVertically(justify);
    TKVTNTNPrintData& p = Print();
    TRecordingContext page(600, 600);
    ASSERT_EQ(p.RenderPage(&page, 1, true), kLastPage);
    const std::vector<double> ys = StaffLineYs(page);
    ASSERT_EQ(ys.size(), 20u);  // two systems of two five-line staves
    tops.push_back(ys[0] - p.GetPageRect().top);
    tops.push_back(ys[10] - ys[0]);
    height = p.Layout().GetTotalHeight();
  }
  ASSERT_GT(height, 0);
  // Plain: the systems follow each other. Spread: the same gap above each, capped at half
  // the average system height (far less than the free room of the page).
  EXPECT_NEAR(tops[1], height, 1);
  const double gap = tops[2] - tops[0];
  EXPECT_NEAR(gap, height / 2, 1);
  EXPECT_NEAR(tops[3], height + gap, 1);
}

TEST_F(PrintDataTest, TheSeparatorMarkMovesUpOverABarNumberWhenThereIsRoom) {
  AddStaves(2, 2);
  ForceBreakAfterFirstBar();
  // Five steps outside the lines on each side: five spaces between the systems' lines, so
  // halfway lies two spaces below the bar number's room.
  for (int s = 0; s < 2; ++s) score.GetStaff(s)->SetBoundaries(-9, 9);
  score.SetJustifyVertically(false);
  score.SetPrintSystemSepMark(true);
  for (int numbers : {0, 1}) {
    score.SetBarNumbers(numbers);
    TKVTNTNPrintData& p = Print();
    TRecordingContext page(600, 600);
    ASSERT_EQ(p.RenderPage(&page, 1, true), kLastPage);
    const std::vector<double> ys = StaffLineYs(page);
    ASSERT_EQ(ys.size(), 20u);
    const double previousBottom = ys[9], top = ys[10];
    // The mark: filled strokes between the two systems.
    double markTop = 1e9, markBottom = -1e9;
    for (const TRecordedOp& op : page.Ops()) {
      if (op.kind != TRecordedOp::TKind::kPath || op.brush.hollow) continue;
      if (op.bounds.top <= previousBottom || op.bounds.bottom >= top) continue;
      markTop = std::min<double>(markTop, op.bounds.top);
      markBottom = std::max<double>(markBottom, op.bounds.bottom);
    }
    ASSERT_LT(markTop, markBottom) << numbers;
    const double centre = (markTop + markBottom) / 2;
    const double space = p.Fonts().GetSpace();
    const double halfway = (previousBottom + top) / 2;
    const double overNumber = top - 4.5 * space;
    // Systems stacked close: halfway lies within the bar number's room above the system.
    ASSERT_GT(overNumber, previousBottom);
    ASSERT_LT(overNumber, halfway);
    EXPECT_NEAR(centre, numbers == 0 ? halfway : overNumber, space / 2) << numbers;
  }
}

TEST_F(PrintDataTest, ASystemTallerThanThePageStandsAloneOnEachPage) {
  AddStaves(64, 2);
  ForceBreakAfterFirstBar();
  TKVTNTNPrintData& p = Print();
  ASSERT_GT(p.Layout().GetTotalHeight(), p.GetPageRect().height);
  EXPECT_EQ(p.CountPages(), 2);
  p.SetPageRange(1, 2);
  ASSERT_EQ(p.RenderPage(nullptr, 1, false), kMorePages);
  EXPECT_EQ(p.GetPageEndTime(), 768);  // one bar per page
  p.AdvancePage();
  ASSERT_EQ(p.RenderPage(nullptr, 2, false), kLastPage);
  EXPECT_EQ(p.GetPageEndTime(), 2 * 768);
}

}  // namespace
}  // namespace kvt
