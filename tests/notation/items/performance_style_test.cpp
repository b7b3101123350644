#include "notation/items/performance_style.h"

#include <gtest/gtest.h>

#include "notation/context/staff_context_state.h"

namespace kvt {
namespace {

TEST(PerformanceStyleTest, ApplySetsTheStyleAndBoundsUnknownOnes) {
  struct Case {
    int style;
    int stateStyle;
  };
  const Case cases[] = {{0, 0}, {7, 7}, {22, 22}, {23, kPerfStyleNone}, {200, kPerfStyleNone}};
  for (const Case& c : cases) {
    TStaffContextState state;
    TPerformanceStyle(c.style).ApplyToContext(state);
    EXPECT_EQ(state.GetPerfStyle(), c.stateStyle) << c.style;
  }
}

TEST(PerformanceStyleTest, DisplayTexts) {
  EXPECT_EQ(TPerformanceStyle(0).GetDisplayText(), "ad lib.");
  EXPECT_EQ(TPerformanceStyle(5).GetDisplayText(), "espress.");
  EXPECT_EQ(TPerformanceStyle(12).GetDisplayText(), "pi\xC3\xB9 mosso");
  EXPECT_EQ(TPerformanceStyle(22).GetDisplayText(), "volta subito");
  EXPECT_EQ(TPerformanceStyle(23).GetDisplayText(), "***");
  EXPECT_EQ(TPerformanceStyle::DisplayText(-1), "***");
}

}  // namespace
}  // namespace kvt
