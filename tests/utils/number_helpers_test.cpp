#include "utils/number_helpers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace kvt {
namespace {

TEST(NumberHelpersTest, Signs) {
  EXPECT_EQ(Sign(-5), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Sign(INT32_MIN), -1);
  EXPECT_EQ(Sign(9), 1);
  EXPECT_EQ(SignReal(-0.5f), -1);
  EXPECT_EQ(SignReal(0.0f), 0);
  EXPECT_EQ(SignReal(-0.0f), 0);
  EXPECT_EQ(SignReal(2.0f), 1);
  EXPECT_EQ(SignReal(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(NumberHelpersTest, RoundToDecimals) {
  const struct {
    float x;
    int n;
    float rounded;
  } cases[] = {
      {12.3456f, 2, 12.35f}, {12.344f, 2, 12.34f}, {-1.005f, 1, -1.0f}, {2.5f, 0, 2.0f},
      {3.5f, 0, 4.0f},       {0.1234567f, -1, 0.123457f},            {1e30f, 2, 1e30f},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundToDecimals(c.x, c.n), c.rounded) << c.x << " " << c.n;
  EXPECT_TRUE(std::isinf(RoundToDecimals(std::numeric_limits<float>::infinity(), 2)));
}

TEST(NumberHelpersTest, RoundToDecimalsIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale";
  EXPECT_EQ(RoundToDecimals(12.3456f, 2), 12.35f);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberHelpersTest, FormatRealUsesFormatWithinBuffer) {
  char buffer[8];
  EXPECT_STREQ(FormatReal(buffer, sizeof buffer, 2.5, "%g"), "2.5");
  EXPECT_STREQ(FormatReal(buffer, sizeof buffer, 1234.5678, "%.3f"), "1234.56");
  EXPECT_STREQ(FormatReal(buffer, sizeof buffer, 1.0, nullptr), "");
  EXPECT_STREQ(FormatReal(buffer, sizeof buffer, 12.5, "%g \xE2\x82\xAC"), "12.5 ");  // no half euro sign
}

TEST(NumberHelpersTest, NextRandom16StepsPlusOneTimes) {
  uint16_t seed = 1;
  // 1 * 25173 + 13849 = 39022.
  EXPECT_EQ(NextRandom16(seed, 0), 39022);
  EXPECT_EQ(seed, 39022);
  uint16_t twice = 1;
  uint16_t once = 1;
  NextRandom16(once, 0);
  NextRandom16(once, 0);
  EXPECT_EQ(NextRandom16(twice, 1), once);
  uint16_t negative = 1;
  EXPECT_EQ(NextRandom16(negative, INT32_MIN), 39022);
  uint16_t wraps = 65535;
  // (65535 * 25173 + 13849) mod 65536 = 54212.
  EXPECT_EQ(NextRandom16(wraps, 0), 54212);
}

}  // namespace
}  // namespace kvt
