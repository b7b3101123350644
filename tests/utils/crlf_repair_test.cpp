#include "utils/crlf_repair.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

TEST(CrLfRepairTest, DetectsBytesWhoseLineFeedsAllFollowCarriageReturns) {
  struct Case {
    std::string bytes;
    bool defaultResult;
    bool expected;
  };
  const Case cases[] = {
      {"", true, true},
      {"", false, false},
      {"no line end", true, true},
      {"lone\rreturn", false, false},
      {"a\r\nb", false, true},
      {"\r\r\n", false, true},
      {"only\nbare", true, false},
      {"a\r\nb\n", true, false},
      {"\n", true, false},
      {std::string("bin\0\r\n\xff", 7), false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasCrLfLineEndsOnly(c.bytes, c.defaultResult), c.expected)
        << testing::PrintToString(c.bytes) << " default " << c.defaultResult;
  }
}

TEST(CrLfRepairTest, BareLineFeedFarIntoTheBytesIsFound) {
  std::string bytes;
  for (int i = 0; i < 400; ++i) bytes += "ab\r\n";
  EXPECT_TRUE(HasCrLfLineEndsOnly(bytes, false));
  bytes += "late\n";
  EXPECT_FALSE(HasCrLfLineEndsOnly(bytes, true));
}

TEST(CrLfRepairTest, TurnsEachPairIntoALineFeedAndKeepsOtherReturns) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"\x41\x0D\x0A\x42\x0D\x43\x0D", "\x41\x0A\x42\x0D\x43\x0D"},
      {"", ""},
      {"\r\r\n", "\r\n"},
      {"\r\r\r", "\r\r\r"},
      {"\r\n\r\n", "\n\n"},
      {std::string("\0\r\n\0", 4), std::string("\0\n\0", 3)},
  };
  for (const Case& c : cases) {
    std::optional<std::string> repaired = ConvertCrLfToLf(c.in);
    ASSERT_TRUE(repaired.has_value()) << testing::PrintToString(c.in);
    EXPECT_EQ(*repaired, c.out) << testing::PrintToString(c.in);
  }
}

TEST(CrLfRepairTest, RepairsLongBytes) {
  std::string damaged;
  std::string repaired;
  for (int i = 0; i < 3000; ++i) {
    std::string piece(static_cast<size_t>(i % 7), static_cast<char>('a' + i % 26));
    damaged += piece + (i % 5 == 0 ? "\r" : "\r\n");
    repaired += piece + (i % 5 == 0 ? "\r" : "\n");
  }
  EXPECT_EQ(ConvertCrLfToLf(damaged), repaired);
}

TEST(CrLfRepairTest, FailsOnABareLineFeed) {
  for (const char* bytes : {"a\r\nb\nc", "\n", "\r\n\n"})
    EXPECT_FALSE(ConvertCrLfToLf(bytes).has_value()) << testing::PrintToString(bytes);
}

}  // namespace
}  // namespace kvt
