#include "notation/files/text/range_item_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/staff/staff_range.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

std::vector<std::string> Lines(const TMusicStaff& staff) {
  std::vector<std::string> lines;
  for (int i = 1; i < staff.GetLastIndex(); ++i) lines.push_back(FormatItemLine(*staff.GetItem(i), kTextModeScore));
  return lines;
}

class RangeItemStringsTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const TItemCase& c : kItemCases) AddItem(source, c.make());
  }
  TMusicStaff source;
};

TEST_F(RangeItemStringsTest, SnapshotInsertsTheSameItems) {
  TOutStream out;
  WriteRangeItemStrings(source, 1, source.GetLastIndex() - 1, *out);
  const std::string bytes = out.Text();
  const int count = static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
  EXPECT_EQ(count, source.GetItemCount() - 2);

  TMusicStaff target;
  AddItem(target, TItemPtr(new TClefData(kClefAlto)));
  TTextStream in(bytes);
  int first = 1;
  int last = 0;
  ASSERT_TRUE(ReadRangeItemStrings(target, first, last, *in, false));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, count);
  std::vector<std::string> expected = Lines(source);
  expected.push_back("|Clef|Type:Alto");
  EXPECT_EQ(Lines(target), expected);

  // Audited on request: the same items stand there.
  TMusicStaff audited;
  TTextStream again(bytes);
  first = 1;
  ASSERT_TRUE(ReadRangeItemStrings(audited, first, last, *again, true));
  EXPECT_EQ(audited.GetItemCount(), count + 2);
}

TEST_F(RangeItemStringsTest, StaffRangeForms) {
  TOutStream out;
  WriteRangeItemStrings(TStaffRange(&source, 4, 9), *out);
  TOutStream direct;
  WriteRangeItemStrings(source, 4, 9, *direct);
  const std::string bytes = out.Text();
  EXPECT_EQ(bytes, direct.Text());

  TMusicStaff target;
  AddItem(target, TItemPtr(new TClefData(kClefAlto)));
  TStaffRange range(&target, 1, 1);
  TTextStream in(bytes);
  ASSERT_TRUE(ReadRangeItemStrings(range, *in, false));
  EXPECT_EQ(range.GetFirst(), 1);
  EXPECT_EQ(range.GetLast(), 6);
  EXPECT_EQ(FormatItemLine(*target.GetItem(7), kTextModeScore), "|Clef|Type:Alto");

  TOutStream none;
  WriteRangeItemStrings(TStaffRange(), *none);
  EXPECT_EQ(none.Text(), std::string(2, '\0'));
  TTextStream empty(none.Text());
  TStaffRange emptyRange(&target, 2, 2);
  EXPECT_TRUE(ReadRangeItemStrings(emptyRange, *empty, false));
  EXPECT_FALSE(emptyRange.IsValid());
}

TEST_F(RangeItemStringsTest, DamagedSnapshotsStopWithFailure) {
  TOutStream out;
  WriteRangeItemStrings(source, 3, 5, *out);
  const std::string bytes = out.Text();
  std::string badLine = bytes;
  badLine.replace(badLine.find("|Key"), 4, "|Flow");  // a Flow without its style makes no item
  const struct {
    const char* name;
    std::string data;
    int inserted;
  } cases[] = {
      {"cut short", bytes.substr(0, bytes.size() - 3), 2},
      {"no item", badLine, 0},
      {"count past the room", std::string("\xFF\x7F", 2) + bytes.substr(2), 0},
      {"empty", std::string(), 0},
  };
  for (const auto& c : cases) {
    TMusicStaff target;
    TTextStream in(c.data);
    int first = 7;  // limited to the staff
    int last = 0;
    EXPECT_FALSE(ReadRangeItemStrings(target, first, last, *in, false)) << c.name;
    EXPECT_EQ(first, 1) << c.name;
    EXPECT_EQ(last, c.inserted) << c.name;
    EXPECT_EQ(target.GetItemCount(), 2 + c.inserted) << c.name;
  }
}

}  // namespace
}  // namespace kvt
