// The number field under a real display: Xvfb runs the small field-check program and xdotool
// types into it as a user would.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/utils/process_runner.h"

namespace kvt {
namespace {

class FieldCheckDisplayTest : public testing::Test {
protected:
  void SetUp() override {
    if (access("/usr/bin/Xvfb", X_OK) != 0 || access("/usr/bin/xdotool", X_OK) != 0)
      GTEST_SKIP() << "Xvfb and xdotool are needed";
    display = ":" + std::to_string(500 + getpid() % 400);
    std::vector<std::string> args = {"/usr/bin/Xvfb", display,     "-screen", "0",
                                     "800x600x24",    "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    ASSERT_EQ(posix_spawn(&xvfb, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 100 && Xdotool({"getdisplaygeometry"}).exitCode != 0; ++i) Pause();
  }
  void TearDown() override {
    if (xvfb == 0) return;
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
  }

  test::TProcessResult Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/xdotool");
    return test::RunProcess(args, {"DISPLAY=" + display});
  }
  // The first window with the name, waiting for it to appear; empty when none does.
  std::string WaitForWindow(const std::string& name, int tries = 100) {
    for (int i = 0; i < tries; ++i) {
      const auto found = Xdotool({"search", "--name", "^" + name + "$"});
      if (found.exitCode == 0 && !found.out.empty())
        return found.out.substr(0, found.out.find('\n'));
      Pause();
    }
    return {};
  }
  static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

  std::string display;
  pid_t xvfb = 0;
};

TEST_F(FieldCheckDisplayTest, LettersAreDroppedAndOutOfRangeKeepsTheDialogOpen) {
  test::TProcessResult run;
  std::thread runner([&] {
    run = test::RunProcess({KVT_FIELD_CHECK_PROGRAM},
                           {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"});
  });
  const std::string dialog = WaitForWindow("Field Check");
  std::string box, stillOpen;
  if (!dialog.empty()) {
    Xdotool({"windowfocus", "--sync", dialog});
    Xdotool({"type", "--delay", "30", "12abc"});
    Xdotool({"key", "Return"});
    box = WaitForWindow("Tempo", 30);
    if (!box.empty()) {
      Xdotool({"windowfocus", "--sync", box});
      Xdotool({"key", "Return"});
    }
    // The box is gone and the dialog is still there; Escape then cancels it.
    for (int i = 0; i < 30 && Xdotool({"search", "--name", "^Tempo$"}).exitCode == 0; ++i) Pause();
    stillOpen = WaitForWindow("Field Check", 5);
    Xdotool({"windowfocus", "--sync", dialog});
    Xdotool({"key", "Escape"});
  }
  runner.join();
  ASSERT_FALSE(dialog.empty()) << "no dialog appeared: " << run.err;
  EXPECT_FALSE(box.empty()) << run.out;
  EXPECT_EQ(stillOpen, dialog);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // The typed digits joined the 50 the field showed (caret at its start); the letters did not.
  EXPECT_EQ(run.out, "box Tempo|Value is out of range\nresult 2 text 1250\n");
}

}  // namespace
}  // namespace kvt
