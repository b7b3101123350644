#include "notation/items/notation_marker.h"

#include <gtest/gtest.h>

#include <limits>

namespace kvt {
namespace {

TEST(NotationMarkerTest, DefaultsAndPosition) {
  TNotationMarker marker;
  EXPECT_EQ(marker.GetType(), kItemMarker);
  EXPECT_FLOAT_EQ(marker.GetPos(), 0.0f);
  EXPECT_EQ(marker.GetTarget(), kMarkerSlur);
  marker.SetPos(-3.456);
  EXPECT_FLOAT_EQ(marker.GetPos(), -3.46f);
  EXPECT_EQ(marker.GetStaffPos(), -3);
  EXPECT_EQ(marker.GetTopPos(), -3);
  EXPECT_EQ(marker.GetBottomPos(), -3);
  marker.SetStaffPos(5);
  EXPECT_FLOAT_EQ(marker.GetPos(), 5.0f);
  marker.SetTarget(kMarkerArticulation | kMarkerTriplet);
  EXPECT_EQ(marker.GetTarget(), 5);
}

TEST(NotationMarkerTest, PositionsFromDamagedDataStayDefined) {
  TNotationMarker marker;
  marker.SetPos(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(marker.GetStaffPos(), 0);
  marker.SetPos(1e30);
  EXPECT_EQ(marker.GetStaffPos(), 10000);
  marker.SetPos(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(marker.GetStaffPos(), 0);
}

}  // namespace
}  // namespace kvt
