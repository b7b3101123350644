#include "notation/items/flow_direction.h"

#include <gtest/gtest.h>

#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

using test::TItemStaff;
using test::WalkPlayOrder;

TEST(FlowDirectionTest, DefaultsAndDisplayTexts) {
  TFlowDirection flow(kFlowDSalFine);
  EXPECT_EQ(flow.GetType(), kItemFlow);
  EXPECT_TRUE(flow.IsExpressionClass());
  EXPECT_FLOAT_EQ(flow.GetPos(), -8.0f);
  EXPECT_TRUE(flow.IsWide());
  EXPECT_EQ(flow.GetDisplayText(), "D.S. al Fine");
  EXPECT_EQ(TFlowDirection::DisplayText(kFlowDCalCoda), "D.C. al Coda");
  EXPECT_EQ(TFlowDirection::DisplayText(10), "***");
  EXPECT_EQ(TFlowDirection::DisplayText(-1), "***");
}

TEST(FlowDirectionTest, ApplyMarksJumpsAndTheCoda) {
  struct Case {
    int style;
    bool jumpedBefore;
    bool jumped, inCoda, repeatsActive, keyReset;
  };
  const Case cases[] = {
      {kFlowCoda, false, false, false, true, false},
      {kFlowSegno, false, false, false, true, false},
      {kFlowFine, true, true, false, false, false},
      {kFlowToCoda, false, false, false, true, false},
      {kFlowToCoda, true, true, true, true, true},
      {kFlowDaCapo, false, true, false, false, true},
      {kFlowDCalCoda, false, true, false, false, true},
      {kFlowDCalFine, false, true, false, false, true},
      {kFlowDalSegno, false, true, false, false, true},
      {kFlowDSalCoda, false, true, false, false, true},
      {kFlowDSalFine, false, true, false, false, true},
  };
  for (const Case& c : cases) {
    TStaffContextState state;
    state.SetKey(0x02, 0, 2);  // B flat
    state.SetRunningAccidental(1, kAccNatural);
    if (c.jumpedBefore) state.SetFlowJumped();
    TFlowDirection(c.style).ApplyToContext(state);
    EXPECT_EQ(state.HasFlowJumped(), c.jumped) << "style " << c.style;
    EXPECT_EQ(state.IsInCoda(), c.inCoda) << "style " << c.style;
    EXPECT_EQ(state.RepeatsActive(), c.repeatsActive) << "style " << c.style;
    EXPECT_EQ(state.GetRunningFlatsMask() == 0x02, c.keyReset) << "style " << c.style;
  }
}

TEST(FlowDirectionTest, FineIsPassedBeforeAJumpAndEndsPlayAfterDaCapo) {
  // | A Fine B D.C.al Fine ||
  TItemStaff staff;
  staff.Bar(kBarSingle);         // 0
  staff.Music();                 // 1
  staff.Flow(kFlowFine);         // 2
  staff.Music();                 // 3
  staff.Flow(kFlowDCalFine);     // 4
  staff.Bar(kBarSectionClose);   // 5
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 4, 0, 1, 2, 5}));
}

TEST(FlowDirectionTest, DalSegnoAlCodaTakesTheCodaAfterTheJump) {
  TItemStaff staff;
  staff.Bar(kBarSingle);        // 0
  staff.Music();                // 1
  staff.Flow(kFlowSegno);       // 2
  staff.Music();                // 3
  staff.Flow(kFlowToCoda);      // 4
  staff.Music();                // 5
  staff.Flow(kFlowDSalCoda);    // 6
  staff.Music();                // 7
  staff.Flow(kFlowCoda);        // 8
  staff.Music();                // 9
  staff.Bar(kBarSectionClose);  // 10
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 8, 9, 10}));
  EXPECT_TRUE(state.IsInCoda());
  EXPECT_TRUE(state.RepeatsActive());
}

