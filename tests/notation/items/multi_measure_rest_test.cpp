#include "notation/items/multi_measure_rest.h"

#include <gtest/gtest.h>

#include <climits>

#include "notation/context/staff_context_state.h"

namespace kvt {
namespace {

TEST(MultiMeasureRestTest, NewRestDefaults) {
  TMultiMeasureRest rest(4);
  EXPECT_EQ(rest.GetType(), kItemMultiBarRest);
  EXPECT_EQ(rest.GetNumBars(), 4);
  EXPECT_EQ(rest.GetBarTicks(), 768);
  EXPECT_EQ(rest.GetDuration(), 3072);
  EXPECT_FALSE(rest.IsPrintOnce());
  EXPECT_TRUE(rest.IsShowBarsWhenHidden());
  EXPECT_TRUE(rest.IsShowRestsWhenHidden());
  EXPECT_EQ(rest.GetTopPos(), -2);
  EXPECT_EQ(rest.GetBottomPos(), 2);
  EXPECT_EQ(TMultiMeasureRest(0).GetNumBars(), 1);
  EXPECT_EQ(TMultiMeasureRest(-5).GetNumBars(), 1);
  EXPECT_EQ(TMultiMeasureRest(70000).GetNumBars(), 65535);
}

TEST(MultiMeasureRestTest, BarTicksAndDuration) {
  struct Case {
    int bars, count, unit;
    int barTicks, duration;
  };
  const Case cases[] = {
      {4, 3, 2, 576, 2304},               // 4 bars of 3/4
      {2, 6, 3, 576, 1152},               // 6/8
      {1, 2, 1, 768, 768},                // 2/2
      {3, 4, 9, 768, 2304},               // unknown unit code: quarters
      {1, 128, 0, 98304, 98304},          // 128/1 does not wrap at 16 bits
      {255, 128, 0, 98304, 25067520},
      {65535, 128, 0, 98304, INT_MAX},    // saturates instead of overflowing
      {5, -3, 2, 0, 0},
  };
  for (const Case& c : cases) {
    TMultiMeasureRest rest(c.bars);
    rest.SetBarTicks(c.count, c.unit);
    EXPECT_EQ(rest.GetBarTicks(), c.barTicks) << c.count << " x unit " << c.unit;
    EXPECT_EQ(rest.GetDuration(), c.duration) << c.bars << " bars of " << c.count;
  }
}

TEST(MultiMeasureRestTest, ApplyAdvancesTheSongPosition) {
  TStaffContextState state;
  state.SetSongPosition(100);
  TMultiMeasureRest rest(4);
  rest.SetBarTicks(3, 2);
  rest.ApplyToContext(state);
  EXPECT_EQ(state.GetSongPosition(), 2404);
}

}  // namespace
}  // namespace kvt
