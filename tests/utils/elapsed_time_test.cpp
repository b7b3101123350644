#include "utils/elapsed_time.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(ElapsedTimeTest, SplitsMilliseconds) {
  const struct {
    uint32_t ms;
    uint32_t hours;
    int minutes;
    int seconds;
    uint32_t milliseconds;
  } cases[] = {
      {3723004, 1, 2, 3, 4},
      {0, 0, 0, 0, 0},
      {59999, 0, 0, 59, 999},
      {3599999, 0, 59, 59, 999},
      {0xFFFFFFFF, 1193, 2, 47, 295},
  };
  for (const auto& c : cases) {
    const TElapsedTime time(c.ms);
    EXPECT_EQ(time.GetHours(), c.hours) << c.ms;
    EXPECT_EQ(time.GetMinutes(), c.minutes) << c.ms;
    EXPECT_EQ(time.GetSeconds(), c.seconds) << c.ms;
    EXPECT_EQ(time.GetMilliseconds(), c.milliseconds) << c.ms;
  }
}

}  // namespace
}  // namespace kvt
