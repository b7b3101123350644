// kvt2 under a real (virtual) display: it shows the score it was started with; a second start
// hands its file to the first and ends with 1, and the first shows that file too; items copied
// in one kvt2 paste into a second one started with /newinst.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "notation/files/text/score_text_file.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/app/shell/shell_test_env.h"
#include "tests/utils/process_runner.h"
#include "tests/utils/virtual_display.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class Kvt2DisplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!test::TVirtualDisplay::IsAvailable()) GTEST_SKIP() << "Xvfb and xdotool are needed";
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
    home = fs::path(test::ShellTestFolder()) / "display_home";
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
  }

  // The environment of each kvt2: this display, a private home, settings and socket folder.
  std::vector<std::string> Environment() const {
    return {screen.DisplaySetting(),
            "QT_QPA_PLATFORM=xcb",
            "WAYLAND_DISPLAY=",
            "HOME=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / "config").string(),
            "XDG_STATE_HOME=" + (home / "state").string(),
            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
            "LC_ALL=C.UTF-8"};
  }

  // Opens a menu of `window` with alt+`menu` and picks `item`, again until `done` holds: on a
  // loaded machine the menu may not be open yet when the item's key arrives.
  bool ChooseFromMenu(const std::string& window, const std::string& menu, const std::string& item,
                      const std::function<bool()>& done) const {
    for (int attempt = 0; attempt < 8; ++attempt) {
      screen.Xdotool({"windowfocus", "--sync", window});
      screen.Xdotool({"key", "alt+" + menu});
      for (int i = 0; i < 6; ++i) test::TVirtualDisplay::Pause();
      screen.Xdotool({"key", item});
      for (int i = 0; i < 40; ++i) {
        if (done()) return true;
        test::TVirtualDisplay::Pause();
      }
    }
    return done();
  }
  // True once no window's name matches the pattern.
  std::function<bool()> Gone(const std::string& namePattern) const {
    return [this, namePattern] { return screen.WaitForWindow(namePattern, 1).empty(); };
  }

  test::TVirtualDisplay screen;
  fs::path home;
};

TEST_F(Kvt2DisplayTest, ShowsTheExampleAndTakesASecondStartsFile) {
  const fs::path second = home / "second.kvttxt";
  fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvttxt", second);

  test::TProcessResult first;
  std::thread runner([&] {
    // Bounded, so a window that never closes fails the test instead of hanging it.
    first = test::RunProcess(
        {"/usr/bin/timeout", "60", KVT2_EXECUTABLE, fs::path(KVT_EXAMPLES_DIR) / "example.kvt"},
        Environment());
  });
  const std::string shown = screen.WaitForWindow("Tarlowmede Razadove - \\[example\\]", 200);

  test::TProcessResult handOver;
  std::string secondShown;
  // A relative name is made absolute by the second start, from its own folder.
  if (!shown.empty()) {
    handOver = test::RunProcess({"/bin/sh", "-c", "cd \"$1\" && exec \"$2\" second.kvttxt", "sh",
                                 home.string(), KVT2_EXECUTABLE},
                                Environment());
    secondShown = screen.WaitForWindow("Tarlowmede Razadove - \\[second ", 200);
  }
  // Exit through the File menu, as a user would.
  const std::string frame = screen.WaitForWindow("^Tarlowmede Razadove - ", 5);
  if (!frame.empty()) ChooseFromMenu(frame, "f", "x", Gone("^Tarlowmede Razadove - "));
  runner.join();

  ASSERT_FALSE(shown.empty()) << "the example was not shown: " << first.err;
  EXPECT_EQ(handOver.exitCode, 1) << handOver.err;
  EXPECT_EQ(handOver.out, "");
  EXPECT_FALSE(secondShown.empty()) << "the first instance did not show the second start's file";
  EXPECT_EQ(first.exitCode, 0) << first.err;
}

