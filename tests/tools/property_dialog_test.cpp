// Property dialogs: set-up, the OK passes under the page options, page changes and their
// questions, and the plain-dialog fallback.
#include "tools/property_dialog.h"

#include <gtest/gtest.h>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "tests/tools/property_test_support.h"
#include "tests/tools/recording_message_box.h"
#include "tests/tools/test_app.h"
#include "tools/edit_number.h"
#include "tools/property_key_hook.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

using test::TRecordingPage;
using test::TTestPropertyDialog;

class PropertyDialogTest : public testing::Test {
protected:
  void Make(uint32_t options, int pages = 3) {
    dialog = std::make_unique<TTestPropertyDialog>(options);
    for (int i = 0; i < pages; ++i) {
      this->pages.push_back(
          std::make_unique<TRecordingPage>(dialog.get(), std::to_string(i), dialog->log));
      dialog->AddPage(("Page &" + std::to_string(i)).c_str(), this->pages.back().get());
    }
  }
  std::vector<std::string> LogFrom(size_t start) const {
    return {dialog->log.begin() + static_cast<long>(start), dialog->log.end()};
  }
  TRecordingPage& Page(int i) { return *pages[i]; }

  std::unique_ptr<TTestPropertyDialog> dialog;
  std::vector<std::unique_ptr<TRecordingPage>> pages;
};

using Log = std::vector<std::string>;

struct OkCase {
  const char* name;
  uint32_t options;
  Log expected;  // after OK with page 0 shown
  int result;    // 0: still open
};

TEST_F(PropertyDialogTest, OkChecksAndAppliesThePagesTheOptionsSay) {
  const OkCase cases[] = {
      {"all pages made at set-up",
       ptsNone,
       {"apply0", "valid0", "apply1", "valid1", "apply2", "valid2", "apply0", "apply1", "apply2"},
       IDOK},
      {"pages on demand",
       ptsPagesOnDemand,
       {"apply0", "valid0", "valid1", "valid2", "apply0"},
       IDOK},
      {"on demand, uncreated pages validated",
       ptsPagesOnDemand | ptsValidateUncreated,
       {"apply0", "valid0", "create1", "valid1", "create2", "valid2", "apply0"},
       IDOK},
      {"created on show",
       ptsCreateOnShow,
       {"apply0", "valid0", "valid1", "valid2", "apply0"},
       IDOK},
      {"embedded", ptsEmbedded, {}, 0},
  };
  for (const OkCase& c : cases) {
    pages.clear();
    Make(c.options);
    dialog->Open();
    const size_t start = dialog->log.size();
    dialog->ok->click();
    EXPECT_EQ(LogFrom(start), c.expected) << c.name;
    EXPECT_EQ(dialog->isVisible(), c.result == 0) << c.name;
    if (c.result != 0) EXPECT_EQ(dialog->result(), c.result) << c.name;
    // A page made only for its check does not stay.
    if (c.options & ptsPagesOnDemand) EXPECT_FALSE(Page(2).HasWindow()) << c.name;
  }
}

TEST_F(PropertyDialogTest, InvalidPageRefusesOkAndIsShown) {
  Make(ptsNone);
  Page(1).valid = false;
  dialog->Open();
  dialog->ok->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->Tab()->Selected(), 1);
  EXPECT_TRUE(Page(1).Window()->isVisible());
  EXPECT_FALSE(Page(0).Window()->isVisible());
}

TEST_F(PropertyDialogTest, RefusedApplyKeepsTheDialogOpen) {
  Make(ptsNone);
  Page(2).applies = false;
  dialog->Open();
  dialog->ok->click();
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(PropertyDialogTest, CancelAndEscapeCloseWithCancel) {
  Make(ptsNone);
  dialog->Open();
  dialog->cancel->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), IDCANCEL);
  EXPECT_FALSE(Page(0).HasWindow());  // page windows go with the dialog
}

TEST_F(PropertyDialogTest, EscapeInAMultiLineEditOfAPageCancels) {
  Make(ptsNone);
  dialog->Open();
  auto* text = new QTextEdit(Page(0).Window());
  text->show();
  text->setFocus();
  QTest::keyClick(text, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), IDCANCEL);
}

TEST_F(PropertyDialogTest, SetUpCreatesPagesAsTheOptionsSay) {
  const std::pair<uint32_t, bool> cases[] = {
      {ptsNone, true}, {ptsPagesOnDemand, false}, {ptsCreateOnShow, false}};
  for (const auto& [options, all] : cases) {
    pages.clear();
    Make(options);
    dialog->Open();
    EXPECT_TRUE(Page(0).HasWindow());
    EXPECT_EQ(Page(2).HasWindow(), all) << options;
    EXPECT_EQ(dialog->log[0], "create0");
    EXPECT_NE(std::find(dialog->log.begin(), dialog->log.end(), "changed0"), dialog->log.end());
  }
}

