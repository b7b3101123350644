#include "utils/seg_ram_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "utils/precondition.h"

namespace kvt {
namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251 + 1);
  return bytes;
}

// (segment size, byte count): every pair round-trips through byte-wise and block operations.
class SegRamRoundTripTest : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(SegRamRoundTripTest, BytesComeBackInOrderThenTheEndWithoutFault) {
  auto [segmentSize, count] = GetParam();
  std::vector<uint8_t> data = Pattern(static_cast<size_t>(count));
  for (bool blockWrite : {false, true}) {
    for (bool blockRead : {false, true}) {
      SCOPED_TRACE(testing::Message() << "blockWrite " << blockWrite << " blockRead " << blockRead);
      TKRVSegRamStream s(segmentSize);
      if (blockWrite) {
        // Odd pieces, so that pieces straddle segment ends.
        for (int done = 0; done < count;) {
          int piece = std::min(count - done, 5);
          s.Write(data.data() + done, piece);
          done += piece;
        }
      } else {
        for (uint8_t b : data) s.PutByte(b);
      }
      EXPECT_EQ(s.Size(), count);
      EXPECT_EQ(s.Tell(), count);
      s.Rewind();
      std::vector<uint8_t> back(static_cast<size_t>(count));
      if (blockRead) {
        for (int done = 0; done < count;) {
          int piece = std::min(count - done, 3);
          ASSERT_EQ(s.Read(back.data() + done, piece), piece);
          done += piece;
        }
      } else {
        for (uint8_t& b : back) b = static_cast<uint8_t>(s.GetByte());
      }
      EXPECT_FALSE(s.IsError());
      EXPECT_EQ(back, data);
      uint8_t extra[2];
      EXPECT_EQ(s.Read(extra, 2), 0);
      EXPECT_TRUE(s.IsError());
      EXPECT_FALSE(s.IsFailed());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SegRamRoundTripTest,
                         testing::Combine(testing::Values(1, 3, 4, 1000, 0x8000),
                                          testing::Values(0, 1, 4, 5, 12, 1000, 70001)));

TEST(SegRamStreamTest, TenBytesInFourByteSegmentsUseThreeAndClearKeepsOne) {
  TKRVSegRamStream s(4);
  s.Write("0123456789", 10);
  EXPECT_EQ(s.SegmentCount(), 3u);
  s.Clear();
  EXPECT_EQ(s.SegmentCount(), 1u);
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
}

TEST(SegRamStreamTest, SeekReachesEveryPositionIncludingSegmentEnds) {
  std::vector<uint8_t> data = Pattern(12);
  TKRVSegRamStream s(4);
  s.Write(data.data(), 12);
  for (int p = 0; p < 12; ++p) {
    ASSERT_TRUE(s.Seek(p));
    EXPECT_EQ(s.Tell(), p);
    EXPECT_EQ(s.GetByte(), data[static_cast<size_t>(p)]) << "position " << p;
  }
  ASSERT_TRUE(s.Seek(12));
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
}

TEST(SegRamStreamTest, SeekToTheSizeSucceedsAndOneBeyondLeavesNoError) {
  TKRVSegRamStream s(4);
  s.Write("abcdefgh", 8);
  EXPECT_TRUE(s.Seek(8));
  EXPECT_FALSE(s.Seek(9));
  EXPECT_FALSE(s.Seek(-1));
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Tell(), 8);
}

TEST(SegRamStreamTest, WritingAtTheSizeOnASegmentEndAppends) {
  TKRVSegRamStream s(4);
  s.Write("abcdefgh", 8);
  s.Seek(2);
  s.Seek(8);
  s.Write("ij", 2);
  EXPECT_EQ(s.SegmentCount(), 3u);
  char back[11] = {};
  s.Rewind();
  EXPECT_EQ(s.Read(back, 10), 10);
  EXPECT_STREQ(back, "abcdefghij");
}

TEST(SegRamStreamTest, OverwritingInTheMiddleKeepsTheSize) {
  TKRVSegRamStream s(3);
  s.Write("abcdefgh", 8);
  s.Seek(2);
  s.Write("XYZW", 4);
  EXPECT_EQ(s.Size(), 8);
  EXPECT_EQ(s.Tell(), 6);
  char back[9] = {};
  s.Rewind();
  s.Read(back, 8);
  EXPECT_STREQ(back, "abXYZWgh");
}

TEST(SegRamStreamTest, ClearedStreamIsWrittenAgainFromTheStart) {
  TKRVSegRamStream s(4);
  s.Write("0123456789", 10);
  s.Clear();
  s.Write("abcdef", 6);
  EXPECT_EQ(s.Size(), 6);
  char back[7] = {};
  s.Rewind();
  EXPECT_EQ(s.Read(back, 10), 6);
  EXPECT_STREQ(back, "abcdef");
}

TEST(SegRamStreamTest, ResetGivesZerosPositionedAtTheStart) {
  TKRVSegRamStream s(2);
  s.Write("abcdefgh", 8);
  s.Reset(3);
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.ReadShort(), 0);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_FALSE(s.IsError());
}

TEST(SegRamStreamTest, CopyFromCopiesAWholeStream) {
  std::vector<uint8_t> data = Pattern(70000);
  TKRVSegRamStream source(1000);
  source.Write(data.data(), 70000);
  TKRVSegRamStream target(0x8000);
  target.CopyFrom(source);
  EXPECT_EQ(target.Size(), 70000);
  std::vector<uint8_t> back(70000);
  target.Rewind();
  EXPECT_EQ(target.Read(back.data(), 70000), 70000);
  EXPECT_EQ(back, data);
}

TEST(SegRamStreamTest, SegmentSizeOutsideSixteenBitsIsAPrecondition) {
  EXPECT_THROW(TKRVSegRamStream(0), TPreconditionError);
  EXPECT_THROW(TKRVSegRamStream(0x10000), TPreconditionError);
  EXPECT_NO_THROW(TKRVSegRamStream(0xFFFF));
}

}  // namespace
}  // namespace kvt
