// The score window as a widget, offscreen: its title, the close question through a closing
// window, the media keys, the command enablers and the painted corner between its panes.

#include "app/editor/score_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include <filesystem>
#include <memory>

#include "app/editor/score_edit.h"
#include "app/editor/score_window_panes.h"
#include "app/editor/undo_action_mgr.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/qpainter_context.h"
#include "tests/app/editor/scripted_score_window_host.h"
#include "tests/app/example_score.h"
#include "tools/command_enabler.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class ScoreWindowTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_window_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    host = std::make_unique<TScriptedScoreWindowHost>(DefaultAutosaveFolder());
    host->options.saveBackups = 0;
    area.resize(640, 480);
    area.show();
  }
  void TearDown() override {
    for (QMdiSubWindow* w : area.subWindowList()) {
      auto* window = static_cast<TScoreWindow*>(w);
      window->Document().MarkSaved();  // nothing to ask any more
      delete window;
    }
    EXPECT_TRUE(host->AllAnswersUsed());
    fs::remove_all(root);
    unsetenv("XDG_STATE_HOME");
  }
  TScoreWindow* Open(const std::string& name, bool hasFile = true) {
    auto score = std::make_unique<TMusicScore>();
    score->AddStaff(std::make_unique<TMusicStaff>());
    auto* window = new TScoreWindow(*host, root + "/" + name, std::move(score), 1, hasFile);
    window->AddToArea(area);
    return window;
  }

  // An edit in the view as the editing commands make it: an undo entry, then the change; the
  // idle step then shows it.
  static void Edit(TScoreWindow& window) {
    TScoreEdit& view = *window.View();
    ASSERT_TRUE(view.SaveUndoState(6, 11));
    view.EndUndoState();
    window.UpdateStatus();
  }

  std::string root;
  std::unique_ptr<TScriptedScoreWindowHost> host;
  QMdiArea area;
};

TEST_F(ScoreWindowTest, TitleAndRecentFiles) {
  TScoreWindow* window = Open("song.kvttxt");
  EXPECT_EQ(window->windowTitle(), "song (kvttxt)");
  EXPECT_TRUE(window->isMaximized());  // the first window starts maximised
  EXPECT_EQ(host->recentFiles, std::vector<std::string>{root + "/song.kvttxt"});
  Edit(*window);
  EXPECT_EQ(window->windowTitle(), "song (kvttxt) *");
  ASSERT_TRUE(window->View()->Undo());  // back to the state as loaded
  window->UpdateStatus();
  EXPECT_EQ(window->windowTitle(), "song (kvttxt)");
  ASSERT_TRUE(window->View()->Redo());
  window->UpdateStatus();
  EXPECT_EQ(window->windowTitle(), "song (kvttxt) *");
  ASSERT_EQ(window->Document().Save(), TSaveResult::kSaved);
  EXPECT_EQ(window->windowTitle(), "song (kvttxt)");
  ASSERT_TRUE(window->View()->Undo());  // undone after the save: modified again
  window->UpdateStatus();
  EXPECT_EQ(window->windowTitle(), "song (kvttxt) *");
}

TEST_F(ScoreWindowTest, RevertShowsTheReloadedScoreInANewView) {
  TScoreWindow* window = Open("song.kvt");
  Edit(*window);
  host->loader = [](const std::string&, int) {
    auto score = std::make_unique<TMusicScore>();
    for (int i = 0; i < 3; ++i) score->AddStaff(std::make_unique<TMusicStaff>());
    return score;
  };
  host->Answer({IDOK});
  ASSERT_TRUE(window->Execute(kCmdRevert));
  EXPECT_EQ(&window->View()->Score(), &window->Document().Score());
  EXPECT_EQ(window->Document().Score().GetStaffCount(), 3);
  EXPECT_FALSE(window->Undo().CanUndo());
  EXPECT_FALSE(window->Document().IsModified());
  EXPECT_EQ(window->windowTitle(), "song");
}

