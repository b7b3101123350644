// The score window's printing commands, offscreen on the PDF printer: Print writes the shown
// staves beside the score, a cancelled dialog writes nothing, the preview opens at the page of
// the caret and keeps its place, and the commands (Refresh Score too) follow whether the view
// may edit.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QTimer>

#include <climits>
#include <filesystem>
#include <memory>

#include "app/editor/score_edit.h"
#include "app/editor/score_window.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "print/preview_control.h"
#include "print/preview_window.h"
#include "tests/app/editor/scripted_score_window_host.h"
#include "tests/notation/staff_builder.h"
#include "tools/command_enabler.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class ScoreWindowPrintTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_window_print_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    host = std::make_unique<TScriptedScoreWindowHost>(root + "/autosave");
    area.resize(640, 480);
    area.show();
  }
  void TearDown() override {
    for (QMdiSubWindow* w : area.subWindowList()) {
      auto* window = static_cast<TScoreWindow*>(w);
      window->Document().MarkSaved();
      delete window;
    }
    EXPECT_TRUE(host->AllAnswersUsed());
    fs::remove_all(root);
    unsetenv("XDG_STATE_HOME");
  }
  // One staff of `bars` bars of four quarter notes, its view active.
  TScoreWindow* Open(const std::string& name, int bars) {
    auto score = std::make_unique<TMusicScore>();
    score->AddStaff(std::make_unique<TMusicStaff>());
    test::TStaffBuilder builder(*score->GetStaff(0));
    for (int bar = 0; bar < bars; ++bar) {
      for (int i = 0; i < 4; ++i) builder.Note(0);
      if (bar + 1 < bars) builder.Bar();
    }
    auto* window = new TScoreWindow(*host, root + "/" + name, std::move(score), 1, true);
    window->AddToArea(area);
    window->View()->SetActive(true);
    return window;
  }
  static bool Enabled(TScoreWindow& window, int command) {
    TCommandEnabler enabler(command);
    EXPECT_TRUE(window.Enable(enabler)) << command;
    return enabler.enabled.value_or(false);
  }

  std::string root;
  std::unique_ptr<TScriptedScoreWindowHost> host;
  QMdiArea area;
};

TEST_F(ScoreWindowPrintTest, PrintWritesThePdfBesideTheScore) {
  TScoreWindow* window = Open("song.kvt", 8);
  ASSERT_TRUE(window->Execute(kCmdPrint));
  const fs::path pdf = fs::path(root) / "song.pdf";
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_GT(fs::file_size(pdf), 1000u);
  ASSERT_EQ(host->printDialogs.limits.size(), 1u);
  EXPECT_EQ(host->printDialogs.limits[0], std::make_pair(1, INT_MAX));
  // (The test machine may lack the score's text font: that is logged, printing goes on.)
  for (const std::string& line : host->alerts.lines)
    EXPECT_EQ(line.find("could not be printed"), std::string::npos) << line;
}

TEST_F(ScoreWindowPrintTest, ACancelledPrintDialogWritesNothing) {
  TScoreWindow* window = Open("song.kvt", 2);
  host->printDialogs.confirm = false;
  ASSERT_TRUE(window->Execute(kCmdPrint));
  EXPECT_FALSE(fs::exists(fs::path(root) / "song.pdf"));
  EXPECT_FALSE(window->Document().IsModified());
}

TEST_F(ScoreWindowPrintTest, CommandsFollowWhetherTheViewMayEdit) {
  TScoreWindow* window = Open("song.kvt", 1);
  struct Case {
    int command;
    bool whenActive;
    bool whenInactive;
  };
  const Case cases[] = {{kCmdPrint, true, false}, {kCmdPrintPreview, true, false},
                        {kCmdExport, true, true}, {kCmdPageSetup, false, false},
                        {kCmdInfo, false, false}, {kCmdRefreshScore, true, false}};
  for (const Case& c : cases) EXPECT_EQ(Enabled(*window, c.command), c.whenActive) << c.command;
  EXPECT_TRUE(window->Execute(kCmdRefreshScore));
  EXPECT_FALSE(window->Document().IsModified());  // a refresh changes nothing of the score
  window->View()->SetActive(false);
  for (const Case& c : cases) EXPECT_EQ(Enabled(*window, c.command), c.whenInactive) << c.command;
  // A disabled command does not run: nothing is asked of the printer.
  EXPECT_FALSE(window->Execute(kCmdPrint));
  EXPECT_TRUE(host->printDialogs.limits.empty());
}

// Runs the preview command, reads the page it opened at and closes it.
int PreviewPage(TScoreWindow& window) {
  int page = 0;
  QTimer::singleShot(50, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* frame = dynamic_cast<TKVTPrintPreview*>(w); frame && frame->isVisible()) {
        QApplication::processEvents();
        page = frame->Control().Page();
        frame->close();
      }
  });
  EXPECT_TRUE(window.Execute(kCmdPrintPreview));
  return page;
}

TEST_F(ScoreWindowPrintTest, PreviewOpensAtTheCaretsPageAndKeepsItsPlace) {
  TScoreWindow* window = Open("long.kvt", 300);
  TWindowPlacement stored;
  EXPECT_FALSE(host->placements.Load("Preview", stored));
  EXPECT_EQ(PreviewPage(*window), 1);
  EXPECT_TRUE(host->placements.Load("Preview", stored));
  // Bar 200 of 300: five items a bar.
  window->View()->SetCaretIndex(200 * 5, false);
  EXPECT_GT(PreviewPage(*window), 1);
}

}  // namespace
}  // namespace kvt
