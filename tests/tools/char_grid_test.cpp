// The character grid: the list of codes, layout, keys with wrapping, the transfer, the hover
// hint and the empty grid.
#include "tools/char_grid.h"

#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QTest>

#include "tools/tool_tip.h"

namespace kvt {
namespace {

TEST(CharGridList, SymbolFontListsTheMappedCodesOnly) {
  auto chars = BuildCharGridList(true, std::vector<std::pair<int, int>>{{65, 26}}, 32, 255);
  ASSERT_EQ(chars.size(), 224u);
  EXPECT_EQ(chars.front(), 0xF020);
  EXPECT_EQ(chars.back(), 0xF0FF);
}

TEST(CharGridList, RangesSkipControlsAndTheSpace) {
  auto chars =
      BuildCharGridList(false, std::vector<std::pair<int, int>>{{0, 40}, {0x400, 2}}, 0, 0);
  ASSERT_EQ(chars.size(), 7u + 2u);  // 33..39, then two Cyrillic letters
  EXPECT_EQ(chars.front(), 33);
  EXPECT_EQ(chars.back(), 0x401);
}

TEST(CharGridList, WithoutRangesFallsBackToFirstToLast) {
  EXPECT_EQ(BuildCharGridList(false, std::nullopt, 32, 126).size(), 94u);
  EXPECT_EQ(BuildCharGridList(false, std::vector<std::pair<int, int>>{}, 32, 126).size(), 94u);
}

TEST(CharGridList, StopsAt65536Entries) {
  auto chars =
      BuildCharGridList(false, std::vector<std::pair<int, int>>{{33, 70000}, {33, 70000}}, 0, 0);
  EXPECT_LE(chars.size(), 65536u);
}

struct CharGridTest : testing::Test {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  TKVRBCharGrid grid{nullptr, font, false, false};  // 8-bit: codes 33..255

  void SetUp() override {
    grid.resize(400, 200);
    grid.show();  // the viewport takes its size when shown
    grid.Layout();
  }
  void Key(Qt::Key key) { QTest::keyClick(&grid, key); }
};

TEST_F(CharGridTest, LayoutHasAtLeastOneColumnAndRow) {
  ASSERT_EQ(grid.Chars().size(), 223u);
  EXPECT_GE(grid.Columns(), 1);
  int expectedRows = (223 + grid.Columns() - 1) / grid.Columns();
  EXPECT_EQ(grid.Rows(), expectedRows);
  grid.resize(3, 3);
  grid.Layout();
  EXPECT_EQ(grid.Columns(), 1);
  EXPECT_EQ(grid.VisibleRows(), 1);
}

TEST_F(CharGridTest, KeysMoveAndWrapAtTheEnds) {
  int last = static_cast<int>(grid.Chars().size()) - 1;
  struct Case {
    int from;
    Qt::Key key;
    int to;
  } cases[] = {
      {0, Qt::Key_Left, last},
      {last, Qt::Key_Right, 0},
      {5, Qt::Key_Right, 6},
      {5, Qt::Key_Home, 0},
      {5, Qt::Key_End, last},
      {1, Qt::Key_Left, 0},
      {last - 1, Qt::Key_PageDown, last},
      {2, Qt::Key_Up, 0},
  };
  for (const Case& c : cases) {
    grid.Select(c.from);
    Key(c.key);
    EXPECT_EQ(grid.Current(), c.to) << c.from << " key " << c.key;
  }
  grid.Select(3);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Current(), 3 + grid.Columns());
}

TEST_F(CharGridTest, TransferAndTypedCharacters) {
  grid.TransferSet('A');
  EXPECT_EQ(grid.TransferGet(), 'A');
  grid.TransferSet(10);  // below the list: its first code
  EXPECT_EQ(grid.TransferGet(), 33);
  QTest::keyClick(&grid, 'z');
  EXPECT_EQ(grid.TransferGet(), 'z');
}

TEST_F(CharGridTest, SelectingBelowTheViewScrollsItToTheLastRow) {
  grid.resize(400, grid.CellSize().height() * 2 + 4);
  grid.Layout();
  grid.Select(static_cast<int>(grid.Chars().size()) - 1);
  EXPECT_EQ(grid.TopRow(), grid.Rows() - grid.VisibleRows());
  grid.Select(0);
  EXPECT_EQ(grid.TopRow(), 0);
}

TEST_F(CharGridTest, HoverShowsTheCodeOnceAndDoubleClickIsOk) {
  TToolTip tip;
  grid.SetToolTip(&tip);
  QRect cell = grid.CellRect(32);  // code 65
  QTest::mouseMove(grid.viewport(), cell.center());
  EXPECT_EQ(tip.Text(), u"Character Code: 65 (0x41)");
  EXPECT_TRUE(tip.IsWaitingOrWatching());
  tip.Hide();
  QTest::mouseMove(grid.viewport(), cell.center() + QPoint(1, 0));
  EXPECT_TRUE(tip.Text().empty());  // the same character does not re-arm the hint
  int oks = 0;
  grid.SetOkHandler([&] { ++oks; });
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(grid.TransferGet(), 65);
}

TEST(CharGridEmpty, NoSelectionTransfersZeroAndKeysAreSafe) {
  TKVRBCharGrid grid(nullptr, QFont(), true, std::vector<char16_t>{});
  grid.resize(200, 200);
  grid.Layout();
  EXPECT_EQ(grid.Current(), -1);
  EXPECT_EQ(grid.TransferGet(), 0);
  for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_End, Qt::Key_Home, Qt::Key_A})
    QTest::keyClick(&grid, key);
  grid.TransferSet('A');
  EXPECT_EQ(grid.Current(), -1);
  EXPECT_EQ(grid.HitTest(QPoint(1, 1)), -1);
  EXPECT_EQ(grid.Rows(), 0);
}

}  // namespace
}  // namespace kvt
