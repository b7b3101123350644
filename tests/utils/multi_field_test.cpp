#include "utils/multi_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/utils/byte_vector_stream.h"

namespace kvt {
namespace {

std::vector<std::string> FieldsOf(const TKVMultiField& table) {
  std::vector<std::string> fields;
  for (int i = 0; i < table.GetFieldCount(); ++i) fields.emplace_back(table.GetItem(i));
  return fields;
}

struct SplitCase {
  const char* name;
  const char* text;
  char separator;
  int n;
  std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class MultiFieldSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(MultiFieldSplitTest, FillsFieldsFromText) {
  const SplitCase& c = GetParam();
  TKVMultiField table(c.text, c.separator, c.n);
  EXPECT_EQ(FieldsOf(table), c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MultiFieldSplitTest,
    testing::Values(
        SplitCase{"MoreFieldsThanRoomKeepsFirst", "a|b|c|d", '|', 2, {"a", "b"}},
        SplitCase{"EmptyTextLeavesAllEmpty", "", '|', 3, {"", "", ""}},
        SplitCase{"NullTextLeavesAllEmpty", nullptr, '|', 2, {"", ""}},
        SplitCase{"NoSeparatorFillsFieldZero", "abc", '|', 3, {"abc", "", ""}},
        SplitCase{"TrailingSeparatorGivesEmptyLast", "a|b|", '|', 3, {"a", "b", ""}},
        SplitCase{"EmptyInnerFields", "|x||y", '|', 4, {"", "x", "", "y"}},
        SplitCase{"NegativeCountTakesTextFields", "one,two,three", ',', -1, {"one", "two", "three"}},
        SplitCase{"NegativeCountNullTextHasNoFields", nullptr, ',', -1, {}},
        SplitCase{"ZeroFieldsTakeNothing", "a|b", '|', 0, {}},
        // Trail bytes of UTF-8 characters are never ASCII, so they never split a field.
        SplitCase{"Utf8TextSplitsOnlyAtSeparator", "\xC3\xA9t\xC3\xA9|\xE2\x82\xAC", '|', 2,
                  {"\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(MultiFieldTest, NewTableHasEmptyFields) {
  TKVMultiField table(4, 0);
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(table.GetUsedBytes(), 4);
  EXPECT_EQ(TKVMultiField(-3, 10).GetFieldCount(), 0);
}

TEST(MultiFieldTest, ListConstructionTakesTextsInOrder) {
  TKVMultiField table{"x", nullptr, "zz"};
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"x", "", "zz"}));
}

TEST(MultiFieldTest, SetItemGrowsShrinksAndIgnoresBadIndex) {
  TKVMultiField table{"a", "b", "c"};
  table.SetItem(1, "a much longer text than before");
  table.SetItem(0, "");
  table.SetItem(2, nullptr);
  table.SetItem(3, "ignored");
  table.SetItem(-1, "ignored");
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"", "a much longer text than before", ""}));
  EXPECT_EQ(table.GetUsedBytes(), 3 + 30);
}

TEST(MultiFieldTest, GetItemOutsideRangeIsEmpty) {
  TKVMultiField table{"a"};
  EXPECT_STREQ(table.GetItem(1), "");
  EXPECT_STREQ(table.GetItem(-1), "");
}

TEST(MultiFieldTest, InsertItemGrowsCountAndClampsIndex) {
  TKVMultiField table{"a", "b"};
  table.InsertItem(1, "x");
  table.InsertItem(99, "end");
  table.InsertItem(-5, nullptr);
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"a", "x", "b", "end", ""}));
}

TEST(MultiFieldTest, RemoveItemKeepsCountAndEmptiesLast) {
  TKVMultiField table{"a", "b", "c"};
  table.RemoveItem(0);
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"b", "c", ""}));
  table.RemoveItem(3);
  EXPECT_EQ(FieldsOf(table), (std::vector<std::string>{"b", "c", ""}));
}

TEST(MultiFieldTest, FindStopsAtFirstEmptyField) {
  TKVMultiField table{"Alpha", "", "Gamma"};
  EXPECT_EQ(table.Find("Alpha", false, -1), 0);
  EXPECT_EQ(table.Find("alpha", false, -1), -1);
  EXPECT_EQ(table.Find("ALPHA", true, -1), 0);
  EXPECT_EQ(table.Find("Gamma", false, -7), -7);
  EXPECT_EQ(table.Find("", false, -1), -1);
}

