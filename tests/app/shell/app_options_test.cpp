// Options in the settings: defaults leave no value behind.

#include "app/shell/app_options.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "app/shell/tarlowmede_app.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

TEST(AppOptionsTest, DefaultsAreDeletedAndChangesKept) {
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  TAppOptions options;
  options.Set(kOptUndoLevels, 40);
  options.Set(kOptAutoSaveMinutes, 0);
  ASSERT_TRUE(options.Save(settings));
  EXPECT_EQ(settings.GetProfileString("options", "undolevels", "none"), "40");
  EXPECT_EQ(settings.GetProfileString("Options", "AutoSaveMinutes", "none"), "0");
  EXPECT_EQ(settings.GetProfileString("Options", "SaveBackups", "none"), "none");

  TAppOptions loaded;
  loaded.Load(settings);
  EXPECT_EQ(loaded.Get(kOptUndoLevels), 40);
  EXPECT_EQ(loaded.Get(kOptAutoSaveMinutes), 0);
  EXPECT_EQ(loaded.Get(kOptPersistentNoteTools), 952);

  loaded.Set(kOptUndoLevels, 16);  // back to its default
  loaded.Set(kOptAutoSaveMinutes, 15);
  ASSERT_TRUE(loaded.Save(settings));
  EXPECT_EQ(settings.GetProfileString("Options", "UndoLevels", "none"), "none");
  EXPECT_EQ(settings.GetProfileString("Options", "AutoSaveMinutes", "none"), "none");
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// The tests run under a UTF-8 locale; the application object leaves numbers in the C locale.
TEST(TarlowmedeAppTest, NumbersStayInTheCLocale) {
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  char text[16];
  std::snprintf(text, sizeof text, "%g", 1.5);
  EXPECT_STREQ(text, "1.5");
}

}  // namespace
}  // namespace kvt
