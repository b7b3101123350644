#include "utils/sizer_stream.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(SizerStreamTest, MeasuresWhatIsWrittenWithoutStoringIt) {
  TKRVSizerStream s;
  s.WriteString("abc");
  s.WriteLong(7);
  s.Printf("x\n");
  EXPECT_EQ(s.Size(), 4 + 4 + 3);
  EXPECT_EQ(s.Tell(), s.Size());
  EXPECT_FALSE(s.IsError());
}

TEST(SizerStreamTest, SizeIsTheHighestPositionReached) {
  TKRVSizerStream s;
  s.Write("12345678", 8);
  ASSERT_TRUE(s.Seek(3));
  s.PutByte('x');
  s.PutByte('y');
  EXPECT_EQ(s.Tell(), 5);
  EXPECT_EQ(s.Size(), 8);
}

TEST(SizerStreamTest, ReadsZerosUpToTheSizeThenTheEndWithoutFault) {
  TKRVSizerStream s;
  s.Write("ab", 2);
  s.Rewind();
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
  EXPECT_EQ(s.Tell(), 2);
}

TEST(SizerStreamTest, SeekBeyondTheSizeReturnsFalseWithoutError) {
  TKRVSizerStream s;
  s.Write("abcd", 4);
  EXPECT_TRUE(s.Seek(4));
  EXPECT_FALSE(s.Seek(5));
  EXPECT_FALSE(s.Seek(-1));
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Tell(), 4);
}

TEST(SizerStreamTest, ClearEmptiesAndClearsTheErrorFlag) {
  TKRVSizerStream s;
  s.Write("abcd", 4);
  s.GetByte();
  ASSERT_TRUE(s.IsError());
  s.Clear();
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Tell(), 0);
}

}  // namespace
}  // namespace kvt
