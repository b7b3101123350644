// The score layout: staves in use, lining up simultaneous items, breaking and justifying.

#include "draw/layout/score_draw_info.h"

#include <gtest/gtest.h>

#include <memory>

#include "draw/layout/fonts_sizing_scope.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

class ScoreDrawInfoTest : public ::testing::Test {
protected:
  void SetUp() override { fonts = std::make_unique<TMusicFonts>(data, colors, 20); }

  TMusicStaff& NewStaff() {
    score.AddStaff(std::make_unique<TMusicStaff>());
    return *score.GetStaff(score.GetLastIndex());
  }
  // A staff of `bars` bars of four quarter notes.
  TMusicStaff& QuarterStaff(int bars) {
    TMusicStaff& staff = NewStaff();
    TStaffBuilder b(staff);
    for (int bar = 0; bar < bars; ++bar) {
      for (int i = 0; i < 4; ++i) b.Note(0);
      if (bar + 1 < bars) b.Bar();
    }
    return staff;
  }
  TScoreDrawInfo& Layout(int mode = kDrawModePrint) {
    layout = std::make_unique<TScoreDrawInfo>(score, *fonts, mode);
    for (int i = 0; i < score.GetStaffCount(); ++i) layout->AddStaff(i);
    return *layout;
  }
  // x of the note head of item `item` on staff i.
  int HeadX(int i, int item) {
    const TStaffDrawInfo& staff = *layout->GetStaffDrawInfo(i);
    const int n = staff.FindDrawPosOfItem(item);
    return staff.XOfPosition(n) + staff.GetLeadWidth(*staff.PositionAt(n));
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  std::unique_ptr<TScoreDrawInfo> layout;
};

TEST_F(ScoreDrawInfoTest, HoldsAtMostSixtyFourStaves) {
  for (int i = 0; i < 70; ++i) NewStaff();
  TScoreDrawInfo& l = Layout();
  EXPECT_EQ(l.GetStaffCount(), kMaxLayoutStaves);
  EXPECT_TRUE(l.IsFull());
  EXPECT_FALSE(l.AddStaff(65));
  EXPECT_FALSE(l.AddStaff(1000));
  EXPECT_EQ(l.GetStaffDrawInfo(64), nullptr);
  EXPECT_GT(l.GetTotalHeight(), 0);
}

TEST_F(ScoreDrawInfoTest, SimultaneousNotesLineUpWhateverTheirLeadWidths) {
  TStaffBuilder a(NewStaff());
  a.Note(0);
  const int plain = a.Last();
  TStaffBuilder b(NewStaff());
  b.Note(0, kDurQuarter, 0, kAccSharp);
  const int sharp = b.Last();
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 1 << 20);
  l.AlignStaves();
  EXPECT_EQ(HeadX(0, plain), HeadX(1, sharp));
  EXPECT_GT(l.GetStaffDrawInfo(1)->GetLeadWidth(*l.GetStaffDrawInfo(1)->PositionAt(
                l.GetStaffDrawInfo(1)->FindDrawPosOfItem(sharp))),
            0);
}

TEST_F(ScoreDrawInfoTest, LaterNotesOfTwoStavesShareTheirTimeColumns) {
  TStaffBuilder a(NewStaff());
  a.Note(0, kDurHalf);
  a.Note(0, kDurHalf);
  const int half = a.Last();
  TStaffBuilder b(NewStaff());
  for (int i = 0; i < 4; ++i) b.Note(0, kDurQuarter);
  const int third = b.Last() - 1;
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 1 << 20);
  l.AlignStaves();
  EXPECT_EQ(HeadX(0, half), HeadX(1, third));
}

TEST_F(ScoreDrawInfoTest, BreakEndsAtABarAndJustifiesToTheWidth) {
  QuarterStaff(40);
  QuarterStaff(40);
  TScoreDrawInfo& l = Layout();
  const int width = 3000;
  l.LayoutStavesFromItems({}, width);
  l.BreakAndJustify(width);
  for (int i = 0; i < 2; ++i) {
    const TStaffDrawInfo& staff = *l.GetStaffDrawInfo(i);
    EXPECT_EQ(staff.GetTotalWidth(), width) << i;
    EXPECT_EQ(staff.PositionAt(staff.GetDrawPosCount() - 1)->GetKind(), kDrawBarLine) << i;
  }
  const std::vector<TLayoutStart> ends = l.GetLayoutEnds();
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[0], ends[1]);
  EXPECT_GT(ends[0].itemIndex, 0);

  // The next system goes on where this one ended.
  l.LayoutStavesContinued(width);
  EXPECT_EQ(l.GetStaffDrawInfo(0)->PositionAt(1)->GetItemIndex() >= ends[0].itemIndex, true);
}

TEST_F(ScoreDrawInfoTest, NoJustifyAndTheLastSystemKeepTheirNaturalWidth) {
  QuarterStaff(2);
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 5000);
  l.BreakAndJustify(5000);
  EXPECT_LT(l.GetStaffDrawInfo(0)->GetTotalWidth(), 5000);

  score.SetExtendLastSystem(true);
  l.LayoutStavesFromItems({}, 5000);
  l.BreakAndJustify(5000);
  EXPECT_EQ(l.GetStaffDrawInfo(0)->GetTotalWidth(), 5000);

  QuarterStaff(40);
  TScoreDrawInfo& two = Layout();
  two.ToggleNoJustify();
  two.LayoutStavesFromItems({}, 3000);
  two.BreakAndJustify(3000);
  const int natural = two.GetNaturalWidth();
  EXPECT_LT(natural, 3000);
  EXPECT_EQ(two.GetStaffDrawInfo(0)->GetTotalWidth(), two.GetStaffDrawInfo(1)->GetTotalWidth());
}

