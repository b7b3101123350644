#include "utils/profile_text.h"

#include "utils/ini_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

namespace kvt {
namespace {

TEST(ProfileTextTest, StripQuotesTakesOneMatchingPairOnly) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"\"abc\"", "abc"},   {"'abc'", "abc"},     {"\"abc'", "\"abc'"}, {"\"", "\""},
      {"\"\"", ""},         {"''", ""},           {"\"\"x\"\"", "\"x\""}, {"a\"b\"", "a\"b\""},
      {"", ""},             {"'\"x\"'", "\"x\""},
  };
  for (const Case& c : cases) EXPECT_EQ(StripProfileQuotes(c.in), c.out) << c.in;
}

// Whatever a caller stores must read back the same through the ini reader: quote, put it in
// a line, parse, strip.
TEST(ProfileTextTest, QuotedValuesSurviveTheReader) {
  const char* texts[] = {"plain", "", " lead", "trail ", "  ", "\"quoted\"", "'single'",
                         "\"", "'", "a \"b\" c", "\"half", "tab\t", "x=y", ";not a comment"};
  for (const char* text : texts) {
    std::string line = "[S]\nk=" + QuoteProfileValue(text) + "\n";
    TIniDocument doc = TIniDocument::Parse(line);
    std::optional<std::string_view> stored = doc.Find("S", "k");
    ASSERT_TRUE(stored.has_value()) << text;
    EXPECT_EQ(StripProfileQuotes(*stored), text) << "[" << text << "]";
  }
  EXPECT_EQ(QuoteProfileValue("plain"), "plain");  // plain texts stay readable by hand
}

TEST(ProfileTextTest, CopyCutsOnCharacterBoundaryAndTerminates) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  // "aé€" is 1 + 2 + 3 bytes; size 5 leaves room for 4, which would split the euro sign.
  EXPECT_EQ(CopyProfileText(buffer, 5, "a\xC3\xA9\xE2\x82\xAC"), 3);
  EXPECT_STREQ(buffer, "a\xC3\xA9");
  EXPECT_EQ(buffer[4], 'x');  // nothing written past size
  EXPECT_EQ(CopyProfileText(buffer, 1, "abc"), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(CopyProfileText(buffer, 0, "abc"), 0);
  EXPECT_EQ(CopyProfileText(nullptr, 8, "abc"), 0);
  EXPECT_EQ(CopyProfileText(buffer, 8, "abc"), 3);
  EXPECT_STREQ(buffer, "abc");
  // Continuation bytes without a lead byte: the cut still ends within three steps.
  EXPECT_LE(CopyProfileText(buffer, 6, "\x80\x80\x80\x80\x80\x80\x80\x80"), 5);
}

TEST(ProfileTextTest, DwordNeedsTheWholeTextToBeOneInteger) {
  struct Case {
    const char* in;
    std::optional<int32_t> out;
  } cases[] = {
      {"0", 0},
      {"123", 123},
      {"-5", -5},
      {"+7", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"4294967295", -1},  // a 32-bit word written unsigned
      {"4294967296", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"--5", std::nullopt},
      {"+-5", std::nullopt},
      {"12ab", std::nullopt},
      {"0x10", std::nullopt},
      {" 5", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProfileDword(c.in), c.out) << c.in;
}

TEST(ProfileTextTest, IntPrefixReadsLeadingNumber) {
  struct Case {
    const char* in;
    int32_t out;
  } cases[] = {
      {"", 77},  // empty: the default
      {"12", 12},
      {"  12abc", 12},
      {"-3", -3},
      {"abc", 0},
      {"+", 0},
      {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProfileIntPrefix(c.in, 77), c.out) << c.in;
}

}  // namespace
}  // namespace kvt
