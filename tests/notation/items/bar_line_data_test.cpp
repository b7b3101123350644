#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

using test::TItemStaff;
using test::WalkPlayOrder;

TEST(BarLineDataTest, SetStyleGivesRepeatOnlyToLocalRepeatClose) {
  struct Case {
    int style;
    int repeat;
    int expected;
  };
  const Case cases[] = {
      {kBarLocalRepeatClose, 3, 3}, {kBarLocalRepeatClose, 1, 2}, {kBarLocalRepeatClose, 0, 2},
      {kBarLocalRepeatClose, 999, 255}, {kBarSingle, 5, 1},       {kBarMasterRepeatClose, 4, 1},
  };
  for (const Case& c : cases) {
    TBarLineData bar(c.style, c.repeat);
    EXPECT_EQ(bar.GetStyle(), c.style);
    EXPECT_EQ(bar.GetRepeat(), c.expected) << "style " << c.style << " repeat " << c.repeat;
  }
}

TEST(BarLineDataTest, StaffEndStylesAndOpeningCounterparts) {
  const int endStyles[] = {kBarSectionClose, kBarMasterRepeatClose, kBarSingle, kBarDouble,
                           kBarTransparent};
  for (int kind = 0; kind < 5; ++kind) {
    TBarLineData bar(kBarLocalRepeatClose, 4);
    bar.SetVisibility(kVisNever);
    bar.SetStaffEndStyle(kind);
    EXPECT_EQ(bar.GetStyle(), endStyles[kind]);
    EXPECT_EQ(bar.GetRepeat(), 1);
    EXPECT_EQ(bar.GetVisibility(), kVisDefault);
  }
  TBarLineData unknown;
  unknown.SetStaffEndStyle(77);
  EXPECT_EQ(unknown.GetStyle(), kBarSectionClose);

  EXPECT_EQ(TBarLineData(kBarSectionClose).GetOpeningStyle(), kBarSectionOpen);
  EXPECT_EQ(TBarLineData(kBarLocalRepeatClose).GetOpeningStyle(), kBarLocalRepeatOpen);
  EXPECT_EQ(TBarLineData(kBarMasterRepeatClose).GetOpeningStyle(), kBarMasterRepeatOpen);
  EXPECT_EQ(TBarLineData(kBarDouble).GetOpeningStyle(), kBarNoOpeningStyle);
  EXPECT_TRUE(TBarLineData::IsSectionEnd(kBarLocalRepeatClose));
  EXPECT_FALSE(TBarLineData::IsOpening(kBarSectionClose));
}

TEST(BarLineDataTest, ApplyResetsAccidentalsAndCountsPasses) {
  struct Case {
    int style;
    int localPass, masterPass, masterCount;
  };
  // From a state with local pass 3, master pass 3 and master count 5.
  const Case cases[] = {
      {kBarSingle, 3, 3, 5},           {kBarSectionOpen, 3, 1, 5},
      {kBarSectionClose, 3, 1, 5},     {kBarLocalRepeatOpen, 1, 3, 5},
      {kBarLocalRepeatClose, 4, 3, 5}, {kBarMasterRepeatOpen, 3, 1, 2},
      {kBarMasterRepeatClose, 3, 4, 5},
  };
  for (const Case& c : cases) {
    TStaffContextState state;
    state.SetKey(0, 0x20, 2);  // F sharp
    state.SetRunningAccidental(2, kAccSharp);
    state.SetLocalRepeatPass(3);
    state.SetMasterRepeatPass(3);
    state.SetMasterRepeatCount(5);
    TBarLineData(c.style, 2).ApplyToContext(state);
    EXPECT_EQ(state.GetRunningSharpsMask(), 0x20) << "style " << c.style;
    EXPECT_EQ(state.GetLocalRepeatPass(), c.localPass) << "style " << c.style;
    EXPECT_EQ(state.GetMasterRepeatPass(), c.masterPass) << "style " << c.style;
    EXPECT_EQ(state.GetMasterRepeatCount(), c.masterCount) << "style " << c.style;
  }
}

TEST(BarLineDataTest, LocalRepeatCloseWithRepeatThreeSendsPlayBackTwice) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Music();
  staff.Bar(kBarLocalRepeatOpen);
  staff.Music();
  staff.Bar(kBarLocalRepeatClose, 3);
  staff.Music();
  staff.Bar(kBarSectionClose);
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 4, 3, 4, 3, 4, 5, 6}));
  // The close's own apply brings the pass from 0 back to 1 for a later repeat.
  EXPECT_EQ(state.GetLocalRepeatPass(), 1);
}

TEST(BarLineDataTest, LocalRepeatNeverJumpsWithWalkModeSet) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Bar(kBarLocalRepeatOpen);
  staff.Music();
  staff.Bar(kBarLocalRepeatClose, 3);
  staff.Bar(kBarSectionClose);
  TStaffContextState linear;
  linear.SetLinearWalkMode();
  EXPECT_EQ(WalkPlayOrder(staff, linear), (std::vector<int>{0, 1, 2, 3, 4}));
  TStaffContextState audit;
  audit.SetAuditWalkMode();
  EXPECT_EQ(WalkPlayOrder(staff, audit), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(BarLineDataTest, MasterRepeatPlaysTwiceWithoutEndings) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Music();
  staff.Bar(kBarMasterRepeatOpen);
  staff.Music();
  staff.Bar(kBarMasterRepeatClose);
  staff.Music();
  staff.Bar(kBarSectionClose);
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 4, 3, 4, 5, 6}));
}

