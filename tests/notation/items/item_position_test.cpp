#include "notation/items/item_position.h"

#include <gtest/gtest.h>

#include <limits>

namespace kvt {
namespace {

TEST(ItemPositionTest, RoundsToHundredthsWithinBounds) {
  struct Case {
    double x;
    float pos;
    int steps;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {1.234, 1.23f, 1},    {1.235, 1.24f, 1},   {-0.004, 0.0f, 0}, {-0.006, -0.01f, 0},
      {-7.5, -7.5f, -7},    {1e9, 10000.0f, 10000}, {-1e300, -10000.0f, -10000},
      {nan, 0.0f, 0},       {inf, 0.0f, 0},      {-inf, 0.0f, 0},
  };
  for (const Case& c : cases) {
    const float pos = RoundItemPos(c.x);
    EXPECT_NEAR(pos, c.pos, 1e-5) << c.x;
    EXPECT_EQ(ItemPosToInt(pos), c.steps) << c.x;
  }
  EXPECT_EQ(ItemPosToInt(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(ItemPosToInt(3e38f), 10000);
}

TEST(ItemPositionTest, DurationUnits) {
  const int ticks[] = {768, 384, 192, 96, 48, 24, 12};
  for (int code = 0; code < 7; ++code) EXPECT_EQ(DurationUnitTicks(code), ticks[code]);
  EXPECT_EQ(DurationUnitTicks(7), 192);
  EXPECT_EQ(DurationUnitTicks(-1), 192);
  EXPECT_EQ(HundredthsFromReal(2.0, 1, 9999), 200);
  EXPECT_EQ(HundredthsFromReal(0.0, 1, 9999), 1);
}

}  // namespace
}  // namespace kvt
