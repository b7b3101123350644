#include "tools/kv_dlg_base.h"

#include "tests/tools/test_app.h"
#include "tools/message_box_service.h"
#include "tools/window_placement.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace kvt {
namespace {

constexpr int32_t kDialogId = 4711;
constexpr int32_t kNameEditId = 101;

const TCtrlHelpEntry kNameHelp[] = {{kNameEditId, 5001}, {0, 0}};

// A dialog with one edit, an OK button and a Help button, optionally with its own help map.
class TSampleDialog : public TKVDlgBase {
public:
  explicit TSampleDialog(bool withHelpMap) : TKVDlgBase(nullptr, kDialogId) {
    auto* layout = new QVBoxLayout(this);
    edit = new QLineEdit(this);
    help = new QPushButton("Help", this);
    help->setAutoDefault(false);
    layout->addWidget(edit);
    layout->addWidget(help);
    SetControlId(edit, kNameEditId);
    SetControlId(help, kHelpButtonId);
    if (withHelpMap) SetHelpMap(kNameHelp);
    resize(240, 120);
  }
  QLineEdit* edit;
  QPushButton* help;
};

class KVDlgBaseTest : public testing::Test {
protected:
  void SetUp() override { test::TestApp().ClearHelp(); }
};

TEST_F(KVDlgBaseTest, FirstShowCentresOnTheScreen) {
  TSampleDialog dialog(false);
  dialog.move(3, 4);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.frameGeometry().topLeft(),
            CenteredTopLeft(ScreenRect(), dialog.frameGeometry().size()));
}

TEST_F(KVDlgBaseTest, UncenteredRunKeepsItsPositionAndAnswersOk) {
  TSampleDialog dialog(false);
  dialog.move(3, 4);
  QPoint shownAt;
  QTimer::singleShot(0, &dialog, [&] {
    shownAt = dialog.pos();
    dialog.accept();
  });
  EXPECT_EQ(ExecuteDialogUncentered(dialog), IDOK);
  EXPECT_EQ(shownAt, QPoint(3, 4));
}

TEST_F(KVDlgBaseTest, EscapeAnswersCancel) {
  TSampleDialog dialog(false);
  QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(dialog.exec(), IDCANCEL);
}

TEST_F(KVDlgBaseTest, DoneAnswersAnyInt) {
  TSampleDialog dialog(false);
  QTimer::singleShot(0, &dialog, [&] { dialog.done(IDNO); });
  EXPECT_EQ(dialog.exec(), IDNO);
}

TEST_F(KVDlgBaseTest, F1AsksForHelpOnTheFocusedControlWithTheDialogsMap) {
  TSampleDialog dialog(true);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.activateWindow();
  dialog.edit->setFocus();
  QTest::keyClick(dialog.edit, Qt::Key_F1);
  ASSERT_EQ(test::TestApp().contextHelp.size(), 1u);
  const test::TContextHelpCall& call = test::TestApp().contextHelp[0];
  EXPECT_EQ(call.request.controlId, kNameEditId);
  EXPECT_EQ(call.request.control, dialog.edit);
  EXPECT_EQ(call.firstMapId, kNameEditId);
  EXPECT_EQ(call.dialogId, kDialogId);
}

TEST_F(KVDlgBaseTest, DialogWithoutHelpMapAsksWithTheEmptyMap) {
  TSampleDialog dialog(false);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.edit->setFocus();
  QTest::keyClick(dialog.edit, Qt::Key_F1);
  ASSERT_EQ(test::TestApp().contextHelp.size(), 1u);
  EXPECT_EQ(test::TestApp().contextHelp[0].firstMapId, 0);
  EXPECT_EQ(test::TestApp().contextHelp[0].dialogId, kDialogId);
}

TEST_F(KVDlgBaseTest, HelpButtonAsksForTheDialogsTopic) {
  TSampleDialog dialog(false);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(dialog.help, Qt::LeftButton);
  EXPECT_EQ(test::TestApp().commandHelp, std::vector<int32_t>{kDialogId});
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(KVDlgBaseTest, ControlRegistryFindsControlsAndForgetsDestroyedOnes) {
  TSampleDialog dialog(false);
  EXPECT_EQ(dialog.Control(kNameEditId), dialog.edit);
  EXPECT_EQ(dialog.ControlId(dialog.edit), kNameEditId);
  EXPECT_EQ(dialog.Control(55), nullptr);
  EXPECT_EQ(dialog.ControlId(&dialog), 0);
  delete dialog.edit;
  EXPECT_EQ(dialog.Control(kNameEditId), nullptr);
}

}  // namespace
}  // namespace kvt
