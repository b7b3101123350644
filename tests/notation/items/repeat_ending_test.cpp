#include "notation/items/repeat_ending.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

using test::TItemStaff;
using test::WalkPlayOrder;

TEST(SpecialEndingTest, NewEndingDefaults) {
  TSpecialEnding ending;
  EXPECT_EQ(ending.GetType(), kItemEnding);
  EXPECT_EQ(ending.GetStaffPos(), -10);
  EXPECT_EQ(ending.GetTopPos(), 0);
  EXPECT_EQ(ending.GetBottomPos(), 0);
  EXPECT_EQ(ending.GetBracketHeight(), 4);
  EXPECT_EQ(ending.GetVertOffsetStore(), 1);
  EXPECT_EQ(ending.GetVertOffset(), 0);
  EXPECT_FALSE(ending.HasAnyEnding());
  EXPECT_FALSE(ending.IsLaterEnding());
}

TEST(SpecialEndingTest, VertOffsetIsOneMinusTheStoredBracketPosition) {
  TSpecialEnding ending;
  ending.SetVertOffset(3);
  EXPECT_EQ(ending.GetVertOffsetStore(), -2);
  EXPECT_EQ(ending.GetVertOffset(), 3);
  // The extremes saturate instead of overflowing.
  ending.SetVertOffset(INT_MIN);
  EXPECT_EQ(ending.GetVertOffsetStore(), INT_MAX);
  ending.SetVertOffsetStore(INT_MIN);
  EXPECT_EQ(ending.GetVertOffset(), INT_MAX);
}

TEST(SpecialEndingTest, EndingNumbersAreBoundedToOneToSeven) {
  TSpecialEnding ending;
  ending.SetEnding(2, true);
  ending.SetEnding(0, true);
  ending.SetEnding(8, true);
  ending.SetEnding(40, true);
  EXPECT_EQ(ending.GetEndings(), 0x02);
  EXPECT_TRUE(ending.IsLaterEnding());
  // A master pass far above 7 (the state holds up to 127) names no ending.
  for (int pass : {-1, 0, 8, 33, 64, 127}) EXPECT_FALSE(ending.HasEnding(pass)) << pass;
  ending.SetEndings(0x1FF01);
  EXPECT_EQ(ending.GetEndings(), 0x01);
  ending.SetDefaultEnding(true);
  EXPECT_TRUE(ending.HasDefaultEnding());
  EXPECT_FALSE(ending.IsLaterEnding());
}

TEST(SpecialEndingTest, ApplyWithAnEndingSetsMasterCountEight) {
  TStaffContextState state;
  TSpecialEnding empty;
  empty.ApplyToContext(state);
  EXPECT_EQ(state.GetMasterRepeatCount(), 2);
  TSpecialEnding second;
  second.SetEnding(2, true);
  second.ApplyToContext(state);
  EXPECT_EQ(state.GetMasterRepeatCount(), 8);
}

// An ending of the given set at index 2 of: Single, Music, Ending, Music, <layout>.
struct SkipCase {
  const char* name;
  std::vector<int> after;  // bar styles after the ending's bar; -1 a non-bar, -2 an ending 3
  int expected;
};

void PrintTo(const SkipCase& c, std::ostream* os) { *os << c.name; }

class SpecialEndingSkipTest : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SpecialEndingSkipTest, SkippedEndingResumesAtTheRightItem) {
  const SkipCase& c = GetParam();
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Music();
  const TSpecialEnding* ending = staff.Ending({1, 2});
  staff.Music();
  for (int style : c.after) {
    if (style == -1)
      staff.Music();
    else if (style == -2)
      staff.Ending({3});
    else
      staff.Bar(style);
  }
  TStaffContextState state;
  state.SetMasterRepeatPass(3);
  EXPECT_EQ(ending->NextPlayIndexIn(state, staff.Span(), 2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Skips, SpecialEndingSkipTest,
    ::testing::Values(
        SkipCase{"AtDoubleBar", {kBarSingle, -1, kBarDouble}, 6},
        SkipCase{"AtBrokenDouble", {kBarBrokenDouble}, 4},
        SkipCase{"AtSectionOpen", {kBarSingle, kBarSectionOpen}, 5},
        SkipCase{"AtMasterRepeatOpen", {kBarMasterRepeatOpen}, 4},
        SkipCase{"AfterSectionClose", {-1, kBarSectionClose, -1}, 6},
        SkipCase{"AfterMasterRepeatClose", {kBarMasterRepeatClose}, 5},
        SkipCase{"AtNextEnding", {kBarSingle, -2}, 5},
        SkipCase{"AtStaffEndAfterTheEnding", {kBarSingle, kBarLocalRepeatClose}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpecialEndingTest, PlaysByPassWhileRepeatsAreActiveAndByDefaultAfterAJump) {
  // | [1,2. A || : the ending at 1 plays on to 2, or is skipped to the double bar at 3.
  TItemStaff staff;
  staff.Bar(kBarSingle);
  TSpecialEnding* ending = staff.Ending({1, 2});
  staff.Music();
  staff.Bar(kBarDouble);
  struct Case {
    int pass;
    bool jumped;
    bool defaultEnding;
    int expected;
  };
  const Case cases[] = {
      {1, false, false, 2}, {2, false, false, 2}, {3, false, false, 3}, {0, false, false, 2},
      {-1, false, false, 3}, {1, true, false, 3}, {3, true, true, 2},  {1, false, true, 2},
  };
  for (const Case& c : cases) {
    ending->SetDefaultEnding(c.defaultEnding);
    TStaffContextState state;
    state.SetMasterRepeatPass(c.pass);
    if (c.jumped) state.SetFlowJumped();
    EXPECT_EQ(ending->NextPlayIndexIn(state, staff.Span(), 1), c.expected)
        << "pass " << c.pass << " jumped " << c.jumped << " default " << c.defaultEnding;
  }
  // After the coda is entered, repeats count again: the pass decides.
  TStaffContextState coda;
  coda.SetFlowJumped();
  coda.EnterCoda();
  coda.SetMasterRepeatPass(2);
  ending->SetDefaultEnding(false);
  EXPECT_EQ(ending->NextPlayIndexIn(coda, staff.Span(), 1), 2);
}

TEST(SpecialEndingTest, FirstAndSecondEndingsInAMasterRepeat) {
  // |: A [1. B :| [2. C ||
  TItemStaff staff;
  staff.Bar(kBarSingle);            // 0
  staff.Bar(kBarMasterRepeatOpen);  // 1
  staff.Music();                    // 2 A
  staff.Ending({1});                // 3
  staff.Music();                    // 4 B
  staff.Bar(kBarMasterRepeatClose); // 5
  staff.Ending({2});                // 6
  staff.Music();                    // 7 C
  staff.Bar(kBarSectionClose);      // 8
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 4, 5, 2, 3, 6, 7, 8}));
}

TEST(SpecialEndingTest, EndingsOneAndTwoPlayTwiceBeforeTheThird) {
  // |: A [1,2. B :| [3. C ||
  TItemStaff staff;
  staff.Bar(kBarSingle);            // 0
  staff.Bar(kBarMasterRepeatOpen);  // 1
  staff.Music();                    // 2
  staff.Ending({1, 2});             // 3
  staff.Music();                    // 4
  staff.Bar(kBarMasterRepeatClose); // 5
  staff.Ending({3});                // 6
  staff.Music();                    // 7
  staff.Bar(kBarSectionClose);      // 8
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 6, 7, 8}));
}

}  // namespace
}  // namespace kvt
