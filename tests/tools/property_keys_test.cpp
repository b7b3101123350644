// The keyboard of property dialogs: page switching keys, the Tab order through the strip and
// the shown page, and Alt+letter mnemonics of tabs and controls.
#include "tools/property_key_hook.h"

#include <gtest/gtest.h>
#include <QComboBox>

#include <memory>

#include "tests/tools/property_test_support.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "tools/tab_stops.h"

namespace kvt {
namespace {

using test::TRecordingPage;
using test::TTestPropertyDialog;

class PropertyKeysTest : public testing::Test {
protected:
  explicit PropertyKeysTest(uint32_t options = ptsNone) : dialog(options) {
    const char* names[] = {"&General", "&Layout", "&Fonts", "&Margins"};
    for (int i = 0; i < 4; ++i) {
      pages.push_back(std::make_unique<TRecordingPage>(&dialog, std::to_string(i), dialog.log));
      dialog.AddPage(names[i], pages.back().get());
    }
  }
  void Open() {
    dialog.Open();
    ASSERT_TRUE(dialog.isActiveWindow());
  }
  // A key at the focus widget, as the keyboard delivers it.
  static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
  }
  int Selected() const { return dialog.Tab()->Selected(); }
  TRecordingPage& Page(int i) { return *pages[i]; }

  TTestPropertyDialog dialog;
  std::vector<std::unique_ptr<TRecordingPage>> pages;
};

TEST_F(PropertyKeysTest, CtrlTabAndCtrlPageKeysSwitchPagesAndWrap) {
  Open();
  const std::pair<std::pair<Qt::Key, Qt::KeyboardModifiers>, int> steps[] = {
      {{Qt::Key_Tab, Qt::ControlModifier}, 1},
      {{Qt::Key_PageDown, Qt::ControlModifier}, 2},
      {{Qt::Key_Tab, Qt::ControlModifier}, 3},
      {{Qt::Key_Tab, Qt::ControlModifier}, 0},  // wraps
      {{Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier}, 3},
      {{Qt::Key_PageUp, Qt::ControlModifier}, 2},
  };
  for (const auto& [key, expected] : steps) {
    Key(key.first, key.second);
    EXPECT_EQ(Selected(), expected);
  }
}

TEST_F(PropertyKeysTest, PageKeysWorkFromAControlOfThePage) {
  Open();
  Page(0).edit->setFocus();
  Key(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Selected(), 1);
}

TEST_F(PropertyKeysTest, AltHomeSelectsTheFirstPageThatAcceptsTheSelection) {
  dialog.Tab()->EnableTab(0, false);
  Open();
  dialog.SelectPage(3);
  Key(Qt::Key_Home, Qt::AltModifier);
  EXPECT_EQ(Selected(), 1);
}

TEST_F(PropertyKeysTest, ArrowKeysInTheStripStepSkippingDisabledTabs) {
  dialog.Tab()->EnableTab(1, false);
  Open();
  ASSERT_EQ(QApplication::focusWidget(), dialog.Tab());
  Key(Qt::Key_Right);
  EXPECT_EQ(Selected(), 2);
  Key(Qt::Key_Left);
  EXPECT_EQ(Selected(), 0);
  Key(Qt::Key_Up);
  EXPECT_EQ(Selected(), 3);
}

TEST_F(PropertyKeysTest, TabVisitsStripThenPageThenDialogButtons) {
  Open();
  ASSERT_EQ(QApplication::focusWidget(), dialog.Tab());
  // The strip, the page's edit and button (the label takes no focus), OK, Cancel, around.
  const QWidget* forward[] = {Page(0).edit,  Page(0).button, dialog.ok,
                              dialog.cancel, dialog.Tab(),   Page(0).edit};
  for (const QWidget* expected : forward) {
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected);
  }
  const QWidget* backward[] = {dialog.Tab(), dialog.cancel, dialog.ok, Page(0).button};
  for (const QWidget* expected : backward) {
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), expected);
  }
}

TEST_F(PropertyKeysTest, FocusInsideAComboBoxCountsAsTheComboBox) {
  Open();
  auto* combo = new QComboBox(Page(0).Window());
  combo->setEditable(true);
  combo->setGeometry(10, 50, 100, 22);
  combo->show();
  combo->lineEdit()->setFocus();
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), Page(0).button);
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusOwner(QApplication::focusWidget()), combo);
  Key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), dialog.ok);
}

TEST_F(PropertyKeysTest, AltLetterPicksATabBeforeAPageControl) {
  Page(0).labelText = "&Fonts";  // the same letter as the third tab
  Open();
  Key(Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(Selected(), 2);
  Key(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(Selected(), 0);
}

TEST_F(PropertyKeysTest, AltLetterOfALabelFocusesTheControlAfterIt) {
  Open();
  Key(Qt::Key_N, Qt::AltModifier);  // "&Name:" on the shown page
  EXPECT_EQ(QApplication::focusWidget(), Page(0).edit);
  EXPECT_EQ(Selected(), 0);
}

TEST_F(PropertyKeysTest, AltLetterOfAButtonClicksIt) {
  for (auto& page : pages) page->buttonText = "&Reset";
  Open();
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(Page(0).clicks, 1);
  EXPECT_EQ(QApplication::focusWidget(), Page(0).button);
  // A disabled tab's mnemonic selects nothing; the selected tab's own letter neither.
  dialog.Tab()->EnableTab(3, false);
  Key(Qt::Key_M, Qt::AltModifier);
  Key(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(Selected(), 0);
}

TEST_F(PropertyKeysTest, DialogButtonMnemonicWorksFromThePage) {
  dialog.cancel->setText("&Close");
  Open();
  Page(0).edit->setFocus();
  Key(Qt::Key_C, Qt::AltModifier);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST_F(PropertyKeysTest, KeysOutsideAPropertyDialogAreLeftAlone) {
  Open();
  QDialog other;
  auto* edit = new QLineEdit(&other);
  other.show();
  other.activateWindow();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Selected(), 0);
}

class PropertyKeysFocusPageFirstTest : public PropertyKeysTest {
protected:
  PropertyKeysFocusPageFirstTest() : PropertyKeysTest(ptsFocusPageFirst) {}
};

TEST_F(PropertyKeysFocusPageFirstTest, ShownPageTakesTheFocus) {
  Open();
  EXPECT_EQ(QApplication::focusWidget(), Page(0).edit);
}

}  // namespace
}  // namespace kvt
