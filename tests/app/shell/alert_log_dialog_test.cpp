// The alert log dialog: the kept lines, the first unseen one selected, Copy Alert.

#include "app/shell/alert_log_dialog.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "app/shell/tarlowmede_app.h"

namespace kvt {
namespace {

class AlertLogDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    app.ErrorLog().Clear();
    app.SetAlertsSeen(0);
  }
  void TearDown() override { SetUp(); }
  TTarlowmedeApp& app = *TTarlowmedeApp::Running();
};

TEST_F(AlertLogDialogTest, ListsTheKeptLinesFromAlert45AndSelectsTheFirstUnseen) {
  for (int i = 1; i <= 300; ++i) app.ErrorLog().Printf("alert %d", i);
  app.SetAlertsSeen(100);
  {
    TAlertDlg dialog(nullptr, app);
    dialog.show();
    ASSERT_EQ(dialog.List().count(), 256);
    EXPECT_EQ(dialog.List().item(0)->text(), "alert 45");
    EXPECT_EQ(dialog.List().currentItem()->text(), "alert 101");
    EXPECT_EQ(app.AlertsSeen(), 300u);
    dialog.List().setCurrentRow(2);
    dialog.CopyCurrentLine();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "alert 47");
  }
  // All seen: the last line; seen count before the kept lines: the first.
  TAlertDlg again(nullptr, app);
  again.show();
  EXPECT_EQ(again.List().currentRow(), 255);
  app.SetAlertsSeen(3);
  TAlertDlg early(nullptr, app);
  early.show();
  EXPECT_EQ(early.List().currentRow(), 0);
}

TEST_F(AlertLogDialogTest, AlertMenuClearsAndSwitchesTheEcho) {
  app.ErrorLog().AddLine("The 'x' in port failed");
  app.SetAlertsSeen(1);
  QMenu menu;
  AddAlertMenuItems(menu, app);
  ASSERT_EQ(menu.actions().size(), 3);
  EXPECT_EQ(menu.actions()[0]->text(), "Clear Alert Log");
  menu.actions()[1]->trigger();
  EXPECT_TRUE(app.ErrorLog().IsEcho());
  menu.actions()[1]->trigger();
  EXPECT_FALSE(app.ErrorLog().IsEcho());
  menu.actions()[0]->trigger();
  EXPECT_EQ(app.ErrorLog().Snapshot().total, 0u);
  EXPECT_EQ(app.AlertsSeen(), 0u);
}

}  // namespace
}  // namespace kvt
