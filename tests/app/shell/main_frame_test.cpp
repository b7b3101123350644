// The main frame: opening from every source, drops, the shut-down check, timer 1 and idle.

#include "app/shell/main_frame.h"

#include <gtest/gtest.h>

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

#include "app/shell/open_file.h"
#include "app/shell/score_window_link.h"
#include "app/shell/tarlowmede_app.h"
#include "app/string_table.h"
#include "tests/app/shell/shell_test_env.h"
#include "tests/tools/recording_message_box.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

// A score window that records what the frame asks of it.
class TRecordingScoreWindow final : public QMdiSubWindow, public TScoreWindowLink {
public:
  void FrameBroadcast(int action) override { actions.push_back(action); }
  void Revert() override { ++reverts; }
  void RefreshStatus(TEditStatusInfo& last) override { last.insertion = 7; }
  std::vector<int> actions;
  int reverts = 0;
};

class MainFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = &app.InitMainWindow();
    folder = fs::path(test::ShellTestFolder()) / "scores" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(folder);
  }
  void TearDown() override {
    for (QMdiSubWindow* window : frame->ScoreWindows()) {
      window->setWindowModified(false);
      delete window;
    }
    app.Options() = TAppOptions();
  }

  std::string Example(const char* name, const char* source = "example.kvttxt") {
    const fs::path path = folder / name;
    fs::copy_file(fs::path(KVT_EXAMPLES_DIR) / source, path, fs::copy_options::overwrite_existing);
    return path.string();
  }
  std::vector<std::string> OpenPaths() const {
    std::vector<std::string> paths;
    for (QMdiSubWindow* window : frame->ScoreWindows())
      paths.push_back(window->windowFilePath().toStdString());
    return paths;
  }
  TRecordingScoreWindow* AddRecordingWindow() {
    auto* window = new TRecordingScoreWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(new QWidget);
    frame->Client().addSubWindow(window);
    window->show();
    return window;
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
  EXPECT_EQ(OpenPaths(), (std::vector<std::string>{c, a, b}));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainFrameTest, OpeningAnOpenFileActivatesItsWindow) {
  const std::string a = Example("a.kvttxt");
  OpenFileByPath(*frame, a, kOpenDialog);
  TRecordingScoreWindow* other = AddRecordingWindow();
  other->setWindowFilePath(QString::fromStdString(Example("b.kvttxt")));
  frame->Client().setActiveSubWindow(frame->ScoreWindows()[0]);
  OpenFileByPath(*frame, other->windowFilePath().toStdString(), kOpenDialog);
  EXPECT_EQ(frame->ScoreWindows().size(), 2u);
  EXPECT_EQ(frame->Client().activeSubWindow(), other);
  EXPECT_EQ(other->reverts, 1);
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
  EXPECT_EQ(OpenPaths(), std::vector<std::string>{textAsBinary});
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
  EXPECT_EQ(OpenPaths(), std::vector<std::string>{path.string()});
  // The file on disk is left as it was.
  std::ifstream again(path, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
            damaged);
}

TEST_F(MainFrameTest, DropsOpenOnlyFiles) {
  const std::string a = Example("dropped.kvttxt");
  frame->OpenDroppedUrls(
      {QUrl("https://example.invalid/x.kvt"), QUrl::fromLocalFile(QString::fromStdString(a))});
  EXPECT_TRUE(OpenPaths().empty());  // not while the drop is under way
  QCoreApplication::processEvents();
  EXPECT_EQ(OpenPaths(), std::vector<std::string>{a});

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
  AddRecordingWindow()->setWindowModified(true);
  AddRecordingWindow();
  // One unsaved window under the threshold of 2: no warning, the windows close.
  EXPECT_TRUE(frame->close());
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(frame->ScoreWindows().empty());

  frame->show();
  AddRecordingWindow()->setWindowModified(true);
  AddRecordingWindow()->setWindowModified(true);
  boxes.Answer(IDCANCEL);
  EXPECT_FALSE(frame->close());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Shut Down Warning");
  EXPECT_EQ(boxes.boxes[0].text,
            "You currently have 2 unsaved windows.\n\nContinue with the shut down?");
  EXPECT_EQ(frame->ScoreWindows().size(), 2u);
}

TEST_F(MainFrameTest, TimedAutosaveFollowsTheOption) {
  TRecordingScoreWindow* window = AddRecordingWindow();
  const int64_t now = frame->LastAutoSaveMs();
  frame->SetLastAutoSaveMs(now - 16 * 60000);
  frame->OnTimer1();
  EXPECT_EQ(window->actions, std::vector<int>{kBroadcastAutoSave});
  frame->OnTimer1();  // the time was noted: not again so soon
  EXPECT_EQ(window->actions.size(), 1u);

  app.Options().Set(kOptAutoSaveMinutes, 0);
  frame->SetLastAutoSaveMs(now - 1000 * 60000);
  frame->OnTimer1();
  EXPECT_EQ(window->actions.size(), 1u);
  frame->StartPlayTimer();
  EXPECT_EQ(frame->Timer1Interval(), kPlayTimerMs);
  frame->RestoreIdleTimer();
  EXPECT_EQ(frame->Timer1Interval(), kIdleTimerMs);
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
  TRecordingScoreWindow* window = AddRecordingWindow();
  frame->Client().setActiveSubWindow(window);
  app.IdleAction();
  EXPECT_EQ(app.LastStatus().insertion, 7);
}

TEST_F(MainFrameTest, CommandLineOpensPathsAndLogsExperimentation) {
  const std::string a = Example("cmd.kvttxt");
  app.ErrorLog().Clear();
  frame->PostCreate({"/play", a, "/EnableExperimentation", "/no/such/file.kvt"});
  EXPECT_EQ(OpenPaths(), std::vector<std::string>{a});
  EXPECT_TRUE(app.IsExperimentationEnabled());
  EXPECT_EQ(app.ErrorLog().Snapshot().lines,
            std::vector<std::string>{
                "Experimental features have been enabled for all non-experimental files."});
  EXPECT_EQ(frame->Timer1Interval(), kIdleTimerMs);
  app.SetExperimentation(false);
  app.ErrorLog().Clear();
}

}  // namespace
}  // namespace kvt