// An autosave file that a killed session left behind (no lock holds it) comes back at the next
// start as "Recovered File 1", after the warning; declining to save it on exit discards it.
TEST_F(Kvt2DisplayTest, RecoversTheAutosaveOfAKilledSession) {
  const fs::path autosaves = home / "state" / "kvt2";
  fs::create_directories(autosaves);
  fs::permissions(autosaves, fs::perms::owner_all);
  fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvt", autosaves / "kvt000.asv");
  fs::permissions(autosaves / "kvt000.asv", fs::perms::owner_read | fs::perms::owner_write);

  test::TProcessResult run;
  std::thread runner([&] {
    run = test::RunProcess({"/usr/bin/timeout", "60", KVT2_EXECUTABLE}, Environment());
  });
  const std::string warning = screen.WaitForWindow("^Warning$", 200);
  if (!warning.empty()) {
    screen.Xdotool({"windowfocus", "--sync", warning});
    screen.Xdotool({"key", "Return"});
  }
  const std::string frame =
      screen.WaitForWindow("^Tarlowmede Razadove - \\[<Recovered File 1>", 100);
  std::string question;
  if (!frame.empty()) {
    ChooseFromMenu(frame, "f", "x",
                   [&] { return !screen.WaitForWindow("^Save Confirmation$", 1).empty(); });
    question = screen.WaitForWindow("^Save Confirmation$", 100);
    if (!question.empty()) {
      screen.Xdotool({"windowfocus", "--sync", question});
      screen.Xdotool({"key", "n"});
    }
  }
  runner.join();
  ASSERT_FALSE(warning.empty()) << "no recovery warning: " << run.err;
  EXPECT_FALSE(frame.empty()) << "no recovered window";
  EXPECT_FALSE(question.empty()) << "the recovered window closed without asking";
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(fs::exists(autosaves / "kvt000.asv"));
}

// Zoom in from the View menu, save with Ctrl+S, quit: the file keeps its text with the new
// zoom, and it opens again.
TEST_F(Kvt2DisplayTest, ZoomSavedAndReopened) {
  const fs::path song = home / "zoomed.kvttxt";
  fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvttxt", song);
  const std::string before = test::ReadWholeFile(song.string());
  ASSERT_NE(before.find("|Zoom:4|"), std::string::npos);

  test::TProcessResult run;
  std::thread runner([&] {
    run =
        test::RunProcess({"/usr/bin/timeout", "60", KVT2_EXECUTABLE, song.string()}, Environment());
  });
  const std::string frame = screen.WaitForWindow("^Tarlowmede Razadove - \\[zoomed ", 200);
  if (!frame.empty()) {
    screen.Xdotool({"windowfocus", "--sync", frame});
    screen.Xdotool({"key", "alt+v"});
    for (int i = 0; i < 10; ++i) test::TVirtualDisplay::Pause();  // the menu opens
    screen.Xdotool({"key", "i"});
    test::TVirtualDisplay::Pause();
    screen.Xdotool({"key", "ctrl+s"});
    for (int i = 0; i < 100 && test::ReadWholeFile(song.string()) == before; ++i)
      test::TVirtualDisplay::Pause();
    ChooseFromMenu(frame, "f", "x", Gone("^Tarlowmede Razadove - "));
  }
  runner.join();
  ASSERT_FALSE(frame.empty()) << "the score was not shown: " << run.err;
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::string after = test::ReadWholeFile(song.string());
  // The file keeps half the editor's zoom: one step in is one more here.
  const size_t zoom = after.find("|Zoom:5|");
  ASSERT_NE(zoom, std::string::npos) << after.substr(0, 400);
  after.replace(zoom, 8, "|Zoom:4|");
  // The save adds the editor's state (active staff and caret); the rest is the text as it was.
  const size_t editor = after.find("|Editor|");
  ASSERT_NE(editor, std::string::npos);
  after.erase(editor, after.find("\r\n", editor) + 2 - editor);
  EXPECT_EQ(after, before);

  test::TProcessResult again;
  std::thread reopen([&] {
    again =
        test::RunProcess({"/usr/bin/timeout", "60", KVT2_EXECUTABLE, song.string()}, Environment());
  });
  const std::string shown = screen.WaitForWindow("^Tarlowmede Razadove - \\[zoomed ", 200);
  if (!shown.empty()) ChooseFromMenu(shown, "f", "x", Gone("^Tarlowmede Razadove - "));
  reopen.join();
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(again.exitCode, 0) << again.err;
}