TEST(MultiFieldTest, FindIgnoringCaseFoldsLatinLetters) {
  TKVMultiField table{"caf\xC3\xA9", "\xC3\x89T\xC3\x89"};
  EXPECT_EQ(table.Find("CAF\xC3\x89", true, -1), 0);
  EXPECT_EQ(table.Find("\xC3\xa9t\xC3\xa9", true, -1), 1);
}

TEST(MultiFieldTest, WriteToLayoutIsExact) {
  TKVMultiField table{"abc", "d"};
  TByteVectorStream stream;
  table.WriteTo(stream);
  const std::vector<uint8_t> expected = {0x02, 0x00, 0x08, 0x00, 0x10, 0x00,
                                         'a',  'b',  'c',  0x00, 'd',  0x00};
  EXPECT_EQ(stream.Bytes(), expected);
  EXPECT_FALSE(stream.IsError());
}

TEST(MultiFieldTest, StreamRoundTripKeepsFieldsGrowthAndPosition) {
  TKVMultiField table{"first", "", "caf\xC3\xA9", "last"};
  table.SetGrowth(0);
  TByteVectorStream stream;
  table.WriteTo(stream);
  stream.PutByte(0x5A);
  stream.Seek(0);
  TKVMultiField read(stream);
  EXPECT_FALSE(stream.IsError());
  EXPECT_EQ(FieldsOf(read), FieldsOf(table));
  EXPECT_EQ(read.GetGrowth(), 0);
  EXPECT_EQ(stream.GetByte(), 0x5A);
}

TEST(MultiFieldTest, WriteToRefusesTableBeyondSixteenBitSizes) {
  TKVMultiField table(2, 0);
  table.SetItem(0, std::string(0xFFFF, 'x').c_str());
  TByteVectorStream stream;
  table.WriteTo(stream);
  EXPECT_TRUE(stream.IsFailed());
  EXPECT_TRUE(stream.Bytes().empty());
}

struct CorruptCase {
  const char* name;
  std::vector<uint8_t> bytes;
  bool failed;  // a fault, not only the end of the data
  std::vector<std::string> fields;
};

void PrintTo(const CorruptCase& c, std::ostream* os) { *os << c.name; }

class MultiFieldCorruptStreamTest : public testing::TestWithParam<CorruptCase> {};

TEST_P(MultiFieldCorruptStreamTest, ReadsBoundedAndFlagsStream) {
  const CorruptCase& c = GetParam();
  TByteVectorStream stream(c.bytes);
  TKVMultiField table(stream);
  EXPECT_TRUE(stream.IsError());
  EXPECT_EQ(stream.IsFailed(), c.failed);
  EXPECT_EQ(FieldsOf(table), c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MultiFieldCorruptStreamTest,
    testing::Values(
        CorruptCase{"HeaderCutShort", {0x02, 0x00, 0x08}, false, {}},
        // 65535 fields declared in 2 bytes: refused before anything is allocated.
        CorruptCase{"MoreFieldsThanBytes", {0xFF, 0xFF, 0x04, 0x00, 0x10, 0x00, 'a', 0}, true, {}},
        CorruptCase{"SizeBelowTwo", {0x00, 0x00, 0x01, 0x00, 0x10, 0x00}, true, {}},
        CorruptCase{"FieldRunsPastDeclaredSize",
                    {0x02, 0x00, 0x05, 0x00, 0x10, 0x00, 'a', 'b', 0, 'c', 0},
                    true,
                    {"ab", ""}},
        CorruptCase{"BytesLeftOverAfterFields",
                    {0x01, 0x00, 0x06, 0x00, 0x10, 0x00, 'a', 0, 'b', 0},
                    true,
                    {"a"}},
        // The largest declared table over a short stream: the end of the data stops it.
        CorruptCase{"LargestCountsOverShortData",
                    {0xFD, 0xFF, 0xFF, 0xFF, 0x10, 0x00, 'a', 0},
                    false,
                    [] {
                      std::vector<std::string> f(0xFFFD);
                      f[0] = "a";
                      return f;
                    }()}),
    [](const testing::TestParamInfo<CorruptCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kvt