TEST_F(PropertyDialogTest, PagesOnDemandAreAppliedAndDestroyedWhenLeft) {
  Make(ptsPagesOnDemand);
  dialog->Open();
  const size_t start = dialog->log.size();
  ASSERT_TRUE(dialog->SelectPage(1));
  EXPECT_EQ(LogFrom(start), (Log{"ask1", "apply0", "create1", "changed1", "activated1"}));
  EXPECT_FALSE(Page(0).HasWindow());
  ASSERT_TRUE(dialog->SelectPage(0));
  EXPECT_EQ(Page(0).created, 2);
}

TEST_F(PropertyDialogTest, CreateOnShowKeepsPagesAndApplyOnLeaveApplies) {
  Make(ptsCreateOnShow | ptsApplyOnLeave);
  dialog->Open();
  const size_t start = dialog->log.size();
  dialog->SelectPage(2);
  dialog->SelectPage(0);
  EXPECT_EQ(LogFrom(start), (Log{"ask2", "apply0", "create2", "changed2", "activated2", "ask0",
                                 "apply2", "changed0", "activated0"}));
  EXPECT_TRUE(Page(2).HasWindow());
  EXPECT_FALSE(Page(2).Window()->isVisible());
}

TEST_F(PropertyDialogTest, RefusedChangeStaysOnThePage) {
  Make(ptsNone);
  dialog->Open();
  Page(0).leavable = false;
  size_t start = dialog->log.size();
  EXPECT_FALSE(dialog->SelectPage(1));
  EXPECT_EQ(LogFrom(start), (Log{"ask1", "refused0"}));
  Page(0).leavable = true;
  dialog->allowChange = false;
  start = dialog->log.size();
  EXPECT_FALSE(dialog->NextPage());
  EXPECT_EQ(LogFrom(start), (Log{"ask1", "refused0"}));
  EXPECT_EQ(dialog->Tab()->Selected(), 0);
}

TEST_F(PropertyDialogTest, SelectionBeforeSetUpOpensOnThatPage) {
  Make(ptsNone);
  EXPECT_TRUE(dialog->SelectPage(2));
  dialog->Open();
  EXPECT_EQ(dialog->GetCurrentPage(), &Page(2));
  EXPECT_TRUE(Page(2).Window()->isVisible());
}

TEST_F(PropertyDialogTest, SetUpSkipsADisabledFirstPage) {
  dialog = std::make_unique<TTestPropertyDialog>(ptsNone);
  pages.push_back(std::make_unique<TRecordingPage>(dialog.get(), "0", dialog->log));
  pages.push_back(std::make_unique<TRecordingPage>(dialog.get(), "1", dialog->log));
  dialog->AddPage("A", pages[0].get(), false);
  dialog->AddPage("B", pages[1].get());
  dialog->Open();
  EXPECT_EQ(dialog->Tab()->Selected(), 1);
  EXPECT_FALSE(dialog->SelectPage(0));
}

TEST_F(PropertyDialogTest, TwoEntriesOfOnePageSwitchWithoutHidingIt) {
  dialog = std::make_unique<TTestPropertyDialog>(ptsPagesOnDemand);
  pages.push_back(std::make_unique<TRecordingPage>(dialog.get(), "0", dialog->log));
  dialog->AddPage("First", pages[0].get());
  dialog->AddPage("Second", pages[0].get());
  dialog->Open();
  ASSERT_TRUE(dialog->SelectPage(1));
  EXPECT_EQ(Page(0).created, 1);
  EXPECT_TRUE(Page(0).Window()->isVisible());
}

TEST_F(PropertyDialogTest, WithoutPagesItIsAPlainDialog) {
  Make(ptsNone, 0);
  dialog->Open();
  EXPECT_EQ(dialog->Tab(), nullptr);
  EXPECT_EQ(dialog->GetPageCount(), 0);
  EXPECT_FALSE(dialog->SelectPage(0));
  EXPECT_FALSE(TPropertyKeyHook::IsInstalled());
  dialog->ok->click();
  EXPECT_EQ(dialog->result(), IDOK);
}

TEST_F(PropertyDialogTest, BrokenPreconditionsNameTheFault) {
  Make(ptsNone, 1);
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const TPreconditionError& error) {
      return error.Expression();
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message([&] { dialog->AddPage(nullptr, &Page(0)); }),
            "Invalid property page name supplied");
  EXPECT_EQ(message([&] { dialog->AddPage("X", nullptr); }),
            "Invalid property page dialog supplied");
  EXPECT_EQ(message([&] { dialog->GetPage(1); }), "GetPage: Invalid index");
  EXPECT_EQ(message([&] { dialog->Tab()->IsTabEnabled(-2); }), "IsTabEnabled: Invalid index");
  EXPECT_EQ(message([&] { dialog->Tab()->SetTabText(3, "x"); }), "SetTabText: Invalid index");
  EXPECT_FALSE(dialog->Tab()->SelectTab(-1));
}

TEST_F(PropertyDialogTest, PagesAndDialogGoInEitherOrder) {
  Make(ptsNone);
  dialog->Open();
  pages[1].reset();
  EXPECT_EQ(dialog->GetPageCount(), 2);
  dialog.reset();
  pages.clear();  // pages outliving their dialog touch nothing of it
}