TEST_F(ScoreDrawInfoTest, EveryStaffEndsAtTheForcedSystemBreak) {
  TMusicStaff& top = QuarterStaff(10);
  QuarterStaff(10);
  // The second bar line of the top staff forces a break.
  int bars = 0;
  for (int i = 1; i < top.GetItemCount(); ++i) {
    auto* bar = ItemAs<TBarLineData>(top.GetItem(i));
    if (bar && ++bars == 2) {
      bar->SetSysBreak(true);
      break;
    }
  }
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 1 << 20);
  l.BreakAndJustify(1 << 20);
  const std::vector<TLayoutStart> ends = l.GetLayoutEnds();
  EXPECT_EQ(ends[0], ends[1]);
  // Two bars of four notes and their bar lines.
  EXPECT_EQ(ends[0].itemIndex, 1 + 2 * 5);
}

TEST_F(ScoreDrawInfoTest, ASystemEndingOnAnOpeningBarClosesWithAPlainBar) {
  const int opening[] = {kBarSectionOpen, kBarLocalRepeatOpen, kBarMasterRepeatOpen};
  for (int style : opening) {
    TMusicScore own;
    own.AddStaff(std::make_unique<TMusicStaff>());
    TMusicStaff& staff = *own.GetStaff(0);
    TStaffBuilder b(staff);
    for (int i = 0; i < 4; ++i) b.Note(0);
    b.Bar(style).SetSysBreak(true);
    const int bar = b.Last();
    for (int i = 0; i < 4; ++i) b.Note(0);
    TScoreDrawInfo l(own, *fonts, kDrawModePrint);
    l.AddStaff(0);
    l.LayoutStavesFromItems({}, 1 << 20);
    l.BreakAndJustify(1 << 20);
    TStaffDrawInfo& s = *l.GetStaffDrawInfo(0);
    TFontsSizingScope sizing(*fonts);
    const int last = s.GetLastPosition();
    const TStaffDrawPos& end = *s.PositionAt(last);
    EXPECT_EQ(end.GetKind(), kDrawBarLine) << style;
    EXPECT_TRUE(end.IsAutoInsert()) << style;
    EXPECT_EQ(end.GetItemIndex(), staff.GetLastIndex()) << style;
    EXPECT_EQ(s.GetTotalWidth() - s.XOfPosition(last), fonts->GetBarLineWidth(kBarSingle)) << style;
    // The next system goes on after the opening bar.
    EXPECT_EQ(l.GetLayoutEnds()[0].itemIndex, bar + 1) << style;
  }
}

TEST_F(ScoreDrawInfoTest, AnOrdinaryClosingBarKeepsItsItemAndLosesItsPadding) {
  TMusicStaff& staff = NewStaff();
  TStaffBuilder b(staff);
  for (int i = 0; i < 4; ++i) b.Note(0);
  b.Bar(kBarSectionClose).SetSysBreak(true);
  const int bar = b.Last();
  for (int i = 0; i < 4; ++i) b.Note(0);
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 1 << 20);
  l.BreakAndJustify(1 << 20);
  const TStaffDrawInfo& s = *l.GetStaffDrawInfo(0);
  const TStaffDrawPos& end = *s.PositionAt(s.GetLastPosition());
  TFontsSizingScope sizing(*fonts);
  EXPECT_EQ(end.GetItemIndex(), bar);
  EXPECT_FALSE(end.IsAutoInsert());
  EXPECT_EQ(end.GetWidth(), fonts->GetBarLineWidth(kBarSectionClose));
}

TEST_F(ScoreDrawInfoTest, ItemVisibilityFollowsTheStavesShown) {
  QuarterStaff(1);
  QuarterStaff(1);
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  TMultiMeasureRest rest(4);
  TBarLineData bar(kBarSingle, 1);
  struct Case {
    TNotatedItem* item;
    int visibility;
    bool alone;        // the first staff laid out alone
    bool topOfTwo;     // the first of two lined staves
    bool secondOfTwo;  // the second of them
  };
  const Case cases[] = {
      {&note, kVisAlways, true, true, true},        {&note, kVisTopStaff, true, true, false},
      {&note, kVisSingleStaff, true, false, false}, {&note, kVisMultiStaff, false, true, true},
      {&note, kVisNever, false, false, false},      {&note, kVisDefault, true, true, true},
      {&rest, kVisDefault, true, false, false},  // a multi-bar rest prints on a single staff
      {&bar, kVisDefault, true, true, true},
  };
  TScoreDrawInfo one(score, *fonts, kDrawModePrint);
  one.AddStaff(0);
  TScoreDrawInfo& two = Layout();
  ASSERT_EQ(two.GetLinedGroupCount(), 2);
  for (const Case& c : cases) {
    c.item->SetVisibility(c.visibility);
    EXPECT_EQ(one.GetStaffDrawInfo(0)->IsItemVisible(*c.item), c.alone) << c.visibility;
    EXPECT_EQ(two.GetStaffDrawInfo(0)->IsItemVisible(*c.item), c.topOfTwo) << c.visibility;
    EXPECT_EQ(two.GetStaffDrawInfo(1)->IsItemVisible(*c.item), c.secondOfTwo) << c.visibility;
  }
  // A bar line on a staff without lines is never shown by default.
  score.GetStaff(1)->SetLines(0);
  two.Restack();
  bar.SetVisibility(kVisDefault);
  EXPECT_FALSE(two.GetStaffDrawInfo(1)->IsItemVisible(bar));
  EXPECT_TRUE(two.GetStaffDrawInfo(0)->IsItemVisible(bar));
}

}  // namespace
}  // namespace kvt
