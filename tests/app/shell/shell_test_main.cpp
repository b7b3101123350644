// The shell's tests run under the editor's application object, with the settings, the runtime
// folder (the single-instance socket) and the state folder in a private temporary folder, and
// no display (QT_QPA_PLATFORM=offscreen).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/shell/tarlowmede_app.h"
#include "tests/app/shell/shell_test_env.h"
#include "utils/sys_info.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char folder[] = "/tmp/kvt_shell_test_XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  kvt::test::ShellTestFolder() = folder;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME", "HOME"}) {
    const std::string path = std::string(folder) + "/" + name;
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    setenv(name, path.c_str(), 1);
  }
  int result = 1;
  {
    kvt::TSysInfo settings;
    settings.SetProfileLocation("Tarlowmede Software", "Shell Test");
    kvt::TTarlowmedeApp app(argc, argv, settings);
    testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return result;
}
