#include "utils/char_class.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(CharClassTest, DigitsAndLettersAreAsciiOnly) {
  EXPECT_TRUE(IsCharDigit('0'));
  EXPECT_TRUE(IsCharDigit('9'));
  EXPECT_FALSE(IsCharDigit('a'));
  EXPECT_FALSE(IsCharDigit(' '));
  EXPECT_TRUE(IsCharAlphaNum('z'));
  EXPECT_TRUE(IsCharAlphaNum('Q'));
  EXPECT_TRUE(IsCharAlphaNum('5'));
  EXPECT_FALSE(IsCharAlphaNum('_'));
  // Bytes of multi-byte characters (here the two of "²" and one of "é") are neither.
  for (char c : {'\xC2', '\xB2', '\xE9'}) {
    EXPECT_FALSE(IsCharDigit(c));
    EXPECT_FALSE(IsCharAlphaNum(c));
  }
}

TEST(CharClassTest, NumberText) {
  const struct {
    const char* text;
    bool allowDecimal;
    bool number;
  } cases[] = {
      {"12", false, true},       {" -12 ", false, true},   {"+7", false, true},
      {"- 7", false, true},      {"1.5", true, true},      {".5", true, true},
      {"-0.25  ", true, true},   {"1.", true, true},       {"1.5", false, false},
      {"1 2", false, false},     {"1. 2", true, false},    {"1 .", true, false},
      {"1-", false, false},      {"--1", false, false},    {"+-1", false, false},
      {".-5", true, false},      {"1.2.3", true, false},   {"", false, false},
      {"  ", false, false},      {"-", false, false},      {".", true, false},
      {"12a", false, false},     {"\xD9\xA3", false, false},  // an Arabic-Indic digit is not a digit here
      {nullptr, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumberText(c.text, c.allowDecimal), c.number)
        << (c.text ? c.text : "(null)") << " decimal " << c.allowDecimal;
  }
}

}  // namespace
}  // namespace kvt