// A phrase typed into the editing view, Shift characters among it, saved with Ctrl+S: the file
// reopens with the items the keys entered.
TEST_F(Kvt2DisplayTest, TypedPhraseSavedAndReopened) {
  const fs::path song = home / "phrase.kvttxt";
  {
    std::ofstream out(song, std::ios::binary);
    out << "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"Melody\"\r\n|Clef|Type:Treble\r\n"
           "!TarlowmedeRazadove-End\r\n";
  }
  const std::string before = test::ReadWholeFile(song.string());

  test::TProcessResult run;
  std::thread runner([&] {
    run =
        test::RunProcess({"/usr/bin/timeout", "60", KVT2_EXECUTABLE, song.string()}, Environment());
  });
  const std::string frame = screen.WaitForWindow("^Tarlowmede Razadove - \\[phrase ", 200);
  if (!frame.empty()) {
    screen.Xdotool({"windowfocus", "--sync", frame});
    for (int i = 0; i < 10; ++i) test::TVirtualDisplay::Pause();  // the view takes the focus
    // To the staff's end, then: quarter, note, accent (Shift+1), note, bar line, crescendo
    // (Shift+comma), sixteenth, rest.
    for (const char* key : {"End", "3", "Return", "exclam", "Return", "Tab", "less", "5", "space"}) {
      screen.Xdotool({"key", "--delay", "30", key});
    }
    screen.Xdotool({"key", "ctrl+s"});
    for (int i = 0; i < 100 && test::ReadWholeFile(song.string()) == before; ++i)
      test::TVirtualDisplay::Pause();
    ChooseFromMenu(frame, "f", "x", Gone("^Tarlowmede Razadove - "));
  }
  runner.join();
  ASSERT_FALSE(frame.empty()) << "the score was not shown: " << run.err;
  EXPECT_EQ(run.exitCode, 0) << run.err;

  const TScoreLoadResult reopened = LoadTextScoreFile(song.string(), TServices{});
  ASSERT_NE(reopened.score, nullptr);
  ASSERT_EQ(reopened.score->GetStaffCount(), 1);
  const TMusicStaff& staff = *reopened.score->GetStaff(0);
  std::string items;
  for (int i = 1; i < staff.GetLastIndex(); ++i)
    items += FormatItemLine(*staff.GetItem(i), kTextModeScore) + "\n";
  EXPECT_EQ(items,
            "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0\n|Note|Dur:4th,Accent|Pos:0\n|Bar\n"
            "|Rest|Dur:16th|Opts:Crescendo\n");
}

// A score of one staff with the given item lines.
std::string OneStaffScore(const std::vector<std::string>& items) {
  std::string text = "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"Staff\"\r\n";
  for (const std::string& item : items) text += item + "\r\n";
  return text + "!TarlowmedeRazadove-End\r\n";
}

// The lines of a saved score from the first item line of its (only) staff to its end line.
std::vector<std::string> ItemLinesOf(const std::string& text) {
  std::vector<std::string> lines;
  bool inStaff = false;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    if (line.rfind("!TarlowmedeRazadove-End", 0) == 0) break;
    const bool property = line.rfind("|AddStaff", 0) == 0 || line.rfind("|Staff", 0) == 0 ||
                          line.rfind("|Lyric", 0) == 0;
    if (line.rfind("|AddStaff", 0) == 0) inStaff = true;
    if (inStaff && !property && line.rfind("|", 0) == 0) lines.push_back(line);
  }
  return lines;
}

