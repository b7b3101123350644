// The main frame: opening from every source, drops, the shut-down check, timer 1 and idle.

#include "app/shell/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "app/editor/editor_zoom.h"
#include "app/editor/score_window.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/score_window_host.h"
#include "app/editor/score_window_panes.h"
#include "app/editor/undo_menu_text.h"
#include "app/shell/app_folders.h"
#include "app/shell/edit_menus.h"
#include "app/shell/open_file.h"
#include "app/shell/tarlowmede_app.h"
#include "app/string_table.h"
#include "notation/staff/music_score.h"
#include "platform/autosave_store.h"
#include "tests/app/shell/shell_test_env.h"
#include "tests/tools/recording_message_box.h"
#include "tools/command_table.h"
#include "app/shell/app_options.h"
#include "tools/command_enabler.h"
#include "app/editor/score_edit.h"
#include "notation/staff/music_staff.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class MainFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = &app.InitMainWindow();
    folder = fs::path(test::ShellTestFolder()) / "scores" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(folder);
  }
  void TearDown() override {
    for (QMdiSubWindow* window : frame->ScoreWindows()) delete window;
    app.Options() = TAppOptions();
  }

  std::string Example(const char* name, const char* source = "example.kvttxt") {
    const fs::path path = folder / name;
    fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / source, path, fs::copy_options::overwrite_existing);
    return path.string();
  }
  // The file each score window shows, in creation order, among the candidates.
  std::vector<std::string> OpenPaths(const std::vector<std::string>& candidates) const {
    std::vector<std::string> paths;
    for (QMdiSubWindow* child : frame->ScoreWindows()) {
      auto* window = dynamic_cast<TScoreWindow*>(child);
      if (window == nullptr) continue;
      std::string shown = "?";
      for (const std::string& path : candidates)
        if (window->Document().IsFile(path)) shown = path;
      paths.push_back(shown);
    }
    return paths;
  }
  TScoreWindow* Open(const std::string& path) {
    OpenFileByPath(*frame, path, kOpenDialog);
    return frame->FindScoreWindow(path);
  }

  TTarlowmedeApp& app = *TTarlowmedeApp::Running();
  TTarlowmedeFrame* frame = nullptr;
  fs::path folder;
  test::TRecordingMessageBoxService boxes;
};

TEST_F(MainFrameTest, SecondStartOpensEveryPathAndExecuteCommands) {
  const std::string a = Example("a.kvttxt");
  const std::string b = Example("b.kvt", "example.kvt");
  const std::string c = Example("c.kvttxt");
  frame->HandleHandOver({{THandOverKind::kArgument, a},
                         {THandOverKind::kArgument, "/play"},
                         {THandOverKind::kArgument, "relative.kvt"},
                         {THandOverKind::kArgument, (folder / "missing.kvt").string()},
                         {THandOverKind::kArgument, b},
                         {THandOverKind::kExecuteCommand, "[open(\"" + c + "\")]"},
                         {THandOverKind::kExecuteCommand, "[open(\"" + c + "\"]"}});
  EXPECT_EQ(OpenPaths({a, b, c}), (std::vector<std::string>{c, a, b}));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainFrameTest, CaptionNamesTheActiveScoreAndFollowsItsTitle) {
  TScoreWindow* window = Open(Example("caption.kvttxt"));
  ASSERT_NE(window, nullptr);
  frame->Client().setActiveSubWindow(window);
  EXPECT_EQ(frame->windowTitle(), "Tarlowmede Razadove - [" + window->windowTitle() + "]");
  window->setWindowTitle("renamed");
  app.IdleAction();
  EXPECT_EQ(frame->windowTitle(), "Tarlowmede Razadove - [renamed]");
}

TEST_F(MainFrameTest, OpeningAnOpenFileActivatesItsWindow) {
  const std::string a = Example("a.kvttxt");
  const std::string b = Example("b.kvttxt");
  TScoreWindow* first = Open(a);
  TScoreWindow* second = Open(b);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  frame->Client().setActiveSubWindow(first);
  EXPECT_EQ(Open(b), second);
  EXPECT_EQ(frame->ScoreWindows().size(), 2u);
  EXPECT_EQ(frame->Client().activeSubWindow(), second);
  EXPECT_TRUE(boxes.boxes.empty());  // nothing changed, so the reload asks nothing
}