TEST(FlowDirectionTest, DalSegnoWithoutSegnoContinuesAfterIt) {
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Music();
  staff.Flow(kFlowDalSegno);
  staff.Music();
  staff.Bar(kBarSectionClose);
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(FlowDirectionTest, ToCodaWithoutCodaGoesPastTheFirstJumpMark) {
  TItemStaff staff;
  staff.Bar(kBarSingle);        // 0
  staff.Flow(kFlowToCoda);      // 1
  staff.Music();                // 2
  staff.Flow(kFlowDaCapo);      // 3
  staff.Music();                // 4
  staff.Bar(kBarSectionClose);  // 5
  TStaffContextState state;
  EXPECT_EQ(WalkPlayOrder(staff, state), (std::vector<int>{0, 1, 2, 3, 0, 1, 4, 5}));
}

TEST(FlowDirectionTest, NextIndexTable) {
  // A staff: Single, Coda, Segno, DaCapo, <the mark under test at 4>, Single.
  TItemStaff staff;
  staff.Bar(kBarSingle);
  staff.Flow(kFlowCoda);
  staff.Flow(kFlowSegno);
  staff.Flow(kFlowDaCapo);
  TFlowDirection* mark = staff.Flow(kFlowCoda);
  staff.Bar(kBarSingle);
  enum Mode { kBefore, kAfterJump, kInCoda };
  struct Case {
    int style;
    Mode mode;
    int expected;
  };
  const Case cases[] = {
      {kFlowCoda, kAfterJump, 5},     {kFlowSegno, kAfterJump, 5},
      {kFlowFine, kBefore, 5},        {kFlowFine, kAfterJump, 5},
      {kFlowToCoda, kBefore, 5},      {kFlowToCoda, kAfterJump, 1},
      {kFlowToCoda, kInCoda, 5},      {kFlowDaCapo, kBefore, 0},
      {kFlowDCalCoda, kBefore, 0},    {kFlowDCalFine, kAfterJump, 5},
      {kFlowDalSegno, kBefore, 2},    {kFlowDSalCoda, kBefore, 2},
      {kFlowDSalFine, kAfterJump, 5},
  };
  for (const Case& c : cases) {
    mark->SetStyle(c.style);
    TStaffContextState state;
    if (c.mode != kBefore) state.SetFlowJumped();
    if (c.mode == kInCoda) state.EnterCoda();
    EXPECT_EQ(mark->NextPlayIndexIn(state, staff.Span(), 4), c.expected)
        << "style " << c.style << " mode " << c.mode;
  }
  // Fine after a jump goes to the last index, wherever it stands.
  TItemStaff shortStaff;
  shortStaff.Bar(kBarSingle);
  TFlowDirection* fine = shortStaff.Flow(kFlowFine);
  shortStaff.Music();
  shortStaff.Music();
  shortStaff.Bar(kBarSectionClose);
  TStaffContextState jumped;
  jumped.SetFlowJumped();
  EXPECT_EQ(fine->NextPlayIndexIn(jumped, shortStaff.Span(), 1), 4);
  // Without items (no staff) every mark continues after itself, Da Capo excepted.
  EXPECT_EQ(fine->NextPlayIndexIn(jumped, TStaffItemSpan(), 1), 2);
}


TEST(FlowDirectionTest, MasterRepeatIsPlayedOnceAfterDaCapo) {
  // | A |: B :| C D.C. ||
  test::TItemStaff staff;
  staff.Bar(kBarSingle);             // 0
  staff.Music();                     // 1
  staff.Bar(kBarMasterRepeatOpen);   // 2
  staff.Music();                     // 3
  staff.Bar(kBarMasterRepeatClose);  // 4
  staff.Music();                     // 5
  staff.Flow(kFlowDaCapo);           // 6
  staff.Bar(kBarSectionClose);       // 7
  TStaffContextState state;
  EXPECT_EQ(test::WalkPlayOrder(staff, state),
            (std::vector<int>{0, 1, 2, 3, 4, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6, 7}));
}

}  // namespace
}  // namespace kvt
