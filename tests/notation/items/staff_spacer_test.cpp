#include "notation/items/staff_spacer.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace kvt {
namespace {

TEST(StaffSpacerTest, WidthStaysWithinZeroTo9999) {
  EXPECT_EQ(TStaffSpacer(12000).GetWidthValue(), 9999);
  EXPECT_EQ(TStaffSpacer(-3).GetWidthValue(), 0);
  TStaffSpacer spacer(9990);
  spacer.AdjustWidth(50);
  EXPECT_EQ(spacer.GetWidthValue(), 9999);
  spacer.AdjustWidth(-20000);
  EXPECT_EQ(spacer.GetWidthValue(), 0);
  spacer.AdjustWidth(INT_MAX);
  EXPECT_EQ(spacer.GetWidthValue(), 9999);
  spacer.AdjustWidth(INT_MIN);
  EXPECT_EQ(spacer.GetWidthValue(), 0);
}

TEST(StaffSpacerTest, RealWidths) {
  struct Case {
    double x;
    int width;
  };
  const Case cases[] = {{1.5, 150},   {0.994, 100}, {0.993, 99},
                        {-1.0, 0},    {500.0, 9999},
                        {std::numeric_limits<double>::quiet_NaN(), 0},
                        {std::numeric_limits<double>::infinity(), 0}};
  for (const Case& c : cases) {
    TStaffSpacer spacer;
    spacer.SetWidthReal(c.x);
    EXPECT_EQ(spacer.GetWidthValue(), c.width) << c.x;
  }
  EXPECT_DOUBLE_EQ(TStaffSpacer(250).GetWidthReal(), 2.5);
}

}  // namespace
}  // namespace kvt