TEST_F(MainFrameTest, FileKindsAndTheirFailures) {
  const std::string unknown = Example("notes.xyz");
  OpenFileByPath(*frame, unknown, kOpenDialog);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "File Open");
  EXPECT_EQ(boxes.boxes[0].text.toStdString(),
            "File: " + unknown +
                "\n\nTarlowmede Razadove does not recognize the file type 'xyz', so it is "
                "unable to open the file.");
  // A binary score is not imported; a text score under a binary name is read as text.
  OpenFileByPath(*frame, Example("b.kvt", "example.kvt"), kOpenImport);
  EXPECT_TRUE(frame->ScoreWindows().empty());
  const std::string textAsBinary = Example("t.kvt");
  OpenFileByPath(*frame, textAsBinary, kOpenDialog);
  EXPECT_EQ(OpenPaths({textAsBinary}), std::vector<std::string>{textAsBinary});
  // A damaged file names itself.
  const fs::path broken = folder / "broken.kvttxt";
  std::ofstream(broken) << "not a score\n";
  OpenFileByPath(*frame, broken.string(), kOpenDialog);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text.toStdString(),
            "File: " + broken.string() +
                "\n\nThis file failed to open. It either does not exist or may be corrupted.");
  // Backups fail silently.
  std::ofstream(folder / "old.kvt.bak") << "junk";
  OpenFileByPath(*frame, (folder / "old.kvt.bak").string(), kOpenBackup);
  EXPECT_EQ(boxes.boxes.size(), 2u);
  const std::string backup = Example("song.kvttxt.bak");
  OpenFileByPath(*frame, backup, kOpenBackup);
  EXPECT_EQ(frame->ScoreWindows().size(), 2u);
}

TEST_F(MainFrameTest, BinaryFileDamagedByATextCopyIsRepairedOnYes) {
  std::ifstream in(fs::path(KVT_EXAMPLES_DIR) / "example.kvt", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(bytes.find("\r\n"), std::string::npos) << "the fixture must hold no CR LF";
  std::string damaged;
  for (char c : bytes) {
    if (c == '\n') damaged += '\r';
    damaged += c;
  }
  const fs::path path = folder / "damaged.kvt";
  std::ofstream(path, std::ios::binary) << damaged;

  boxes.Answer(IDNO);
  OpenFileByPath(*frame, path.string(), kOpenDialog);
  // Without the repair the load fails, and says so.
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].caption, "Improper File Translation");
  EXPECT_EQ(boxes.boxes[1].caption, "File Open");

  for (QMdiSubWindow* window : frame->ScoreWindows()) delete window;
  boxes.boxes.clear();
  boxes.Answer(IDYES);
  OpenFileByPath(*frame, path.string(), kOpenDialog);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(OpenPaths({path.string()}), std::vector<std::string>{path.string()});
  // The file on disk is left as it was.
  std::ifstream again(path, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
            damaged);
}

TEST_F(MainFrameTest, DropsOpenOnlyFiles) {
  const std::string a = Example("dropped.kvttxt");
  frame->OpenDroppedUrls(
      {QUrl("https://example.invalid/x.kvt"), QUrl::fromLocalFile(QString::fromStdString(a))});
  EXPECT_TRUE(frame->ScoreWindows().empty());  // not while the drop is under way
  QCoreApplication::processEvents();
  EXPECT_EQ(OpenPaths({a}), std::vector<std::string>{a});

  frame->show();
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(QString::fromStdString(a))});
  QDragEnterEvent fileEnter(QPoint(10, 10), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &fileEnter);
  EXPECT_TRUE(fileEnter.isAccepted());

  QMimeData web;
  web.setUrls({QUrl("https://example.invalid/y.kvt")});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST_F(MainFrameTest, ShutDownWarnsFromTheThreshold) {
  frame->show();
  Open(Example("a.kvttxt"))->Document().SetModified(true);
  Open(Example("b.kvttxt"));
  // One unsaved window under the threshold of 2: no warning; the window asks about its own
  // changes, and No lets it close.
  boxes.Answer(IDNO);
  EXPECT_TRUE(frame->close());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].caption, "Shut Down Warning");
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame->ScoreWindows().empty());

  frame->show();
  boxes.boxes.clear();
  Open(Example("c.kvttxt"))->Document().SetModified(true);
  Open(Example("d.kvttxt"))->Document().SetModified(true);
  boxes.Answer(IDCANCEL);
  EXPECT_FALSE(frame->close());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Shut Down Warning");
  EXPECT_EQ(boxes.boxes[0].text,
            "You currently have 2 unsaved windows.\n\nContinue with the shut down?");
  EXPECT_EQ(frame->ScoreWindows().size(), 2u);
  for (QMdiSubWindow* child : frame->ScoreWindows())
    dynamic_cast<TScoreWindow*>(child)->Document().MarkSaved();
}

