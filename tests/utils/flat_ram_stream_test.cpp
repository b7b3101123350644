#include "utils/flat_ram_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "utils/precondition.h"

namespace kvt {
namespace {

struct GrowthCase {
  int capacity;
  int growStep;
  int written;
  int expectedCapacity;
};

class FlatRamGrowthTest : public testing::TestWithParam<GrowthCase> {};

TEST_P(FlatRamGrowthTest, GrowsByTheStepAndKeepsEveryByte) {
  const GrowthCase& c = GetParam();
  std::vector<uint8_t> data(static_cast<size_t>(c.written));
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i + 1);
  for (bool block : {false, true}) {
    SCOPED_TRACE(block ? "Write" : "PutByte");
    TKRVFlatRamStream s(c.capacity, c.growStep);
    if (block)
      s.Write(data.data(), c.written);
    else
      for (uint8_t b : data) s.PutByte(b);
    EXPECT_FALSE(s.IsError());
    EXPECT_EQ(s.Capacity(), c.expectedCapacity);
    EXPECT_EQ(s.Size(), c.written);
    std::vector<uint8_t> back(data.size());
    s.Rewind();
    EXPECT_EQ(s.Read(back.data(), c.written), c.written);
    EXPECT_EQ(back, data);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FlatRamGrowthTest,
                         testing::Values(GrowthCase{4, 16, 5, 20}, GrowthCase{32, 16, 33, 48},
                                         GrowthCase{4, 16, 4, 4}, GrowthCase{0, 16, 1, 16},
                                         GrowthCase{4, 16, 21, 36}, GrowthCase{0, 1, 300, 300},
                                         GrowthCase{100, 4096, 100000, 102500}));

TEST(FlatRamStreamTest, GrowStepZeroRefusesTheByteBeyondTheCapacity) {
  for (bool block : {false, true}) {
    TKRVFlatRamStream s(4, 0);
    if (block) {
      s.Write("abcde", 5);
    } else {
      for (char c : std::string("abcde")) s.PutByte(c);
    }
    EXPECT_TRUE(s.IsError());
    EXPECT_TRUE(s.IsFailed()) << "a refused write is a fault, not the end of data";
    EXPECT_EQ(s.Capacity(), 4);
    EXPECT_EQ(s.Size(), 4);
    char back[5] = {};
    s.Rewind();
    EXPECT_EQ(s.Read(back, 4), 4);
    EXPECT_STREQ(back, "abcd");
  }
}

TEST(FlatRamStreamTest, CallerMemoryTakesEightBytesAndRefusesTheNinth) {
  char memory[9] = {};
  TKRVFlatRamStream s(memory, 8, 0);
  EXPECT_EQ(s.Size(), 0);
  s.Write("12345678", 8);
  EXPECT_FALSE(s.IsError());
  s.PutByte('9');
  EXPECT_TRUE(s.IsFailed());
  EXPECT_EQ(s.Size(), 8);
  EXPECT_STREQ(memory, "12345678");
  EXPECT_EQ(memory[8], 0);
  EXPECT_FALSE(s.IsOwned());
}

TEST(FlatRamStreamTest, CallerMemoryWithDataIsReadFromTheStart) {
  char memory[16] = "hello";
  TKRVFlatRamStream s(memory, 16, 5);
  EXPECT_EQ(s.Size(), 5);
  char text[16];
  s.ReadString(text, sizeof text);
  EXPECT_STREQ(text, "hello");
  EXPECT_TRUE(s.IsError()) << "the data ends before a terminator";
  EXPECT_FALSE(s.IsFailed());
}

TEST(FlatRamStreamTest, EmptyStreamCanNeitherGrowNorRead) {
  TKRVFlatRamStream s;
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
  s.Rewind();
  s.PutByte('a');
  EXPECT_TRUE(s.IsFailed());
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Capacity(), 0);
}

TEST(FlatRamStreamTest, ShortReadReturnsTheCountAndSetsOnlyTheErrorFlag) {
  TKRVFlatRamStream s(8, 8);
  s.Write("abc", 3);
  s.Rewind();
  char back[8] = {};
  EXPECT_EQ(s.Read(back, 8), 3);
  EXPECT_STREQ(back, "abc");
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
}

TEST(FlatRamStreamTest, SeekToTheSizeSucceedsAndOneBeyondLeavesNoError) {
  TKRVFlatRamStream s(16, 0);
  s.Write("abcdef", 6);
  EXPECT_TRUE(s.Seek(2));
  EXPECT_EQ(s.GetByte(), 'c');
  EXPECT_TRUE(s.Seek(6));
  EXPECT_FALSE(s.Seek(7));
  EXPECT_FALSE(s.Seek(-1));
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Tell(), 6);
}

TEST(FlatRamStreamTest, ClearEmptiesButKeepsTheMemory) {
  TKRVFlatRamStream s(4, 4);
  s.Write("abcdefghij", 10);
  int capacity = s.Capacity();
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.Capacity(), capacity);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
}

TEST(FlatRamStreamTest, ResetGivesZerosPositionedAtTheStart) {
  TKRVFlatRamStream s(2, 2);
  s.Write("abcdef", 6);
  s.Reset(3);
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.ReadShort(), 0);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_FALSE(s.IsError());
}

TEST(FlatRamStreamTest, BadCallerArgumentsArePreconditions) {
  char memory[4];
  EXPECT_THROW(TKRVFlatRamStream(memory, 4, 5), TPreconditionError);
  EXPECT_THROW(TKRVFlatRamStream(memory, 4, -1), TPreconditionError);
  EXPECT_THROW(TKRVFlatRamStream(nullptr, 4, 0), TPreconditionError);
  EXPECT_THROW(TKRVFlatRamStream(-1, 16), TPreconditionError);
  EXPECT_THROW(TKRVFlatRamStream(16, -1), TPreconditionError);
}

}  // namespace
}  // namespace kvt