TEST(BarLineDataTest, RepeatWithoutOpeningBarGoesBackToItemOne) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Music();
  staff.Bar(kBarMasterRepeatClose);
  staff.Bar(kBarSectionClose);
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 1, 2, 3}));
}

// Backward searches, asked directly: the closing bar is the last item of each layout.
struct SearchCase {
  const char* name;
  std::vector<int> bars;  // bar styles; -1 stands for a non-bar item
  int repeat;             // Repeat of a closing LocalRepeatClose
  int expected;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class BarLineSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(BarLineSearchTest, FindsTheRepeatStart) {
  const SearchCase& c = GetParam();
  TItemStaff staff;
  for (size_t i = 0; i < c.bars.size(); ++i) {
    if (c.bars[i] < 0)
      staff.Music();
    else
      staff.Bar(c.bars[i], i + 1 == c.bars.size() ? c.repeat : 1);
  }
  TStaffContextState state;
  const int last = staff.Count() - 1;
  const auto* closing = ItemAs<TBarLineData>(staff.At(last));
  EXPECT_EQ(closing->NextPlayIndexIn(state, staff.Span(), last), c.expected);
}

constexpr int M = -1;  // a non-bar item
constexpr int S = kBarSingle, LO = kBarLocalRepeatOpen, LC = kBarLocalRepeatClose,
              MO = kBarMasterRepeatOpen, MC = kBarMasterRepeatClose, SO = kBarSectionOpen,
              SC = kBarSectionClose;

INSTANTIATE_TEST_SUITE_P(
    Searches, BarLineSearchTest,
    ::testing::Values(
        SearchCase{"LocalStopsAtOpen", {S, LO, M, S, M, LC}, 2, 2},
        SearchCase{"LocalStopsAtEarlierClose", {S, LO, M, LC, M, LC}, 2, 4},
        SearchCase{"LocalMeetsMasterOpenFirst", {S, LO, MO, M, LC}, 2, 5},
        SearchCase{"LocalPassesWholeMasterRepeat", {S, LO, MO, M, MC, M, LC}, 2, 2},
        SearchCase{"LocalReachesStaffStart", {S, M, M, LC}, 2, 1},
        SearchCase{"MasterStopsAtOpen", {S, MO, M, MC}, 1, 2},
        SearchCase{"MasterStopsAtSectionOpen", {S, MO, SO, M, MC}, 1, 3},
        SearchCase{"MasterStopsAtSectionClose", {S, SC, M, MC}, 1, 2},
        SearchCase{"MasterMeetsLocalOpenFirst", {S, MO, LO, M, MC}, 1, 5},
        SearchCase{"MasterPassesWholeLocalRepeat", {S, MO, LO, M, LC, M, MC}, 1, 2},
        SearchCase{"MasterPassesUnequalLocalBars", {S, MO, LO, LC, LC, M, MC}, 1, 7},
        SearchCase{"MasterReachesStaffStart", {S, M, MC}, 1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BarLineDataTest, MasterRepeatIsNotTakenAfterAJump) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Bar(kBarMasterRepeatOpen);
  staff.Music();
  staff.Bar(kBarMasterRepeatClose);
  TStaffContextState state;
  state.SetFlowJumped();
  const auto* close = ItemAs<TBarLineData>(staff.At(3));
  EXPECT_EQ(close->NextPlayIndexIn(state, staff.Span(), 3), 4);
  state.EnterCoda();
  EXPECT_EQ(close->NextPlayIndexIn(state, staff.Span(), 3), 2);
}

TEST(BarLineDataTest, SearchesStayInsideTheItemArray) {
  // An index past the array (a staff changed under a walk) and an empty array never read
  // outside the items.
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Bar(kBarLocalRepeatOpen);
  TBarLineData close(kBarLocalRepeatClose, 2);
  TStaffContextState state;
  EXPECT_EQ(close.NextPlayIndexIn(state, staff.Span(), 40), 2);
  EXPECT_EQ(close.NextPlayIndexIn(state, TStaffItemSpan(), 5), 1);
  // Through the staff slot, an item with no staff continues after itself or at item 1.
  EXPECT_EQ(TBarLineData(kBarSingle).GetNextPlayIndex(state, nullptr, 7), 8);
}

TEST(BarLineDataTest, KindPredicatesAndExtent) {
  TBarLineData bar;
  EXPECT_EQ(bar.GetType(), kItemBarLine);
  EXPECT_EQ(bar.GetTopPos(), -4);
  EXPECT_EQ(bar.GetBottomPos(), 4);
  EXPECT_EQ(bar.GetMemberCount(), 0);
  EXPECT_EQ(bar.GetMember(0), nullptr);
  EXPECT_FALSE(bar.IsExpressionClass());
  EXPECT_EQ(bar.GetDuration(), 0);
}

}  // namespace
}  // namespace kvt