TEST_F(MainFrameTest, TimedAutosaveFollowsTheOption) {
  Open(Example("a.kvttxt"))->Document().SetModified(true);
  const int64_t now = frame->LastAutoSaveMs();
  frame->SetLastAutoSaveMs(now - 16 * 60000);
  frame->OnTimer1();
  EXPECT_GE(frame->LastAutoSaveMs(), now);  // the autosave ran and its time was noted
  const fs::path autosaves = app.GetFolder(kFolderAutoSave);
  EXPECT_TRUE(fs::exists(autosaves / "kvt000.asv"));

  app.Options().Set(kOptAutoSaveMinutes, 0);
  frame->SetLastAutoSaveMs(now - 1000 * 60000);
  frame->OnTimer1();
  EXPECT_EQ(frame->LastAutoSaveMs(), now - 1000 * 60000);
  frame->StartPlayTimer();
  EXPECT_EQ(frame->Timer1Interval(), kPlayTimerMs);
  frame->RestoreIdleTimer();
  EXPECT_EQ(frame->Timer1Interval(), kIdleTimerMs);
  dynamic_cast<TScoreWindow*>(frame->ScoreWindows()[0])->Document().MarkSaved();
}

TEST_F(MainFrameTest, IdleStepRunsWhenTheLoopFallsIdle) {
  app.LastStatus().insertion = 3;
  const int before = app.IdleCount();
  // A loop that blocks, as the program's does (qWait never blocks).
  QEventLoop loop;
  QTimer::singleShot(30, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_GT(app.IdleCount(), before);
  EXPECT_EQ(app.LastStatus().insertion, -1);  // no score window: the snapshot is cleared
}

TEST_F(MainFrameTest, AutosavedFilesOfAnEndedSessionAreRecovered) {
  TAutosaveStore store(app.GetFolder(kFolderAutoSave));
  TAutosaveClaim held;
  ASSERT_EQ(store.ClaimNewFile(held), TAutosaveResult::kOk);  // a running window's file
  {
    TAutosaveClaim left;
    ASSERT_EQ(store.ClaimNewFile(left), TAutosaveResult::kOk);
    fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvt", left.Path(),
                  fs::copy_options::overwrite_existing);
  }  // released: as after a crash
  fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / "example.kvt", held.Path(),
                fs::copy_options::overwrite_existing);
  EXPECT_EQ(frame->RecoverAutosavedFiles(), 1);
  ASSERT_EQ(frame->ScoreWindows().size(), 1u);
  auto* window = dynamic_cast<TScoreWindow*>(frame->ScoreWindows()[0]);
  EXPECT_EQ(window->Document().FileName(), "Recovered File 1");
  EXPECT_TRUE(window->Document().IsModified());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Warning");
  window->Document().MarkSaved();  // its autosave file goes with it
  held.Remove();
}

TEST_F(MainFrameTest, ViewCommandsReachTheActiveWindow) {
  TCommandTable& commands = app.Commands();
  EXPECT_FALSE(commands.IsEnabled(kCmdZoomIn));  // no window
  EXPECT_FALSE(commands.IsEnabled(kCmdSave));
  TScoreWindow* window = Open(Example("zoom.kvttxt"));
  ASSERT_NE(window, nullptr);
  frame->Client().setActiveSubWindow(window);
  const int zoom = window->Document().Score().GetZoom();
  EXPECT_TRUE(commands.Execute(kCmdZoomIn));
  EXPECT_EQ(window->Document().Score().GetZoom(), zoom + 2);
  EXPECT_TRUE(commands.IsEnabled(kCmdSave));
  // The zoom is an undoable change, named by its menu text.
  QAction* undo = commands.Action(kCmdUndo);
  commands.Refresh();
  EXPECT_EQ(undo->text(), "&Undo Zoom In\tCtrl+Z");
  EXPECT_TRUE(commands.Execute(kCmdUndo));
  EXPECT_EQ(window->Document().Score().GetZoom(), zoom);
  EXPECT_TRUE(commands.IsEnabled(kCmdRedo));
  // A view that may not edit offers neither.
  window->View()->SetActive(false);
  EXPECT_FALSE(commands.IsEnabled(kCmdRedo));
  window->View()->SetActive(true);
  EXPECT_TRUE(commands.IsEnabled(kCmdRedo));
  window->Document().MarkSaved();
}

