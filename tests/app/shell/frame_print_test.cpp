// Printing from the main frame's menu commands, against the application's own printer and
// settings: the preview comes back where it was left through "Placement", and Print writes
// the PDF beside the score when the print dialog is confirmed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <filesystem>

#include "app/editor/score_edit.h"
#include "app/editor/score_window.h"
#include "app/editor/score_window_host.h"
#include "app/shell/main_frame.h"
#include "app/shell/open_file.h"
#include "app/shell/tarlowmede_app.h"
#include "app/shell/window_placement_setting.h"
#include "print/kv_printer.h"
#include "print/preview_window.h"
#include "tests/app/shell/shell_test_env.h"
#include "tools/command_table.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class FramePrintTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = &app.InitMainWindow();
    folder = fs::path(test::ShellTestFolder()) / "print" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(folder);
    const fs::path path = folder / "song.kvttxt";
    fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvttxt", path,
                  fs::copy_options::overwrite_existing);
    OpenFileByPath(*frame, path.string(), kOpenDialog);
    window = frame->FindScoreWindow(path.string());
    ASSERT_NE(window, nullptr);
    frame->Client().setActiveSubWindow(window);
    window->View()->SetActive(true);
  }
  void TearDown() override {
    for (QMdiSubWindow* child : frame->ScoreWindows()) delete child;
  }

  TTarlowmedeApp& app = *TTarlowmedeApp::Running();
  TTarlowmedeFrame* frame = nullptr;
  TScoreWindow* window = nullptr;
  fs::path folder;
};

TEST_F(FramePrintTest, PreviewKeepsItsPlaceInTheSettings) {
  TSysInfo& settings = app.Settings();
  settings.WriteProfileString(kPlacementSection, "Preview", nullptr);
  TCommandTable& commands = app.Commands();
  ASSERT_TRUE(commands.IsEnabled(kCmdPrintPreview));
  QRect shown;
  QTimer::singleShot(50, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* preview = dynamic_cast<TKVTPrintPreview*>(w); preview && preview->isVisible()) {
        preview->setGeometry(40, 50, 400, 300);
        shown = preview->geometry();
        preview->close();
      }
  });
  EXPECT_TRUE(commands.Execute(kCmdPrintPreview));
  ASSERT_FALSE(shown.isEmpty());
  const auto stored =
      ParseWindowPlacement(settings.GetProfileString(kPlacementSection, "Preview", ""));
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->normal, shown);
  EXPECT_EQ(stored->showCommand, kShowNormal);
}

TEST_F(FramePrintTest, PrintWritesThePdfBesideTheScore) {
  ASSERT_TRUE(app.Commands().IsEnabled(kCmdPrint));
  if (!frame->Host().Printer().DeviceName().isEmpty())
    GTEST_SKIP() << "a print system printer is installed; only the PDF route is checked";
  bool confirmed = false;
  QTimer::singleShot(100, [&] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      confirmed = true;
      dialog->accept();
    }
  });
  EXPECT_TRUE(app.Commands().Execute(kCmdPrint));
  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(fs::exists(folder / "song.pdf"));
}

}  // namespace
}  // namespace kvt
