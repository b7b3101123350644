#include "utils/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace kvt {
namespace {

TEST(NumberTextTest, FormatFixedAsPrintf) {
  const struct {
    double value;
    int decimals;
    int width;
    const char* text;
  } cases[] = {
      {2.0, 2, 8, "00002.00"},     {-2.5, 2, 8, "-0002.50"},   {0.5, 3, 7, "000.500"},
      {3.14159, 2, 0, "3.14"},     {2.5, 0, 0, "2"},           {0.125, -1, 0, "0.125000"},
      {1e20, 1, 0, "100000000000000000000.0"},                 {12345.0, 2, 3, "12345.00"},
      {std::numeric_limits<double>::infinity(), 2, 5, "  inf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.decimals, c.width), c.text) << c.value;
  }
}

TEST(NumberTextTest, FormatGeneralAsPrintf) {
  EXPECT_EQ(FormatGeneral(3.5), "3.5");
  EXPECT_EQ(FormatGeneral(1234567.0), "1.23457e+06");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(0.00001), "1e-05");
  EXPECT_EQ(FormatGeneral(100.0), "100");
}

TEST(NumberTextTest, ParseRealPrefixAsScanf) {
  const struct {
    const char* text;
    bool ok;
    float value;
  } cases[] = {
      {"3.5", true, 3.5f},      {"  -2.25xyz", true, -2.25f}, {"+4", true, 4.0f},
      {".5", true, 0.5f},       {"1e3", true, 1000.0f},       {"7,5", true, 7.0f},
      {"--1", false, 0},        {"+-1", false, 0},            {"", false, 0},
      {"abc", false, 0},        {"-", false, 0},              {nullptr, false, 0},
      {"1e-60", true, 0.0f},    {"-1e-999", true, -0.0f},
  };
  for (const auto& c : cases) {
    float value = 99;
    EXPECT_EQ(ParseRealPrefix(c.text, value), c.ok) << (c.text ? c.text : "(null)");
    EXPECT_EQ(value, c.ok ? c.value : 99.0f) << (c.text ? c.text : "(null)");
  }
  float value = 0;
  ASSERT_TRUE(ParseRealPrefix("1e60", value));
  EXPECT_EQ(value, std::numeric_limits<float>::infinity());
  ASSERT_TRUE(ParseRealPrefix("-1e9999", value));
  EXPECT_EQ(value, -std::numeric_limits<float>::infinity());
  ASSERT_TRUE(ParseRealPrefix("nan", value));
  EXPECT_TRUE(std::isnan(value));
}

TEST(NumberTextTest, IgnoresTheLocale) {
  // A locale with a decimal comma, when the machine has one.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale";
  float value = 0;
  EXPECT_TRUE(ParseRealPrefix("2.75", value));
  EXPECT_EQ(value, 2.75f);
  EXPECT_EQ(FormatFixed(2.75, 2), "2.75");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberTextTest, ParseIntText) {
  const struct {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {"42", true, 42},           {" -7 ", true, -7},        {"+3", true, 3},
      {"- 5", true, -5},          {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},                      {"2147483648", false, 0},
      {"99999999999999999999999", false, 0},                 {"1.5", false, 0},
      {"1 2", false, 0},          {"", false, 0},            {nullptr, false, 0},
  };
  for (const auto& c : cases) {
    int32_t value = 99;
    EXPECT_EQ(ParseIntText(c.text, value), c.ok) << (c.text ? c.text : "(null)");
    EXPECT_EQ(value, c.ok ? c.value : 99) << (c.text ? c.text : "(null)");
  }
}

}  // namespace
}  // namespace kvt