// The editing menus take their texts from the editing commands; only the application's own
// keys are shortcuts (the view handles the others), and what nobody registers shows disabled.
TEST_F(MainFrameTest, EditingMenusShowKeysButKeepOnlyTheApplicationsShortcuts) {
  for (const TEditMenu& menu : EditMenus()) {
    for (const TEditMenuRow& row : menu.rows) {
      if (row.id > 0) EXPECT_FALSE(EditMenuRowText(row).empty()) << row.id;
    }
  }
  TCommandTable& commands = app.Commands();
  QAction* cut = commands.Action(32);
  EXPECT_EQ(cut->text(), "Cu&t\tCtrl+X");
  EXPECT_TRUE(cut->shortcut().isEmpty());
  QAction* note = commands.Action(128);
  EXPECT_EQ(note->text(), "&Note\tEnter");
  EXPECT_TRUE(note->shortcut().isEmpty());
  QAction* paste = commands.Action(34);
  EXPECT_EQ(paste->text(), "&Paste");
  EXPECT_EQ(paste->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
  EXPECT_EQ(commands.Action(kCmdSave)->shortcut(), QKeySequence());
  EXPECT_EQ(commands.Action(2)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));

  TScoreWindow* window = Open(Example("menus.kvttxt"));
  ASSERT_NE(window, nullptr);
  frame->Client().setActiveSubWindow(window);
  commands.Refresh();
  EXPECT_TRUE(note->isEnabled());
  EXPECT_FALSE(commands.Action(17)->isEnabled());  // user tools do not exist yet
}

// The View menu's settings: each flips its option, keeps it in the settings and lays every
// window out again; the edges switch is off in viewer mode, layering only with layered staves.
TEST_F(MainFrameTest, ViewSettingsToggleTheirOptionsAndReformatEveryWindow) {
  TCommandTable& commands = app.Commands();
  auto state = [&](int32_t id) {
    TCommandEnabler enabler(id);
    commands.Enable(enabler);
    return std::make_pair(enabler.enabled.value_or(false), enabler.check.value_or(-1));
  };
  TScoreWindow* window = Open(Example("view.kvttxt"));
  ASSERT_NE(window, nullptr);
  frame->Client().setActiveSubWindow(window);
  window->show();

  EXPECT_EQ(state(58), std::make_pair(true, kChecked));
  ASSERT_TRUE(commands.Execute(58));
  EXPECT_EQ(app.Options().Get(kOptShowLabelPanel), 0);
  EXPECT_EQ(state(58), std::make_pair(true, kUnchecked));
  EXPECT_FALSE(window->LabelsPane()->isVisibleTo(window)) << "the window laid out again";
  TAppOptions stored;
  stored.Load(app.Settings());
  EXPECT_EQ(stored.Get(kOptShowLabelPanel), 0);
  ASSERT_TRUE(commands.Execute(58));
  EXPECT_TRUE(window->LabelsPane()->isVisibleTo(window));

  ASSERT_TRUE(commands.Execute(60));
  EXPECT_TRUE(frame->Host().EditHost().Options().showCrosshair);
  ASSERT_TRUE(commands.Execute(60));
  EXPECT_FALSE(frame->Host().EditHost().Options().showCrosshair);

  EXPECT_TRUE(state(61).first);
  window->View()->ToggleViewerMode();
  EXPECT_FALSE(state(61).first);
  window->View()->ToggleViewerMode();

  TMusicScore& score = window->Document().Score();
  const bool layered = score.GetStaffCount() > 1 && score.GetStaff(0)->GetLayerWithNext();
  EXPECT_EQ(state(52).first, layered);
  if (!layered && score.GetStaffCount() > 1) {
    score.GetStaff(0)->SetLayerWithNext(true);
    EXPECT_TRUE(state(52).first);
    score.GetStaff(0)->SetLayerWithNext(false);
  }
  window->Document().MarkSaved();
}

TEST_F(MainFrameTest, CommandLineOpensPathsAndLogsExperimentation) {
  const std::string a = Example("cmd.kvttxt");
  app.ErrorLog().Clear();
  frame->PostCreate({"/play", a, "/EnableExperimentation", "/no/such/file.kvt"});
  EXPECT_EQ(OpenPaths({a}), std::vector<std::string>{a});
  EXPECT_TRUE(app.IsExperimentationEnabled());
  ASSERT_FALSE(app.ErrorLog().Snapshot().lines.empty());
  EXPECT_EQ(app.ErrorLog().Snapshot().lines.back(),
            "Experimental features have been enabled for all non-experimental files.");
  EXPECT_EQ(frame->Timer1Interval(), kIdleTimerMs);
  app.SetExperimentation(false);
  app.ErrorLog().Clear();
}

}  // namespace
}  // namespace kvt
