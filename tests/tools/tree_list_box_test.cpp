// The tree list and the tree combo box: the visible entries follow expansion, keys, type-ahead,
// clicks on buttons and images, the context commands and the notifications.
#include "tools/tree_list_box.h"

#include <gtest/gtest.h>
#include <QMenu>
#include <QPainter>
#include <QTest>

#include "tools/tree_combo_box.h"
#include "tools/tree_commands.h"

namespace kvt {
namespace {

// Strings
//   Violin
//   Viola
// Brass
//   Horn
//     Natural horn
// Percussion (checkable leaf)
TKVTreeItem* MakeTree() {
  auto* root = new TKVTreeItem(nullptr, "root");
  auto* strings = new TKVTreeItem(root, "Strings");
  new TKVTreeItem(strings, "Violin");
  new TKVTreeItem(strings, "Viola");
  auto* brass = new TKVTreeItem(root, "Brass");
  auto* horn = new TKVTreeItem(brass, "Horn");
  new TKVTreeItem(horn, "Natural horn");
  new TKVTreeItem(root, "Percussion", 0, -1, true);
  return root;
}

struct TreeListTest : testing::Test {
  TKVTreeListBox list{nullptr, MakeTree()};
  std::vector<int> sent;

  void SetUp() override {
    list.SetNotify([this](int code) { sent.push_back(code); });
    list.resize(300, 300);
    list.show();
  }
  QStringList Entries() const {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << QString::fromStdString(list.ItemAt(i)->Text());
    return texts;
  }
  void Select(const char* text) {
    for (int i = 0; i < list.count(); ++i)
      if (list.ItemAt(i)->Text() == text) list.setCurrentRow(i);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(&list, key, mods);
  }
};

TEST_F(TreeListTest, OnlyTopLevelShowsAtFirst) {
  EXPECT_EQ(Entries(), QStringList({"Strings", "Brass", "Percussion"}));
}

TEST_F(TreeListTest, RightExpandsLeftCollapsesThenMovesToTheParent) {
  Select("Brass");
  Key(Qt::Key_Right);
  EXPECT_EQ(Entries(), QStringList({"Strings", "Brass", "Horn", "Percussion"}));
  Select("Horn");
  Key(Qt::Key_Left);  // collapsed leaf-ward item: to the parent
  EXPECT_EQ(list.SelectedItem()->Text(), "Brass");
  Key(Qt::Key_Left);  // expanded: collapses
  EXPECT_EQ(Entries(), QStringList({"Strings", "Brass", "Percussion"}));
  Key(Qt::Key_Left);  // top-level and collapsed: stays
  EXPECT_EQ(list.SelectedItem()->Text(), "Brass");
}

TEST_F(TreeListTest, ExpandingShowsExpandedDescendantsAgain) {
  Select("Brass");
  list.RunCommand(kCmTreeExpandDown);
  EXPECT_EQ(Entries(), QStringList({"Strings", "Brass", "Horn", "Natural horn", "Percussion"}));
  list.RunCommand(kCmTreeCollapse);
  EXPECT_EQ(Entries().size(), 3);
  list.RunCommand(kCmTreeExpand);  // Horn kept its flag
  EXPECT_EQ(Entries().size(), 5);
  list.RunCommand(kCmTreeCollapseUp);
  list.RunCommand(kCmTreeExpand);
  EXPECT_EQ(Entries(), QStringList({"Strings", "Brass", "Horn", "Percussion"}));
}

TEST_F(TreeListTest, CtrlLeftCollapsesEverythingAndKeepsTheTopLevelItem) {
  Select("Strings");
  Key(Qt::Key_Right);
  Select("Viola");
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Entries().size(), 3);
  EXPECT_EQ(list.SelectedItem()->Text(), "Strings");
}

TEST_F(TreeListTest, TypeAheadCyclesAndKeepsSelectionWithoutMatch) {
  Select("Strings");
  Key(Qt::Key_Right);
  Select("Strings");
  QTest::keyClicks(&list, "v");
  EXPECT_EQ(list.SelectedItem()->Text(), "Violin");
  QTest::keyClicks(&list, "V");
  EXPECT_EQ(list.SelectedItem()->Text(), "Viola");
  QTest::keyClicks(&list, "v");
  EXPECT_EQ(list.SelectedItem()->Text(), "Violin");  // cyclic
  QTest::keyClicks(&list, "q");
  EXPECT_EQ(list.SelectedItem()->Text(), "Violin");
  EXPECT_EQ(sent, (std::vector<int>{kLbnSelChange, kLbnSelChange, kLbnSelChange}));
}

TEST_F(TreeListTest, EnterOnALeafReportsADoubleClickSpaceTogglesCheck) {
  Select("Percussion");
  Key(Qt::Key_Space);
  EXPECT_EQ(list.SelectedItem()->CheckState(), 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(list.SelectedItem()->CheckState(), 0);
  EXPECT_EQ(sent, std::vector<int>{kLbnDblClk});
  sent.clear();
  Select("Brass");
  Key(Qt::Key_Return);  // a parent expands, no report
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(Entries().size(), 4);
}

TEST_F(TreeListTest, ClickOnTheButtonTogglesAndHitCodes) {
  int row = 1;  // Brass
  QRect r = list.visualRect(list.model()->index(row, 0));
  const TTreeEntryLook& look = list.Look();
  QPoint button(r.left() + look.indent / 2, r.center().y());
  EXPECT_EQ(list.HitTest(button), kTreeHitButton);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, button);
  EXPECT_EQ(Entries().size(), 4);
  EXPECT_EQ(sent, std::vector<int>{kLbnSelChange});
  EXPECT_EQ(list.HitTest(QPoint(5, list.viewport()->height() - 2)), kTreeHitNoEntry);
  EXPECT_EQ(list.HitTest(QPoint(-5, 5)), kTreeHitOutside);
}

TEST_F(TreeListTest, ContextMenuCarriesTheFourCommandsWithEnablers) {
  Select("Brass");
  QMenu menu;
  ASSERT_TRUE(list.FillContextMenu(menu));
  QStringList texts;
  QList<bool> enabled;
  for (QAction* a : menu.actions()) {
    texts << a->text();
    enabled << a->isEnabled();
  }
  EXPECT_EQ(texts, QStringList({"&Expand", "Expand &down", "&Collapse", "Collapse &up"}));
  EXPECT_EQ(enabled, QList<bool>({true, true, false, false}));
  list.setCurrentRow(-1);
  QMenu none;
  EXPECT_FALSE(list.FillContextMenu(none));
}

TEST_F(TreeListTest, RefillKeepsTheIndexOrTakesTheLast) {
  Select("Percussion");
  list.Root()->FirstChild()->NextSibling()->NextSibling()->SetText("Drums");
  delete list.Root()->FirstChild();  // Strings
  list.Refill();
  EXPECT_EQ(Entries(), QStringList({"Brass", "Drums"}));
  EXPECT_EQ(list.currentRow(), 1);
}

TEST(TreeImages, TheCornerColourIsTransparent) {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(Qt::magenta);
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 28; ++x) strip.setPixel(x, y, qRgb(0, 0, 200));
  QPixmap images = MakeTreeImages(QPixmap::fromImage(strip));
  QImage drawn(32, 16, QImage::Format_ARGB32);
  drawn.fill(Qt::white);
  QPainter p(&drawn);
  p.drawPixmap(0, 0, images);
  p.end();
  EXPECT_EQ(drawn.pixel(0, 0), QColor(Qt::white).rgb());
  EXPECT_EQ(drawn.pixel(31, 15), QColor(Qt::white).rgb());
  EXPECT_EQ(drawn.pixel(10, 8), qRgb(0, 0, 200));
}

TEST(TreeComboBox, ListsTheWholeTreeExpandedDepthFirst) {
  TKVTreeComboBox box(nullptr, MakeTree());
  QStringList texts;
  for (int i = 0; i < box.count(); ++i) texts << box.itemText(i);
  EXPECT_EQ(texts, QStringList({"Strings", "Violin", "Viola", "Brass", "Horn", "Natural horn",
                                "Percussion"}));
  EXPECT_TRUE(box.ItemAt(3)->IsExpanded());
  int notified = 0;
  box.SetNotify([&] { ++notified; });
  box.SetSelectedNotify(4);
  EXPECT_EQ(box.GetSelectedItem()->Text(), "Horn");
  EXPECT_EQ(notified, 1);
  EXPECT_GE(box.EntryHeight(), 16);
}

}  // namespace
}  // namespace kvt