// Home, Shift+End and Copy from the Edit menu in one kvt2; a second one started with /newinst opens another
// score, pastes from the Edit menu at its caret and saves with Ctrl+S: the saved staff holds the
// copied items before its own.
TEST_F(Kvt2DisplayTest, CopiedInOneInstancePastedInASecond) {
  const std::vector<std::string> copied = {"|Note|Dur:4th|Pos:0", "|Note|Dur:4th|Pos:2",
                                           "|Rest|Dur:Half"};
  const std::vector<std::string> own = {"|Clef|Type:Bass", "|Rest|Dur:Whole"};
  const fs::path source = home / "source.kvttxt";
  const fs::path target = home / "target.kvttxt";
  {
    std::ofstream(source, std::ios::binary) << OneStaffScore(copied);
    std::ofstream(target, std::ios::binary) << OneStaffScore(own);
  }
  const std::string before = test::ReadWholeFile(target.string());

  test::TProcessResult first;
  std::thread firstRunner([&] {
    first = test::RunProcess({"/usr/bin/timeout", "90", KVT2_EXECUTABLE, source.string()},
                             Environment());
  });
  const std::string copyFrame = screen.WaitForWindow("^Tarlowmede Razadove - \\[source ", 200);
  test::TProcessResult second;
  std::thread secondRunner;
  std::string pasteFrame;
  std::string openDialog;
  if (!copyFrame.empty()) {
    screen.Xdotool({"windowfocus", "--sync", copyFrame});
    for (const char* key : {"Home", "shift+End"}) {
      screen.Xdotool({"key", key});
      test::TVirtualDisplay::Pause();
    }
    // Ctrl+C goes straight to the focused view (a menu opened by its mnemonic can miss its
    // key on a loaded machine).
    screen.Xdotool({"key", "ctrl+c"});
    for (int i = 0; i < 10; ++i) test::TVirtualDisplay::Pause();
    secondRunner = std::thread([&] {
      second = test::RunProcess({"/usr/bin/timeout", "90", KVT2_EXECUTABLE, "/newinst"},
                                Environment());
    });
    const std::string empty = screen.WaitForWindow("^Tarlowmede Razadove$", 200);
    if (!empty.empty()) {
      // Open the other score through the Open dialog, typing its full name.
      for (int attempt = 0; attempt < 5 && openDialog.empty(); ++attempt) {
        screen.Xdotool({"windowfocus", "--sync", empty});
        screen.Xdotool({"key", "ctrl+o"});
        openDialog = screen.WaitForWindow("^Open$", 40);
      }
      if (!openDialog.empty()) {
        screen.Xdotool({"windowfocus", "--sync", openDialog});
        screen.Xdotool({"type", "--delay", "20", target.string()});
        screen.Xdotool({"key", "Return"});
      }
      pasteFrame = screen.WaitForWindow("^Tarlowmede Razadove - \\[target ", 200);
    }
    if (!pasteFrame.empty()) {
      screen.Xdotool({"windowfocus", "--sync", pasteFrame});
      screen.Xdotool({"key", "Home"});
      test::TVirtualDisplay::Pause();
      // Paste, then save.
      screen.Xdotool({"key", "ctrl+v"});
      for (int i = 0; i < 10; ++i) test::TVirtualDisplay::Pause();
      screen.Xdotool({"key", "ctrl+s"});
      for (int i = 0; i < 100 && test::ReadWholeFile(target.string()) == before; ++i)
        test::TVirtualDisplay::Pause();
      ChooseFromMenu(pasteFrame, "f", "x", Gone("^Tarlowmede Razadove - \\[target "));
    }
  }
  // Whatever happened, both end through the File menu.
  if (const std::string frame = screen.WaitForWindow("^Tarlowmede Razadove$", 5); !frame.empty())
    ChooseFromMenu(frame, "f", "x", Gone("^Tarlowmede Razadove$"));
  if (!copyFrame.empty()) ChooseFromMenu(copyFrame, "f", "x", Gone("\\[source "));
  firstRunner.join();
  if (secondRunner.joinable()) secondRunner.join();

  ASSERT_FALSE(copyFrame.empty()) << "the source was not shown: " << first.err;
  ASSERT_FALSE(openDialog.empty()) << "no Open dialog in the second instance: " << second.err;
  ASSERT_FALSE(pasteFrame.empty()) << "the target was not opened: " << second.err;
  EXPECT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(second.exitCode, 0) << second.err;
  const std::string after = test::ReadWholeFile(target.string());
  std::vector<std::string> want = copied;
  want.insert(want.end(), own.begin(), own.end());
  EXPECT_EQ(ItemLinesOf(after), want) << after << first.err << second.err;
}

}  // namespace
}  // namespace kvt