TEST_F(ScoreWindowTest, ClosingAsksAndOnlyNoOrASaveLetsGo) {
  QPointer<TScoreWindow> window = Open("song.kvt");
  Edit(*window);
  host->Answer({IDCANCEL});
  EXPECT_FALSE(window->close());
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(fs::exists(root + "/song.kvt"));

  host->Answer({IDYES});  // saved, then closed
  EXPECT_TRUE(window->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(fs::exists(root + "/song.kvt"));

  QPointer<TScoreWindow> other = Open("other.kvt");
  Edit(*other);
  host->Answer({IDNO});
  EXPECT_TRUE(other->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(other.isNull());
  EXPECT_FALSE(fs::exists(root + "/other.kvt"));
}

TEST_F(ScoreWindowTest, MediaKeysReachTheDocument) {
  TScoreWindow* window = Open("song.kvt");
  // The view has the focus: keys it does not take go on to the window.
  QTest::keyClick(window->View(), Qt::Key_MediaPlay);
  EXPECT_TRUE(window->Document().IsPlayingHere());
  QTest::keyClick(window->View(), Qt::Key_MediaStop);
  EXPECT_EQ(host->stops, 1);
}

TEST_F(ScoreWindowTest, Enablers) {
  TScoreWindow* untitled = Open("New", false);
  TCommandEnabler revert(kCmdRevert);
  ASSERT_TRUE(untitled->Enable(revert));
  EXPECT_EQ(revert.enabled, false);
  EXPECT_FALSE(untitled->Execute(kCmdRevert));

  TScoreWindow* window = Open("song.kvt");
  TCommandEnabler revertFile(kCmdRevert);
  window->Enable(revertFile);
  EXPECT_EQ(revertFile.enabled, true);

  ASSERT_TRUE(window->Execute(kCmdPlay));
  TCommandEnabler play(kCmdPlay), record(kCmdRecord), pause(kCmdPause), staffPlay(kCmdStaffPlay),
      pauseElsewhere(kCmdPause);
  window->Enable(play);
  window->Enable(record);
  window->Enable(pause);
  window->Enable(staffPlay);
  untitled->Enable(pauseElsewhere);
  EXPECT_EQ(play.check, kChecked);
  EXPECT_EQ(play.enabled, true);
  EXPECT_EQ(record.enabled, false);
  EXPECT_EQ(pause.enabled, true);
  EXPECT_EQ(pauseElsewhere.enabled, false);  // only the playing window pauses
  EXPECT_EQ(staffPlay.enabled, false);

  TCommandEnabler other(34);  // Paste: the view's, not the window's
  EXPECT_FALSE(window->Enable(other));
}

TEST_F(ScoreWindowTest, CornerBetweenThePanesIsPaintedInTheirColours) {
  TScoreWindow* window = Open("song.kvt");
  const TPaneLayout& layout = window->PaneLayout();
  ASSERT_GT(layout.labels.width(), 4);
  ASSERT_GT(layout.barNumbers.height(), 4);
  QWidget* body = window->widget();
  const QImage image = body->grab().toImage();
  const int w = layout.labels.width();
  const int h = layout.barNumbers.height();
  EXPECT_EQ(image.pixelColor(w - 2, 1),
            QColorOf(host->editHost.colors.GetColor(3)));  // above the diagonal
  EXPECT_EQ(image.pixelColor(1, h - 2), QColorOf(host->editHost.colors.GetColor(1)));  // below it
  EXPECT_EQ(image.pixelColor(1, h + 5),
            QColorOf(host->editHost.colors.GetColor(1)));  // the labels pane
  EXPECT_EQ(image.pixelColor(w + 5, 1),
            QColorOf(host->editHost.colors.GetColor(3)));  // the bar numbers
}

TEST_F(ScoreWindowTest, LabelPaneShowsLabelsAndMarksTheActiveStaff) {
  auto* window = new TScoreWindow(*host, root + "/song.kvt", example::MakeExampleScore(), 1, true);
  window->AddToArea(area);
  TScoreEdit& view = *window->View();
  view.SetActive(true);
  view.SetActiveStaff(1, false);
  window->UpdateStatus();
  TStaffLabelsWindow& labels = *window->LabelsPane();
  const QImage image = labels.grab().toImage();
  const QColor background = QColorOf(host->editHost.colors.GetColor(1));
  int inked = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width() - 4; ++x) inked += image.pixelColor(x, y) != background;
  EXPECT_GT(inked, 20);  // the staves' labels
  const QRect band = view.StaffRect(1);
  EXPECT_EQ(image.pixelColor(image.width() - 1, band.center().y()),
            QColorOf(host->editHost.colors.GetColor(4)));
  EXPECT_EQ(image.pixelColor(image.width() - 1, view.StaffRect(0).center().y()), background);

  // Without labels only the mark is left.
  host->options.showLabels = false;
  window->LayoutPanes();
  const QImage bare = labels.grab().toImage();
  for (int y = 0; y < bare.height(); ++y)
    for (int x = 0; x < bare.width() - 4; ++x) ASSERT_EQ(bare.pixelColor(x, y), background);
}

TEST_F(ScoreWindowTest, LabelPaneTellsTheStaffUnderTheMouse) {
  auto* window = new TScoreWindow(*host, root + "/song.kvt", example::MakeExampleScore(), 1, true);
  window->AddToArea(area);
  TScoreEdit& view = *window->View();
  view.SetActive(true);
  view.SetActiveStaff(1, false);
  TStaffLabelsWindow& labels = *window->LabelsPane();
  const auto moveTo = [&](int staff) {
    const QPoint at(5, view.StaffRect(staff).center().y() + view.viewport()->y());
    QMouseEvent move(QEvent::MouseMove, at, labels.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&labels, &move);
  };
  moveTo(1);
  EXPECT_EQ(labels.cursor().shape(), Qt::PointingHandCursor);
  const QString name = QString::fromStdU16String(view.Score().GetStaff(1)->GetName());
  EXPECT_TRUE(labels.toolTip().startsWith(name + " from bar 1, "))
      << labels.toolTip().toStdString();
  moveTo(2);
  EXPECT_EQ(labels.cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(
      labels.toolTip().startsWith(QString::fromStdU16String(view.Score().GetStaff(2)->GetName())));
}

TEST_F(ScoreWindowTest, AnImportedRecordingIsShownActiveWithAFreshHistory) {
  auto* window = new TScoreWindow(*host, root + "/song.kvt", example::MakeExampleScore(), 1, true);
  window->AddToArea(area);
  TScoreEdit& view = *window->View();
  view.SetActive(true);
  Edit(*window);
  ASSERT_TRUE(window->Undo().CanUndo());
  host->recorded = std::make_unique<TMusicStaff>();
  ASSERT_TRUE(window->Execute(kCmdImportRecording));
  const int added = view.Score().GetLastIndex();
  EXPECT_EQ(view.ActiveScoreStaff(), added);
  EXPECT_FALSE(window->Undo().CanUndo());
  EXPECT_TRUE(window->Document().IsModified());
}

TEST_F(ScoreWindowTest, ClicksInThePanesMoveTheActiveStaffAndTheCaret) {
  auto* window = new TScoreWindow(*host, root + "/song.kvt", example::MakeExampleScore(), 1, true);
  window->AddToArea(area);
  TScoreEdit& view = *window->View();
  view.SetActive(true);
  const int viewportTop = view.viewport()->y();
  QTest::mouseClick(window->LabelsPane(), Qt::LeftButton, {},
                    QPoint(5, view.StaffRect(2).center().y() + viewportTop));
  EXPECT_EQ(view.ActiveStaffIndex(), 2);

  // The caret goes to the item under the click on the bar-number strip.
  const int x = view.viewport()->width() / 2;
  ASSERT_GT(view.ItemIndexFromX(x), 1);
  QTest::mouseClick(window->BarNumbersPane(), Qt::LeftButton, {},
                    QPoint(x + view.viewport()->x(), 3));
  EXPECT_EQ(view.Caret().caret, view.ItemIndexFromX(x));
  EXPECT_EQ(view.ActiveStaffIndex(), 2);
}

TEST_F(ScoreWindowTest, HiddenPanesLeaveTheViewTheWholeWindow) {
  host->options.showLabelPanel = false;
  host->options.showBarNumberPanel = false;
  TScoreWindow* window = Open("song.kvt");
  window->LayoutPanes();
  EXPECT_FALSE(window->LabelsPane()->isVisible());
  EXPECT_FALSE(window->BarNumbersPane()->isVisible());
  EXPECT_EQ(window->View()->geometry(), window->widget()->rect());
}

}  // namespace
}  // namespace kvt
