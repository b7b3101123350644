// The deadlines of script calls: nesting, dialog time, and the clock they run on.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "scripting/lua_state_limits.h"
#include "scripting/script_clock.h"

namespace kvt {
namespace {

class TTestLimits final : public TLuaStateLimits {
public:
  TTestLimits() : TLuaStateLimits(1 << 20) {}
  void OnDeadlinePassed(lua_State*) override {}
};

TEST(LuaStateLimitsTest, NestedCallGetsTheEarlierDeadlineAndGivesTheOuterBack) {
  TTestLimits limits;
  TLuaStateLimits::TDeadlineScope outer(limits, 500);
  const int64_t outerDeadline = limits.GetDeadline();
  {
    // A longer own time cannot outlast the outer call.
    TLuaStateLimits::TDeadlineScope inner(limits, 60000);
    EXPECT_EQ(limits.GetDeadline(), outerDeadline);
  }
  {
    TLuaStateLimits::TDeadlineScope inner(limits, 10);
    EXPECT_LT(limits.GetDeadline(), outerDeadline);
  }
  EXPECT_EQ(limits.GetDeadline(), outerDeadline);
}

TEST(LuaStateLimitsTest, DialogTimeMovesEveryOpenDeadline) {
  TTestLimits limits;
  TLuaStateLimits::TDeadlineScope outer(limits, 100);
  const int64_t outerDeadline = limits.GetDeadline();
  {
    TLuaStateLimits::TDeadlineScope inner(limits, 100);
    const int64_t innerDeadline = limits.GetDeadline();
    {
      TLuaStateLimits::TDialogTimeScope dialog(limits);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    EXPECT_GE(limits.GetDeadline() - innerDeadline, 140);
    EXPECT_FALSE(limits.IsPastDeadline());
  }
  EXPECT_GE(limits.GetDeadline() - outerDeadline, 140);
  EXPECT_FALSE(limits.IsPastDeadline());
}

TEST(LuaStateLimitsTest, DeadlinesAreSixtyFourBitMilliseconds) {
  TTestLimits limits;
  // Beyond 49.7 days of 32-bit milliseconds, a deadline still compares right.
  const int64_t now = ScriptClockNowMs();
  limits.SetDeadline(int64_t{1} << 33);
  EXPECT_GT(limits.GetDeadline(), now + (int64_t{1} << 32));
  EXPECT_FALSE(limits.IsPastDeadline());
  limits.SetDeadline(-1);
  EXPECT_TRUE(limits.IsPastDeadline());
}

}  // namespace
}  // namespace kvt
