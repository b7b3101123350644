// The number field under a real display: Xvfb runs the small field-check program and xdotool
// types into it as a user would.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "tests/utils/process_runner.h"
#include "tests/utils/virtual_display.h"

namespace kvt {
namespace {

class FieldCheckDisplayTest : public testing::Test {
protected:
  void SetUp() override {
    if (!test::TVirtualDisplay::IsAvailable()) GTEST_SKIP() << "Xvfb and xdotool are needed";
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
  }

  test::TProcessResult Xdotool(std::vector<std::string> args) {
    return screen.Xdotool(std::move(args));
  }
  std::string WaitForWindow(const std::string& name, int tries = 100) {
    return screen.WaitForWindow("^" + name + "$", tries);
  }
  static void Pause() { test::TVirtualDisplay::Pause(); }

  test::TVirtualDisplay screen;
};

TEST_F(FieldCheckDisplayTest, LettersAreDroppedAndOutOfRangeKeepsTheDialogOpen) {
  test::TProcessResult run;
  std::thread runner([&] {
    run = test::RunProcess({KVT_FIELD_CHECK_PROGRAM},
                           {screen.DisplaySetting(), "QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"});
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
