#include "utils/bool_array.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/utils/byte_vector_stream.h"

namespace kvt {
namespace {

// Bits from a text of '0' and '1', bit 0 first.
TKVBoolArray BitsOf(const std::string& bits) {
  TKVBoolArray array(static_cast<int32_t>(bits.size()));
  for (size_t i = 0; i < bits.size(); ++i) array.Set(static_cast<int32_t>(i), bits[i] == '1');
  return array;
}

std::string TextOf(const TKVBoolArray& array) {
  std::string bits;
  for (int32_t i = 0; i < array.GetBitCount(); ++i) bits.push_back(array.Get(i) ? '1' : '0');
  return bits;
}

TEST(BoolArrayTest, ByteSizeFollowsStorageRule) {
  const struct {
    int32_t bits;
    int32_t bytes;
  } cases[] = {{0, 2}, {7, 2}, {8, 4}, {16, 6}, {24, 4}, {64, 10}, {255, 32}, {256, 34}};
  for (const auto& c : cases) {
    EXPECT_EQ(TKVBoolArray(c.bits).GetByteSize(), c.bytes) << c.bits << " bits";
  }
}

TEST(BoolArrayTest, BitLayoutIsLeastSignificantFirst) {
  TKVBoolArray array(16);
  array.Set(0, true);
  array.Set(9, true);
  EXPECT_EQ(array.Data()[0], 0x01);
  EXPECT_EQ(array.Data()[1], 0x02);
}

TEST(BoolArrayTest, SizesAndIndexesAreBounded) {
  EXPECT_EQ(TKVBoolArray(-5).GetBitCount(), 0);
  TKVBoolArray huge(0x7FFFFFFF);
  EXPECT_EQ(huge.GetBitCount(), TKVBoolArray::kMaxBits);
  TKVBoolArray array(3);
  array.Set(3, true);
  array.Set(-1, true);
  array.InsertBit(7, true);
  array.RemoveBit(-2);
  EXPECT_FALSE(array.Any());
  EXPECT_FALSE(array.Get(3));
  EXPECT_FALSE(array.Get(-1));
}

struct ShiftCase {
  const char* before;
  bool insert;
  int32_t index;
  bool value;
  const char* after;
};

TEST(BoolArrayTest, InsertAndRemoveBits) {
  const ShiftCase cases[] = {
      {"101", false, 0, false, "011"},        // bit n-1 keeps its value
      {"101", false, 2, false, "100"},        // removing the last bit clears it
      {"1100110011", false, 3, false, "1101100111"},
      {"101", true, 0, false, "010"},         // bit n-1 drops off
      {"0000000001", true, 9, true, "0000000001"},
      {"111000111", true, 4, true, "111010011"},
  };
  for (const ShiftCase& c : cases) {
    TKVBoolArray array = BitsOf(c.before);
    if (c.insert) {
      array.InsertBit(c.index, c.value);
    } else {
      array.RemoveBit(c.index);
    }
    EXPECT_EQ(TextOf(array), c.after) << c.before << (c.insert ? " insert " : " remove ") << c.index;
  }
}

TEST(BoolArrayTest, CountAnyFirstAndLast) {
  TKVBoolArray array = BitsOf("0010000000001000100");
  EXPECT_EQ(array.Count(true), 3);
  EXPECT_EQ(array.Count(false), 16);
  EXPECT_TRUE(array.Any());
  EXPECT_EQ(array.FirstSet(), 2);
  EXPECT_EQ(array.LastSet(), 16);
  TKVBoolArray empty(40);
  EXPECT_FALSE(empty.Any());
  EXPECT_EQ(empty.FirstSet(), -1);
  EXPECT_EQ(empty.LastSet(), -1);
}

TEST(BoolArrayTest, SetAllTouchesOnlyTheBits) {
  TKVBoolArray array(10);
  array.SetAll(true);
  EXPECT_EQ(array.Count(true), 10);
  EXPECT_EQ(array.LastSet(), 9);
  TKVBoolArray zero(0);
  zero.SetAll(true);
  EXPECT_FALSE(zero.Any());
  // Setting every bit one by one gives the same storage as SetAll.
  TKVBoolArray one = BitsOf("1111111111");
  EXPECT_TRUE(one.Equals(array));
  array.SetAll(false);
  EXPECT_EQ(array.Count(true), 0);
}

TEST(BoolArrayTest, EqualsNeedsSameCountAndBits) {
  EXPECT_TRUE(BitsOf("0110").Equals(BitsOf("0110")));
  EXPECT_FALSE(BitsOf("0110").Equals(BitsOf("0111")));
  EXPECT_FALSE(BitsOf("0110").Equals(BitsOf("01100")));
}

TEST(BoolArrayTest, CopyFromTakesCommonBytes) {
  TKVBoolArray small = BitsOf("1111111111");
  TKVBoolArray large(80);
  large.SetAll(true);
  large.CopyFrom(small);
  EXPECT_EQ(large.Count(true), 10);
  TKVBoolArray tiny(3);
  tiny.CopyFrom(BitsOf("01101"));
  EXPECT_EQ(TextOf(tiny), "011");
  EXPECT_EQ(tiny.Data()[0], 0x06);  // bit 3 of the source is not copied past bit n-1
}

TEST(BoolArrayTest, StreamRoundTripOfStorageBytes) {
  TKVBoolArray array = BitsOf("1000000011");
  TByteVectorStream stream;
  array.WriteTo(stream);
  EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{0x01, 0x03, 0x00, 0x00}));
  stream.Seek(0);
  TKVBoolArray read(10);
  EXPECT_TRUE(read.ReadFrom(stream));
  EXPECT_TRUE(read.Equals(array));
}

TEST(BoolArrayTest, ReadFromShortStreamLeavesArrayUnchanged) {
  TKVBoolArray array = BitsOf("1");
  TByteVectorStream stream(std::vector<uint8_t>{0xFF});
  EXPECT_FALSE(array.ReadFrom(stream));
  EXPECT_TRUE(stream.IsError());
  EXPECT_EQ(TextOf(array), "1");
}

TEST(BoolArrayTest, ReadFromDropsBitsPastTheCount) {
  TKVBoolArray array(4);
  TByteVectorStream stream(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(array.ReadFrom(stream));
  EXPECT_EQ(array.Count(true), 4);
  EXPECT_EQ(array.LastSet(), 3);
  EXPECT_TRUE(array.Equals(BitsOf("1111")));
}

}  // namespace
}  // namespace kvt