TEST_F(PropertyDialogTest, TwoOpenDialogsShareTheHookUntilTheLastCloses) {
  Make(ptsNone);
  TTestPropertyDialog second(ptsNone);
  TRecordingPage page(&second, "x", second.log);
  second.AddPage("X", &page);
  dialog->Open();
  second.Open();
  EXPECT_EQ(TPropertyKeyHook::LiveCount(), 2);
  dialog->cancel->click();
  EXPECT_TRUE(TPropertyKeyHook::IsInstalled());
  second.cancel->click();
  EXPECT_FALSE(TPropertyKeyHook::IsInstalled());
}

TEST_F(PropertyDialogTest, PageMessagesAreOwnedByTheDialog) {
  test::TRecordingMessageBoxService boxes;
  Make(ptsNone, 1);
  dialog->Open();
  Page(0).ProgramMessage("%d staves", 12);
  Page(0).MessageBox("Sure?", "Question", MB_YESNO);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].caption, "Program Message");
  EXPECT_EQ(boxes.boxes[0].text, "12 staves");
  EXPECT_EQ(boxes.boxes[0].type, MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(boxes.boxes[0].owner, dialog.get());
  EXPECT_EQ(boxes.boxes[1].owner, dialog.get());
  EXPECT_THROW(Page(0).ProgramMessage(nullptr), TPreconditionError);
}

TEST_F(PropertyDialogTest, VariableFontReachesDialogAndPageControls) {
  Make(ptsAnsiVarFont, 2);
  QFont odd(QStringLiteral("Liberation Mono"), 17);
  dialog->ok->setFont(odd);
  dialog->Open();
  EXPECT_EQ(dialog->ok->font(), QApplication::font());
  EXPECT_EQ(Page(0).edit->font(), QApplication::font());
}

TEST_F(PropertyDialogTest, HelpUsesTheShownPagesMap) {
  static constexpr TCtrlHelpEntry kLayoutHelp[] = {{301, 4001}, {0, 0}};
  Make(ptsNone, 2);
  Page(1).SetHelpMap(kLayoutHelp);
  dialog->Open();
  test::TestApp().ClearHelp();
  QTest::keyClick(Page(0).edit, Qt::Key_F1);
  dialog->SelectPage(1);
  QTest::keyClick(Page(1).edit, Qt::Key_F1);
  ASSERT_EQ(test::TestApp().contextHelp.size(), 2u);
  EXPECT_EQ(test::TestApp().contextHelp[0].firstMapId, 0);
  EXPECT_EQ(test::TestApp().contextHelp[1].firstMapId, 301);
  EXPECT_EQ(test::TestApp().contextHelp[1].dialogId, 700);
}

class TNumberPage : public TKVPropertyPage {
public:
  using TKVPropertyPage::TKVPropertyPage;
  TEditNumber* field = nullptr;

protected:
  void CreateControls(QWidget& window) override {
    field = new TEditNumber(&window, 1, 100, 1);
    field->setGeometry(10, 10, 80, 24);
    field->SetValue(50);
  }
};

TEST_F(PropertyDialogTest, FieldOutOfRangeKeepsThePageAndTheDialog) {
  test::TRecordingMessageBoxService boxes;
  dialog = std::make_unique<TTestPropertyDialog>(ptsNone);
  TNumberPage numbers(dialog.get());
  TRecordingPage other(dialog.get(), "1", dialog->log);
  dialog->AddPage("Numbers", &numbers);
  dialog->AddPage("Other", &other);
  dialog->Open();
  numbers.field->findChild<QLineEdit*>()->setText(QStringLiteral("500"));
  EXPECT_FALSE(dialog->SelectPage(1));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Value is out of range");
  dialog->ok->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(boxes.boxes.size(), 2u);
  numbers.field->SetValue(7);
  dialog->ok->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), IDOK);
}

TEST_F(PropertyDialogTest, ExecuteAnswersTheResultOfTheButtonPressed) {
  Make(ptsNone, 2);
  QTimer::singleShot(0, dialog.get(), [this] { dialog->ok->click(); });
  EXPECT_EQ(dialog->Execute(), IDOK);
  QTimer::singleShot(0, dialog.get(), [this] { dialog->cancel->click(); });
  EXPECT_EQ(dialog->Execute(), IDCANCEL);
  EXPECT_FALSE(TPropertyKeyHook::IsInstalled());
}

TEST_F(PropertyDialogTest, PageAreaStopsAboveOrBesideTheButtons) {
  Make(ptsNone);
  dialog->Open();
  EXPECT_EQ(dialog->Tab()->geometry(), QRect(QPoint(8, 8), QPoint(411, 264 - 6 - 1)));
  pages.clear();
  Make(ptsButtonsRight);
  dialog->ok->setGeometry(330, 10, 75, 25);
  dialog->Open();
  EXPECT_EQ(dialog->Tab()->geometry(), QRect(QPoint(8, 8), QPoint(330 - 8 - 1, 291)));
}

}  // namespace
}  // namespace kvt
