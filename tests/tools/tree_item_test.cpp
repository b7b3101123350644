// The tree nodes: linking, levels, expansion over levels, the line mask and the commands'
// enablers.
#include "tools/tree_item.h"

#include <gtest/gtest.h>

#include "tools/tree_commands.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

// root
//   a
//     a1
//       a1x
//     a2
//   b
struct TreeFixture : testing::Test {
  TKVTreeItem root{nullptr, "root"};
  TKVTreeItem* a = new TKVTreeItem(&root, "a");
  TKVTreeItem* a1 = new TKVTreeItem(a, "a1");
  TKVTreeItem* a1x = new TKVTreeItem(a1, "a1x");
  TKVTreeItem* a2 = new TKVTreeItem(a, "a2");
  TKVTreeItem* b = new TKVTreeItem(&root, "b");
};

TEST_F(TreeFixture, LevelsAndOrderFollowTheParents) {
  EXPECT_EQ(root.Level(), -1);
  EXPECT_EQ(a->Level(), 0);
  EXPECT_EQ(a1x->Level(), 2);
  EXPECT_EQ(root.FirstChild(), a);
  EXPECT_EQ(a->NextSibling(), b);
  EXPECT_EQ(a->FindChild("a2"), a2);
  EXPECT_EQ(a->FindChild("zz"), nullptr);
}

TEST_F(TreeFixture, InsertingALinkedChildRaisesThePrecondition) {
  try {
    b->InsertChild(a2, nullptr, true);
    FAIL();
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "!child->Parent");
  }
}

TEST_F(TreeFixture, MovingASubtreeDeeperRenumbersEveryLevel) {
  a->RemoveChild(a1);
  EXPECT_EQ(a1->Parent(), nullptr);
  EXPECT_EQ(a->FirstChild(), a2);
  a2->InsertChild(a1, nullptr, false);
  EXPECT_EQ(a1->Level(), 2);
  EXPECT_EQ(a1x->Level(), 3);
}

TEST_F(TreeFixture, InsertBeforeAfterAndUnknownReference) {
  auto* c = new TKVTreeItem(nullptr, "c");
  auto* d = new TKVTreeItem(nullptr, "d");
  auto* e = new TKVTreeItem(nullptr, "e");
  root.InsertChild(c, b, false);  // a c b
  root.InsertChild(d, a, true);   // a d c b
  root.InsertChild(e, a1, true);  // not a child of root: appended
  std::string order;
  for (TKVTreeItem* i = root.FirstChild(); i; i = i->NextSibling()) order += i->Text();
  EXPECT_EQ(order, "adcbe");
}

TEST_F(TreeFixture, ExpandAndCollapseByLevels) {
  a->Expand(0);
  EXPECT_TRUE(a->IsExpanded());
  EXPECT_FALSE(a1->IsExpanded());
  EXPECT_FALSE(a->IsFullyExpanded(-1));
  EXPECT_TRUE(a->IsFullyExpanded(0));
  a->Expand(-1);
  EXPECT_TRUE(a1->IsExpanded());
  EXPECT_TRUE(a->IsFullyExpanded(-1));
  a->Collapse(1);
  EXPECT_FALSE(a1->IsExpanded());
  EXPECT_TRUE(a1x->IsExpanded());       // two levels down: untouched
  EXPECT_TRUE(b->IsFullyExpanded(-1));  // no children
}

TEST_F(TreeFixture, LineMaskMarksAncestorsWithLaterSiblings) {
  EXPECT_EQ(a1x->GetLineMask(), 0b011u);  // a has b after it, a1 has a2 after it
  EXPECT_EQ(a2->GetLineMask(), 0b001u);
  EXPECT_EQ(b->GetLineMask(), 0u);
}

TEST_F(TreeFixture, ImageFollowsCheckExpandedOrSelected) {
  TKVTreeItem leaf(nullptr, "leaf", 3, 4);
  EXPECT_EQ(leaf.GetImage(false), 3);
  EXPECT_EQ(leaf.GetImage(true), 4);
  TKVTreeItem parent(nullptr, "p", 5, -1);
  EXPECT_EQ(parent.GetImage(true), 5);  // -1: the same image
  TKVTreeItem check(nullptr, "c", 1, 2, true);
  EXPECT_EQ(check.GetImage(true), 1);
  check.Check();
  EXPECT_EQ(check.GetImage(false), 2);
  EXPECT_EQ(a->GetImage(true), 0);  // with children, the expanded flag decides
}

TEST_F(TreeFixture, CommandEnablers) {
  struct Case {
    const char* what;
    TKVTreeItem* item;
    int command;
    bool enabled;
  } cases[] = {
      {"expand collapsed", a, kCmTreeExpand, true},
      {"expand leaf", b, kCmTreeExpand, false},
      {"collapse collapsed", a, kCmTreeCollapse, false},
      {"expand down with grandchildren", a, kCmTreeExpandDown, true},
      {"expand down without grandchildren", a1, kCmTreeExpandDown, false},
      {"collapse up when collapsed", a, kCmTreeCollapseUp, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsTreeCommandEnabled(*c.item, c.command), c.enabled) << c.what;
  a->Expand(-1);
  EXPECT_FALSE(IsTreeCommandEnabled(*a, kCmTreeExpandDown));
  EXPECT_TRUE(IsTreeCommandEnabled(*a, kCmTreeCollapseUp));
  EXPECT_TRUE(IsTreeCommandEnabled(*a, kCmTreeCollapse));
  EXPECT_EQ(TreeCommandText(kCmTreeCollapseUp), "Collapse &up");
}

TEST_F(TreeFixture, DeletingANodeUnlinksIt) {
  delete a1;
  EXPECT_EQ(a->FirstChild(), a2);
  a->DeleteChildren();
  EXPECT_FALSE(a->HasChildren());
}

}  // namespace
}  // namespace kvt
