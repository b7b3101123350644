#include "utils/crlf_repair.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/utils/file_stream_fixture.h"

namespace kvt {
namespace {

class CrLfRepairTest : public FileStreamFixture {};

TEST_F(CrLfRepairTest, DetectsFilesWhoseLineFeedsAllFollowCarriageReturns) {
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
  int index = 0;
  for (const Case& c : cases) {
    std::string path = MakeFile("f" + std::to_string(index++), c.bytes);
    EXPECT_EQ(HasCrLfLineEndsOnly(path.c_str(), c.defaultResult), c.expected)
        << testing::PrintToString(c.bytes) << " default " << c.defaultResult;
  }
}

TEST_F(CrLfRepairTest, BareLineFeedBeyondTheFirstBufferIsFound) {
  std::string bytes;
  for (int i = 0; i < 400; ++i) bytes += "ab\r\n";
  EXPECT_TRUE(HasCrLfLineEndsOnly(MakeFile("good", bytes).c_str(), false));
  bytes += "late\n";
  EXPECT_FALSE(HasCrLfLineEndsOnly(MakeFile("bad", bytes).c_str(), true));
}

TEST_F(CrLfRepairTest, MissingFileIsNotDamaged) {
  EXPECT_FALSE(HasCrLfLineEndsOnly(PathOf("missing").c_str(), true));
}

TEST_F(CrLfRepairTest, TurnsEachPairIntoALineFeedAndKeepsOtherReturns) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"\x41\x0D\x0A\x42\x0D\x43\x0D", "\x41\x0A\x42\x0D\x43\x0D"},
      {"", ""},
      {"\r\r\n", "\r\n"},
      {"\r\r\r", "\r\r\r"},
      {std::string("\0\r\n\0", 4), std::string("\0\n\0", 3)},
  };
  int index = 0;
  for (const Case& c : cases) {
    std::string source = MakeFile("in" + std::to_string(index), c.in);
    std::string target = PathOf("out" + std::to_string(index++));
    ASSERT_TRUE(ConvertCrLfToLf(source.c_str(), target.c_str())) << testing::PrintToString(c.in);
    EXPECT_EQ(Contents(target), c.out) << testing::PrintToString(c.in);
  }
}

TEST_F(CrLfRepairTest, RepairsAFileLargerThanTheBuffers) {
  std::string damaged;
  std::string repaired;
  for (int i = 0; i < 3000; ++i) {
    std::string piece(static_cast<size_t>(i % 7), static_cast<char>('a' + i % 26));
    damaged += piece + (i % 5 == 0 ? "\r" : "\r\n");
    repaired += piece + (i % 5 == 0 ? "\r" : "\n");
  }
  std::string target = PathOf("out");
  ASSERT_TRUE(ConvertCrLfToLf(MakeFile("in", damaged).c_str(), target.c_str()));
  EXPECT_EQ(Contents(target), repaired);
}

TEST_F(CrLfRepairTest, FailsOnABareLineFeed) {
  EXPECT_FALSE(ConvertCrLfToLf(MakeFile("in", "a\r\nb\nc").c_str(), PathOf("out").c_str()));
}

TEST_F(CrLfRepairTest, FailsWhenTheSourceIsMissingOrTheTargetCannotBeWritten) {
  std::string source = MakeFile("in", "a\r\nb");
  EXPECT_FALSE(ConvertCrLfToLf(PathOf("missing").c_str(), PathOf("out").c_str()));
  EXPECT_FALSE(std::filesystem::exists(PathOf("out")));
  EXPECT_FALSE(ConvertCrLfToLf(source.c_str(), PathOf("no/such/folder").c_str()));
  EXPECT_FALSE(ConvertCrLfToLf(source.c_str(), "/dev/full"))
      << "the final flush fails: the copy must not count as done";
}

}  // namespace
}  // namespace kvt
