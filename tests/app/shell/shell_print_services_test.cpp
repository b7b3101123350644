// The print preview's place in the "Placement" settings: the frame's record format both ways,
// a record that does not parse is no place; and the page-picture folder kept for the run.

#include "app/shell/shell_print_services.h"

#include <gtest/gtest.h>

#include "app/shell/tarlowmede_app.h"
#include "app/shell/window_placement_setting.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

TEST(SettingsPlacementStoreTest, StoresThePreviewAsAPlacementRecord) {
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  TSettingsPlacementStore store(settings);
  struct Case {
    TWindowPlacement placement;
    const char* record;
  };
  const Case cases[] = {
      {{QRect(QPoint(10, 20), QPoint(509, 419)), false}, "0:1:(10,20)(509,419)"},
      {{QRect(QPoint(-5, 0), QPoint(99, 50)), true}, "0:3:(-5,0)(99,50)"},
  };
  for (const Case& c : cases) {
    store.Save("PreviewTest", c.placement);
    EXPECT_EQ(settings.GetProfileString(kPlacementSection, "PreviewTest", ""), c.record);
    TWindowPlacement loaded;
    ASSERT_TRUE(store.Load("PreviewTest", loaded)) << c.record;
    EXPECT_EQ(loaded.normal, c.placement.normal);
    EXPECT_EQ(loaded.maximized, c.placement.maximized);
  }
}

TEST(SettingsPlacementStoreTest, AnUnreadableRecordIsNoPlace) {
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  TSettingsPlacementStore store(settings);
  TWindowPlacement loaded;
  for (const char* record : {"", "0:3:(10,20)(810)", "garbage text here", "0:1:(a,b)(c,d)"}) {
    ASSERT_TRUE(settings.WriteProfileString(kPlacementSection, "PreviewBad", record));
    EXPECT_FALSE(store.Load("PreviewBad", loaded)) << record;
  }
  EXPECT_FALSE(store.Load("NeverStored", loaded));
}

TEST(ShellPrintShellTest, RemembersThePictureFolderForTheRun) {
  TShellPrintShell shell(nullptr);
  EXPECT_EQ(shell.MainWindow(), nullptr);
  EXPECT_EQ(shell.FileDialogFolder(0), "");
  shell.RememberFileDialogFolder(0, "/home/me/pictures/page1.svg");
  EXPECT_EQ(shell.FileDialogFolder(0), "/home/me/pictures");
  shell.RememberFileDialogFolder(1, "/elsewhere/x.svg");  // only page pictures are kept
  EXPECT_EQ(shell.FileDialogFolder(0), "/home/me/pictures");
  EXPECT_EQ(shell.FileDialogFolder(1), "");
}

}  // namespace
}  // namespace kvt
