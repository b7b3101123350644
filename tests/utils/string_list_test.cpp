#include "utils/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvt {
namespace {

std::vector<std::string> SlotsOf(const TKVStringList& list) {
  std::vector<std::string> slots;
  for (int i = 0; i < list.GetFieldCount(); ++i) slots.emplace_back(list.GetItem(i));
  return slots;
}

TKVStringList ListOf(int slots, bool ignoreCase, std::vector<const char*> texts) {
  TKVStringList list(slots, ignoreCase);
  for (const char* text : texts) list.Insert(list.GetCount(), text);
  return list;
}

TEST(StringListTest, SplitConstructionCountsFieldsUpToSlots) {
  EXPECT_EQ(TKVStringList("a|b|c", '|', 5).GetCount(), 3);
  EXPECT_EQ(TKVStringList("a|b|c", '|', 2).GetCount(), 2);
  EXPECT_EQ(TKVStringList("", '|', 4).GetCount(), 0);
  EXPECT_EQ(TKVStringList(nullptr, '|', 4).GetCount(), 0);
  EXPECT_FALSE(TKVStringList("A", '|', 2).IsIgnoreCase());
}

TEST(StringListTest, InsertIntoFullListDropsLastAndKeepsCount) {
  TKVStringList list = ListOf(3, false, {"a", "b", "c"});
  ASSERT_TRUE(list.IsFull());
  list.Insert(0, "new");
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"new", "a", "b"}));
  EXPECT_EQ(list.GetCount(), 3);
}

TEST(StringListTest, InsertClampsIndexToCount) {
  TKVStringList list = ListOf(4, false, {"a"});
  list.Insert(10, "end");
  list.Insert(-3, "start");
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"start", "a", "end", ""}));
  EXPECT_EQ(list.GetCount(), 3);
}

TEST(StringListTest, InsertAtEndOfFullListDoesNothing) {
  TKVStringList list = ListOf(2, false, {"a", "b"});
  list.Insert(2, "c");
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"a", "b"}));
}

TEST(StringListTest, IndexOfSearchesOnlyTextsInUseByCaseRule) {
  TKVStringList exact = ListOf(4, false, {"Song.kvt", "b"});
  exact.SetItem(3, "hidden");
  EXPECT_EQ(exact.IndexOf("Song.kvt"), 0);
  EXPECT_EQ(exact.IndexOf("song.KVT"), -1);
  EXPECT_EQ(exact.IndexOf("hidden"), -1);
  TKVStringList folded = ListOf(4, true, {"Song.kvt", "b"});
  EXPECT_EQ(folded.IndexOf("song.KVT"), 0);
  EXPECT_TRUE(folded.Contains("B"));
}

TEST(StringListTest, FindPrefixFromStart) {
  TKVStringList list = ListOf(5, true, {"alpha", "beta", "Alps", "gamma"});
  EXPECT_EQ(list.FindPrefix("al", 0), 0);
  EXPECT_EQ(list.FindPrefix("AL", 1), 2);
  EXPECT_EQ(list.FindPrefix("al", 3), -1);
  EXPECT_EQ(list.FindPrefix("", -4), 0);
  TKVStringList exact = ListOf(5, false, {"alpha", "Alps"});
  EXPECT_EQ(exact.FindPrefix("Al", 0), 1);
}

struct SortedCase {
  const char* name;
  bool ignoreCase;
  std::vector<const char*> inserts;
  bool unique;
  std::vector<std::string> slots;
  std::vector<int> results;
};

void PrintTo(const SortedCase& c, std::ostream* os) { *os << c.name; }

class StringListInsertSortedTest : public testing::TestWithParam<SortedCase> {};

TEST_P(StringListInsertSortedTest, KeepsOrder) {
  const SortedCase& c = GetParam();
  TKVStringList list(static_cast<int>(c.slots.size()), c.ignoreCase);
  std::vector<int> results;
  for (const char* text : c.inserts) results.push_back(list.InsertSorted(text, c.unique));
  EXPECT_EQ(SlotsOf(list), c.slots);
  EXPECT_EQ(results, c.results);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringListInsertSortedTest,
    testing::Values(
        SortedCase{"Ascending", false, {"m", "c", "x", "a"}, true, {"a", "c", "m", "x"}, {1, 1, 1, 1}},
        SortedCase{"UniqueRefusesEqual", true, {"b", "B", "a"}, true, {"a", "b", ""}, {1, 0, 1}},
        SortedCase{"DuplicatesWhenNotUnique", false, {"b", "b"}, false, {"b", "b", ""}, {1, 1}},
        SortedCase{"FullListDropsLargest", false, {"b", "d", "a"}, true, {"a", "b"}, {1, 1, 1}},
        SortedCase{"FullListRefusesLargerText", false, {"a", "b", "z"}, true, {"a", "b"}, {1, 1, 0}}),
    [](const testing::TestParamInfo<SortedCase>& info) { return info.param.name; });

TEST(StringListTest, AddUniqueReportsOnlyRealAdditions) {
  TKVStringList list(2, true);
  EXPECT_EQ(list.AddUnique("one"), 1);
  EXPECT_EQ(list.AddUnique("ONE"), 0);
  EXPECT_EQ(list.AddUnique("two"), 1);
  EXPECT_EQ(list.AddUnique("three"), 0);
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"one", "two"}));
}

TEST(StringListTest, RemoveAndRemoveText) {
  TKVStringList list = ListOf(4, false, {"a", "b", "c"});
  list.Remove(3);
  list.Remove(-1);
  EXPECT_EQ(list.GetCount(), 3);
  list.Remove(0);
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"b", "c", "", ""}));
  EXPECT_EQ(list.RemoveText("c"), 1);
  EXPECT_EQ(list.RemoveText("c"), 0);
  EXPECT_EQ(list.GetCount(), 1);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(SlotsOf(list), (std::vector<std::string>{"", "", "", ""}));
}

TEST(StringListTest, JoinStopsAtFirstEmptyText) {
  TKVStringList list = ListOf(5, false, {"a", "bc", "", "d"});
  EXPECT_EQ(list.Join(';'), "a;bc");
  EXPECT_EQ(TKVStringList(3).Join(';'), "");
  EXPECT_EQ(TKVStringList("x|y|z", '|', 3).Join('|'), "x|y|z");
}

}  // namespace
}  // namespace kvt
