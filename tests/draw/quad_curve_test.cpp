#include "draw/quad_curve.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace kvt {
namespace {

TEST(QuadCurveTest, ToCubicBezier) {
  TDcPoint out[4];
  TQuadCurve(0, 0, 30, -30, 60, 0).ToCubicBezier(out);
  EXPECT_EQ(out[0], (TDcPoint{0, 0}));
  EXPECT_EQ(out[1], (TDcPoint{20, -20}));
  EXPECT_EQ(out[2], (TDcPoint{40, -20}));
  EXPECT_EQ(out[3], (TDcPoint{60, 0}));
  // Truncating division, towards zero on both sides.
  TQuadCurve(0, 0, 1, -1, 2, 0).ToCubicBezier(out);
  EXPECT_EQ(out[1], (TDcPoint{0, 0}));
  EXPECT_EQ(out[2], (TDcPoint{1, -1}));
  // Extreme fields do not overflow.
  TQuadCurve(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX).ToCubicBezier(out);
  EXPECT_EQ(out[3], (TDcPoint{INT_MIN, INT_MAX}));
}

TEST(QuadCurveTest, SafeDivide) {
  EXPECT_DOUBLE_EQ(TQuadCurve::SafeDivide(1, 0), 10000);
  EXPECT_DOUBLE_EQ(TQuadCurve::SafeDivide(1, -0.00001), -10000);
  EXPECT_DOUBLE_EQ(TQuadCurve::SafeDivide(6, 3), 2);
}

TEST(QuadCurveTest, SolveAndY) {
  const TQuadCurve c(0, 0, 30, -30, 60, 0);
  double t1 = 0, t2 = 0;
  EXPECT_EQ(c.SolveX(30, t1, t2), 1);
  EXPECT_DOUBLE_EQ(t1, 0.5);
  EXPECT_EQ(c.YAtX(30), -15);
  EXPECT_EQ(c.YAtX(-5), 0);
  EXPECT_EQ(c.YAtX(100), 0);
  EXPECT_TRUE(c.ContainsX(60));
  EXPECT_FALSE(c.StrictlyContainsX(60));
}

TEST(QuadCurveTest, PassThroughLiftsTheCurve) {
  TQuadCurve c(0, 0, 30, 0, 60, 0);
  EXPECT_EQ(c.PassThrough(30, -10, +1), 1);
  EXPECT_EQ(c.YAtX(30), -10);
  // Already beyond: unchanged.
  EXPECT_EQ(c.PassThrough(30, -5, +1), 1);
  EXPECT_EQ(c.YAtX(30), -10);
  EXPECT_EQ(c.PassThrough(60, -100, +1), 0);
}

TEST(QuadCurveTest, PassThroughNearAnEndKeepsTheControlNear) {
  TQuadCurve c(0, 0, 50000, 0, 100000, 0);
  EXPECT_EQ(c.PassThrough(1, -2000000000, +1), 1);
  EXPECT_GE(c.cy, -2000000000 - 100001);
  TQuadCurve far(INT_MIN, INT_MAX, 0, 0, INT_MAX, INT_MIN);
  far.PassThrough(INT_MIN + 1, INT_MIN, +1);
  SUCCEED();  // no overflow (the sanitizer build checks)
}

TEST(QuadCurveTest, FitOverTwoPointsRisesTheHeight) {
  TQuadCurve c;
  const std::vector<TDcPoint> points = {{0, 0}, {100, 0}};
  c.FitOver(points, 10, +1);
  EXPECT_EQ(c.YAtX(50), -10);
  // Below, the tangent crossing moves the control a pixel off the middle.
  c.FitOver(points, 10, -1);
  EXPECT_NEAR(c.YAtX(50), 10, 1);
}

TEST(QuadCurveTest, FitOverClearsInnerPoints) {
  TQuadCurve c;
  const std::vector<TDcPoint> points = {{0, 0}, {30, -40}, {70, -10}, {100, 0}};
  c.FitOver(points, 10, +1);
  // Through each point, up to the truncation of the curve's y.
  EXPECT_LE(c.YAtX(30), -39);
  EXPECT_LE(c.YAtX(70), -9);
  c.FitOver(std::vector<TDcPoint>{}, 10, 1);  // nothing
  c.FitOver(std::vector<TDcPoint>{{5, 5}}, 10, 1);
  EXPECT_EQ(c, TQuadCurve(5, 5, 5, 5, 5, 5));
}

}  // namespace
}  // namespace kvt
