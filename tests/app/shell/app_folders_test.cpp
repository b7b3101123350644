// Folders: stored values, defaults, and the program-folder test on whole components.

#include "app/shell/app_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/shell/tarlowmede_app.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

TEST(AppFoldersTest, IsPathInProgramFolderComparesWholeComponents) {
  struct Case {
    const char* path;
    bool inside;
  } cases[] = {
      {"/opt/kvt2/bin/tool.lua", true},
      {"/opt/kvt2/bin", true},
      {"/opt/kvt2/binaries/tool.lua", false},
      {"/opt/kvt2/bin2/tool.lua", false},
      {"/usr/share/kvt2/Samples/a.kvt", true},
      {"/usr/share/kvt2x/a.kvt", false},
      {"/home/u/a.kvt", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPathInProgramFolder(c.path, "/opt/kvt2/bin", "/usr/share/kvt2/"), c.inside)
        << c.path;
  }
}

TEST(AppFoldersTest, IsPathInProgramFolderFollowsLinks) {
  const std::filesystem::path base = std::getenv("HOME");
  std::filesystem::create_directories(base / "real" / "bin");
  std::filesystem::create_directory_symlink(base / "real", base / "link");
  const std::string viaLink = (base / "link" / "bin" / "x.lua").string();
  EXPECT_TRUE(IsPathInProgramFolder(viaLink, (base / "real" / "bin").string(), "/nowhere"));
  EXPECT_FALSE(IsPathInProgramFolder(viaLink, (base / "real" / "bi").string(), "/nowhere"));
}

TEST(AppFoldersTest, StoredFoldersWinOverDefaults) {
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  EXPECT_EQ(GetFolder(settings, kFolderBackups), "");  // backups lie beside the score
  const std::string config = GetFolder(settings, kFolderConfig);
  EXPECT_EQ(config, std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tarlowmede Software/kvt2");
  EXPECT_TRUE(std::filesystem::is_directory(config));
  EXPECT_EQ(GetFolder(settings, kFolderAutoSave),
            std::string(std::getenv("XDG_STATE_HOME")) + "/kvt2");
  ASSERT_TRUE(SetFolder(settings, kFolderSongs, "/music/scores"));
  EXPECT_EQ(GetFolder(settings, kFolderSongs), "/music/scores");
  EXPECT_EQ(GetFolder(settings, kFolderTemplates, true), "");
  EXPECT_EQ(GetFolder(settings, 8), "");
  EXPECT_FALSE(SetFolder(settings, -1, "/x"));
}

}  // namespace
}  // namespace kvt
