// Wizards: the Back, Next and Finish buttons follow the enabled pages; the hidden strip never
// takes the focus.
#include "tools/wizard_dialog.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "tests/tools/recording_message_box.h"
#include "tools/message_box_service.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"

namespace kvt {
namespace {

class TTestWizard : public TWizardDialog {
public:
  explicit TTestWizard(bool withBack = true, uint32_t options = ptsNone)
      : TWizardDialog(nullptr, 800, options) {
    resize(400, 260);
    if (withBack) back = Add("< &Back", kWizardBackId, 70);
    next = Add("&Next >", kWizardNextId, 150);
    finish = Add("Finish", IDOK, 230);
    cancel = Add("Cancel", IDCANCEL, 310);
  }
  QPushButton* Add(const char* text, int id, int x) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setGeometry(x, 225, 75, 25);
    BindCommand(button, id);
    return button;
  }
  QPushButton* back = nullptr;
  QPushButton* next;
  QPushButton* finish;
  QPushButton* cancel;
};

class TEditPage : public TWizardPage {
public:
  using TWizardPage::TWizardPage;
  QLineEdit* edit = nullptr;
  bool leavable = true;
  bool CanDeactivate() override { return leavable; }

protected:
  void CreateControls(QWidget& window) override {
    TWizardPage::CreateControls(window);
    edit = new QLineEdit(QStringLiteral("text"), &window);
    edit->setGeometry(120, 20, 150, 22);
  }
};

class WizardTest : public testing::Test {
protected:
  void Make(int count, bool withBack = true, uint32_t options = ptsNone) {
    wizard = std::make_unique<TTestWizard>(withBack, options);
    for (int i = 0; i < count; ++i) {
      pages.push_back(std::make_unique<TEditPage>(wizard.get()));
      wizard->AddPage(("Step " + std::to_string(i)).c_str(), pages.back().get());
    }
  }
  void Open() {
    wizard->Create();
    wizard->activateWindow();
    QApplication::setActiveWindow(wizard.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(wizard.get()));
  }
  int Selected() const { return wizard->Tab()->Selected(); }
  void ExpectButtons(bool back, bool next, bool finish, QPushButton* byDefault) {
    if (wizard->back) EXPECT_EQ(wizard->back->isEnabled(), back);
    EXPECT_EQ(wizard->next->isEnabled(), next);
    EXPECT_EQ(wizard->finish->isEnabled(), finish);
    EXPECT_EQ(wizard->next->isDefault(), byDefault == wizard->next);
    EXPECT_EQ(wizard->finish->isDefault(), byDefault == wizard->finish);
  }

  std::unique_ptr<TTestWizard> wizard;
  std::vector<std::unique_ptr<TEditPage>> pages;
};

TEST_F(WizardTest, ButtonsFollowThePosition) {
  Make(3);
  Open();
  ExpectButtons(false, true, false, wizard->next);
  EXPECT_EQ(QApplication::focusWidget(), wizard->next);
  EXPECT_FALSE(wizard->PrevPage());
  wizard->next->click();
  EXPECT_EQ(Selected(), 1);
  ExpectButtons(true, true, false, wizard->next);
  wizard->next->click();
  ExpectButtons(true, false, true, wizard->finish);
  EXPECT_EQ(pages[2]->DefaultId(), IDOK);
  EXPECT_FALSE(wizard->NextPage());
  wizard->back->click();
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(pages[1]->DefaultId(), kWizardNextId);
}

TEST_F(WizardTest, SinglePageEnablesOnlyFinish) {
  Make(1);
  Open();
  ExpectButtons(false, false, true, wizard->finish);
}

TEST_F(WizardTest, DisabledPagesAreSkippedAndCountOnlyAtTheNextChange) {
  Make(4);
  Open();
  pages[1]->EnablePage(-1, false);
  wizard->NextPage();
  EXPECT_EQ(Selected(), 2);
  ExpectButtons(true, true, false, wizard->next);
  pages[3]->EnablePage(-1, false);
  ExpectButtons(true, true, false, wizard->next);  // not yet recomputed
  wizard->PrevPage();
  wizard->NextPage();
  ExpectButtons(true, false, true, wizard->finish);
}

TEST_F(WizardTest, WorksWithoutABackButton) {
  Make(2, false);
  Open();
  ExpectButtons(false, true, false, wizard->next);
  wizard->next->click();
  ExpectButtons(false, false, true, wizard->finish);
  EXPECT_TRUE(wizard->PrevPage());
}

TEST_F(WizardTest, EnterMeansNextThenFinish) {
  Make(2);
  Open();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Selected(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(wizard->isVisible());
  EXPECT_EQ(wizard->result(), IDOK);
}

TEST_F(WizardTest, PageRefusingToBeLeftStaysInBothDirections) {
  Make(3);
  Open();
  wizard->NextPage();
  pages[1]->leavable = false;
  EXPECT_FALSE(wizard->NextPage());
  EXPECT_FALSE(wizard->PrevPage());
  EXPECT_EQ(Selected(), 1);
}

TEST_F(WizardTest, CtrlTabOnTheLastPageDoesNothing) {
  Make(2);
  Open();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Selected(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Selected(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                  Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Selected(), 0);
}

TEST_F(WizardTest, TabNeverFocusesTheHiddenStrip) {
  Make(2);
  Open();
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), wizard->Tab()) << i;
  }
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), wizard->Tab()) << i;
  }
  // From Next (Back is disabled on the first page) Tab goes on to Cancel, then into the page.
  wizard->next->setFocus();
  QTest::keyClick(wizard->next, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), wizard->cancel);
  QTest::keyClick(wizard->cancel, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), pages[0]->edit);
}

TEST_F(WizardTest, FocusPageFirstSelectsTheFirstEdit) {
  Make(2, true, ptsFocusPageFirst);
  Open();
  wizard->NextPage();
  EXPECT_EQ(QApplication::focusWidget(), pages[1]->edit);
  EXPECT_EQ(pages[1]->edit->selectedText(), "text");
}

TEST_F(WizardTest, PictureHasItsOwnLabel) {
  wizard = std::make_unique<TTestWizard>();
  QPixmap picture(40, 80);
  picture.fill(Qt::blue);
  TEditPage page(wizard.get(), picture);
  wizard->AddPage("Only", &page);
  Open();
  ASSERT_NE(page.Picture(), nullptr);
  EXPECT_EQ(page.Picture()->pixmap().size(), QSize(40, 80));
}

}  // namespace
}  // namespace kvt
