// The tab control's layout: rows, stretching, scrolling and the row next to the pages.
#include "tools/property_tab.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QStyle>

#include <memory>

#include "tests/tools/property_test_support.h"
#include "tools/property_styles.h"

namespace kvt {
namespace {

using test::TRecordingPage;
using test::TTestPropertyDialog;

class PropertyTabTest : public testing::Test {
protected:
  void Make(uint32_t options, int count, int width = 420) {
    dialog = std::make_unique<TTestPropertyDialog>(options);
    dialog->resize(width, 300);
    for (int i = 0; i < count; ++i) {
      pages.push_back(
          std::make_unique<TRecordingPage>(dialog.get(), std::to_string(i), dialog->log));
      dialog->AddPage(("Tab number " + std::to_string(i)).c_str(), pages.back().get());
    }
  }
  TKVPropertyTab& Tab() { return *dialog->Tab(); }

  std::unique_ptr<TTestPropertyDialog> dialog;
  std::vector<std::unique_ptr<TRecordingPage>> pages;
};

TEST_F(PropertyTabTest, MultiRowBringsTheSelectedRowNextToThePages) {
  Make(ptsMultiRow, 12);
  dialog->Open();
  ASSERT_GT(Tab().RowCount(), 1);
  EXPECT_EQ(Tab().RowAtDisplay(0), 0);
  const int last = Tab().Count() - 1;
  const int backRow = Tab().RowOfTab(last);
  ASSERT_TRUE(Tab().SelectTab(last));
  EXPECT_EQ(Tab().RowAtDisplay(0), backRow);
  // The selected tab sits in the lowest row of the strip, on the page area.
  EXPECT_EQ(Tab().TabRect(last).bottom() + 1, Tab().RowCount() * Tab().RowHeight());
  EXPECT_EQ(Tab().PageRect().top(), Tab().RowCount() * Tab().RowHeight() + 1);
}

TEST_F(PropertyTabTest, StretchedRowsFillTheStrip) {
  Make(ptsMultiRow, 7);
  dialog->Open();
  for (int r = 0; r < Tab().RowCount(); ++r) {
    int width = 0, right = 0;
    for (int i = 0; i < Tab().Count(); ++i) {
      if (Tab().RowOfTab(i) != r) continue;
      width += Tab().Entry(i).width;
      right = Tab().TabRect(i).right();
    }
    EXPECT_EQ(width, Tab().width()) << "row " << r;
    EXPECT_EQ(right, Tab().width() - 1);
  }
}

TEST_F(PropertyTabTest, TabsBeyondTwentyRowsJoinTheLastRow) {
  Make(ptsMultiRow | ptsFixedWidth, 30, 120);
  dialog->SetMinTabWidth(90);  // one tab a row
  dialog->Open();
  EXPECT_EQ(Tab().RowCount(), TKVPropertyTab::kMaxRows);
  EXPECT_EQ(Tab().RowOfTab(29), TKVPropertyTab::kMaxRows - 1);
  EXPECT_TRUE(Tab().SelectTab(29));
}

TEST_F(PropertyTabTest, SingleRowScrollsTheSelectedTabIntoView) {
  Make(ptsNone, 10);
  dialog->Open();
  ASSERT_TRUE(Tab().ArrowsShown());
  EXPECT_EQ(Tab().FirstVisibleTab(), 0);
  ASSERT_TRUE(Tab().SelectTab(9));
  EXPECT_GT(Tab().FirstVisibleTab(), 0);
  const QRect last = Tab().TabRect(9);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_TRUE(Tab().SelectTab(0));
  EXPECT_EQ(Tab().FirstVisibleTab(), 0);
}

TEST_F(PropertyTabTest, ArrowClicksScrollTheStrip) {
  Make(ptsNone, 10);
  dialog->Open();
  ASSERT_TRUE(Tab().ArrowsShown());
  const int arrow = Tab().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const QPoint right(Tab().width() - arrow / 2, Tab().RowHeight() - arrow / 2);
  QTest::mouseClick(&Tab(), Qt::LeftButton, Qt::NoModifier, right);
  EXPECT_EQ(Tab().FirstVisibleTab(), 1);
  const QPoint left = right - QPoint(arrow - 1, 0);
  QTest::mouseClick(&Tab(), Qt::LeftButton, Qt::NoModifier, left);
  QTest::mouseClick(&Tab(), Qt::LeftButton, Qt::NoModifier, left);
  EXPECT_EQ(Tab().FirstVisibleTab(), 0);
  EXPECT_EQ(Tab().Selected(), 0);  // scrolling selects nothing
}

TEST_F(PropertyTabTest, ClickOnATabSelectsIt) {
  Make(ptsNone, 3);
  dialog->Open();
  const QRect second = Tab().TabRect(1);
  QTest::mouseClick(&Tab(), Qt::LeftButton, Qt::NoModifier, second.center());
  EXPECT_EQ(Tab().Selected(), 1);
  Tab().EnableTab(2, false);
  QTest::mouseClick(&Tab(), Qt::LeftButton, Qt::NoModifier, Tab().TabRect(2).center());
  EXPECT_EQ(Tab().Selected(), 1);
}

TEST_F(PropertyTabTest, HiddenDisabledTabsTakeNoPlace) {
  Make(ptsHideDisabled, 3);
  dialog->Open();
  const int x = Tab().TabRect(2).left();
  Tab().EnableTab(1, false);
  EXPECT_TRUE(Tab().TabRect(1).isEmpty());
  EXPECT_LT(Tab().TabRect(2).left(), x);
}

TEST_F(PropertyTabTest, StepWithOneSelectableTabReselectsIt) {
  Make(ptsNone, 3);
  Tab().EnableTab(1, false);
  Tab().EnableTab(2, false);
  dialog->Open();
  EXPECT_TRUE(Tab().StepTab(1));
  EXPECT_EQ(Tab().Selected(), 0);
}

TEST_F(PropertyTabTest, NarrowStripIsNotLaidOut) {
  Make(ptsNone, 2);
  Tab().setFixedWidth(1);
  Tab().SetTabText(0, "Longer text than before");
  EXPECT_EQ(Tab().Entry(0).width, 0);
}

TEST_F(PropertyTabTest, TextChangesRelayTheTabs) {
  Make(ptsNone, 2);
  dialog->Open();
  const int before = Tab().Entry(0).width;
  Tab().SetTabText(0, "A much longer label than the others have");
  EXPECT_GT(Tab().Entry(0).width, before);
  EXPECT_EQ(Tab().GetTabText(0), "A much longer label than the others have");
  Tab().SetTabText(0, nullptr);
  EXPECT_EQ(Tab().GetTabText(0), "");
  EXPECT_EQ(Tab().Entry(0).width, 64);  // the minimum width
}

TEST_F(PropertyTabTest, SelectedTabOpensIntoThePage) {
  Make(ptsColoredSelection, 3);
  dialog->SetSelectedTabColor(QColor(255, 0, 0));
  dialog->Open();
  QImage image(Tab().size(), QImage::Format_ARGB32);
  Tab().render(&image);
  const QRect selected = Tab().TabRect(0);
  const QRect other = Tab().TabRect(1);
  const int stripBottom = Tab().RowCount() * Tab().RowHeight();
  // Inside the tabs, left of their labels.
  EXPECT_EQ(image.pixelColor(selected.left() + 3, selected.bottom() - 2), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(other.left() + 3, other.bottom() - 2),
            Tab().palette().color(QPalette::Button));
  // The page's top edge is drawn under the other tabs only.
  const QColor light = Tab().palette().color(QPalette::Light);
  EXPECT_NE(image.pixelColor(selected.center().x(), stripBottom), light);
  EXPECT_EQ(image.pixelColor(other.center().x(), stripBottom), light);
}

}  // namespace
}  // namespace kvt
