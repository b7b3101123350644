#include "notation/items/staff_sizer.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(StaffSizerTest, StylesSetTheirDefaults) {
  TStaffSizer sizer;
  EXPECT_EQ(sizer.GetType(), kItemBoundary);
  EXPECT_EQ(sizer.GetStyle(), kSizerReset);
  sizer.SetStyle(kSizerNewSize);
  EXPECT_EQ(sizer.GetUpper(), 8);
  EXPECT_EQ(sizer.GetLower(), 0);
  sizer.SetStyle(kSizerGap);
  EXPECT_EQ(sizer.GetGapWidth(), 200);
  EXPECT_FALSE(sizer.HasSystemConnections());
  EXPECT_EQ(sizer.GetUpper(), 0);  // getters of other styles answer 0
  sizer.SetStyle(kSizerNewSystem);
  EXPECT_FALSE(sizer.IsNewPage());
  EXPECT_EQ(sizer.GetGapWidth(), 0);
}

TEST(StaffSizerTest, NewSizeValues) {
  struct Case {
    int upper, lower;
    int storedUpper, storedLower;
  };
  const Case cases[] = {{0, 0, 8, 0},     {150, 3, 99, 3}, {100, 100, 100, 100},
                        {-4, 6, 0, 6},    {-1, -1, 8, 0},  {12, 0, 12, 0}};
  for (const Case& c : cases) {
    TStaffSizer sizer;
    sizer.SetStyle(kSizerNewSize);
    sizer.SetNewSize(c.upper, c.lower);
    EXPECT_EQ(sizer.GetUpper(), c.storedUpper) << c.upper << "," << c.lower;
    EXPECT_EQ(sizer.GetLower(), c.storedLower) << c.upper << "," << c.lower;
  }
}

TEST(StaffSizerTest, GapWidthAndConnectionsShareOneWord) {
  TStaffSizer sizer;
  sizer.SetSystemConnections(true);  // ignored: not a gap
  sizer.SetStyle(kSizerGap);
  EXPECT_FALSE(sizer.HasSystemConnections());
  sizer.SetSystemConnections(true);
  sizer.SetGapWidth(40000);
  EXPECT_EQ(sizer.GetGapWidth(), 32767);
  EXPECT_TRUE(sizer.HasSystemConnections());
  sizer.SetGapWidthReal(1.25);
  EXPECT_EQ(sizer.GetGapWidth(), 125);
  EXPECT_DOUBLE_EQ(sizer.GetGapWidthReal(), 1.25);
  EXPECT_TRUE(sizer.HasSystemConnections());
  sizer.SetSystemConnections(false);
  EXPECT_EQ(sizer.GetGapWidth(), 125);
  EXPECT_FALSE(sizer.HasSystemConnections());
  sizer.SetGapWidth(-5);
  EXPECT_EQ(sizer.GetGapWidth(), 0);
}

TEST(StaffSizerTest, NewPageOnlyForNewSystem) {
  TStaffSizer sizer;
  sizer.SetStyle(kSizerNewSystem);
  sizer.SetNewPage(true);
  EXPECT_TRUE(sizer.IsNewPage());
  sizer.SetStyle(kSizerNewSystem);  // clears NewPage
  EXPECT_FALSE(sizer.IsNewPage());
  sizer.SetNewPage(true);
  sizer.SetStyle(kSizerCollapse);
  EXPECT_FALSE(sizer.IsNewPage());
}

}  // namespace
}  // namespace kvt
