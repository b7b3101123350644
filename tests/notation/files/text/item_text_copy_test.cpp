#include "notation/files/text/item_text_copy.h"

#include <gtest/gtest.h>

#include "notation/index/simple_ntn_idx.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

TEST(ItemTextCopyTest, ClonesCompareEqualToTheirOriginals) {
  for (const TItemCase& c : kItemCases) {
    const TItemPtr item = c.make();
    const TItemPtr clone = CloneItem(*item);
    ASSERT_TRUE(clone) << c.name;
    EXPECT_EQ(clone->GetType(), item->GetType()) << c.name;
    EXPECT_EQ(CompareItems(*item, *clone), 0) << c.name;
  }
  EXPECT_NE(CompareItems(*kItemCases[0].make(), *kItemCases[1].make()), 0);
}

// Two objects that differ only far into a long value are different items.
TEST(ItemTextCopyTest, LongLinesCompareWhole) {
  TKVTUserObject a("Big");
  TKVTUserObject b("Big");
  a.SetParam("Data", std::string(40000, 'x') + "a");
  b.SetParam("Data", std::string(40000, 'x') + "b");
  EXPECT_LT(CompareItems(a, b), 0);
  EXPECT_GT(CompareItems(b, a), 0);
  // The copy keeps the end of a value longer than any line a file may hold.
  const TItemPtr copy = CloneItem(a);
  ASSERT_TRUE(copy);
  EXPECT_EQ(CompareItems(a, *copy), 0);
  TClefData treble(kClefTreble);
  TClefData bass(kClefBass);
  EXPECT_NE(CompareItems(treble, bass), 0);
}

TEST(ItemTextCopyTest, WritesTheItemAtAnIndex) {
  TMusicStaff staff;
  AddItem(staff, TItemPtr(new TClefData(kClefAlto)));
  TOutStream out;
  WriteItemText(*out, TSimpleNtnIdx(&staff, 1), kTextModeScore);
  EXPECT_EQ(out.Text(), "|Clef|Type:Alto");
}

}  // namespace
}  // namespace kvt
