#include "utils/percent_counter.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

int PercentAfter(uint32_t total, uint32_t steps) {
  TPercentCounter counter(total);
  int percent = counter.Percent();
  for (uint32_t i = 0; i < steps; ++i) percent = counter.Step();
  return percent;
}

TEST(PercentCounterTest, PercentOfSteps) {
  const struct {
    uint32_t total;
    uint32_t steps;
    int percent;
  } cases[] = {
      {0, 0, 0},           {0, 1, 100},  // a total of 0 counts as 1
      {4, 1, 25},          {3, 2, 66},         {200, 500, 100},  // past the total stays at 100
      {0xC00000, 0x600000, 50},
      {20000000, 10000000, 51},  // large totals: done / (total / 100) + 1
      {20000000, 0, 1},
      {0xFFFFFFFF, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PercentAfter(c.total, c.steps), c.percent) << c.total << " " << c.steps;
  }
}

}  // namespace
}  // namespace kvt
