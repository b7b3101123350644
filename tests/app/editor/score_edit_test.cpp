// The score editing view: its state from the file, caret and selection limits, zoom, active
// staff, scrolling, undo through the view, and offscreen paint probes on grab().

#include "app/editor/score_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QPixmap>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/editor/editor_zoom.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_action_mgr.h"
#include "app/editor/zoom_dialog.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/time_signature_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/app/example_score.h"

namespace kvt {
namespace {

constexpr TColorRef kBackground = MakeColorRef(255, 255, 255);
constexpr TColorRef kActiveBand = MakeColorRef(200, 255, 200);
constexpr TColorRef kActiveInk = MakeColorRef(0, 0, 192);

QRgb Rgb(TColorRef c) { return qRgb(RedOf(c), GreenOf(c), BlueOf(c)); }

class ScoreEditTest : public ::testing::Test {
protected:
  void SetUp() override {
    score = example::MakeExampleScore();
    host.colors.SetColor(2, kBackground);
    host.colors.SetColor(3, kActiveBand);
    host.colors.SetColor(4, kActiveInk);
    score->SetZoom(20);
  }
  TScoreEdit& Open() {
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(900, 500);
    view->SetActive(true);
    return *view;
  }
  QImage Grab() { return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  int LastIndex(int staff) const { return score->GetStaff(staff)->GetLastIndex(); }

  std::unique_ptr<TMusicScore> score;
  TNullScoreEditHost host;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TScoreEdit> view;
};

struct TStateCase {
  const char* name;
  int staff, caret, anchor, pos;
  // Expected; a caret or anchor of -1 stands for the staff's last index.
  int wantStaff, wantCaret, wantAnchor, wantPos;
};

class ScoreEditStateTest : public ScoreEditTest,
                           public ::testing::WithParamInterface<TStateCase> {};

TEST_P(ScoreEditStateTest, StoredStateIsLimited) {
  const TStateCase& c = GetParam();
  score->SetEditorState(c.staff, c.caret, c.anchor, c.pos);
  TScoreEdit& edit = Open();
  const int last = LastIndex(c.wantStaff);
  EXPECT_EQ(edit.Caret().staff, c.wantStaff);
  EXPECT_EQ(edit.Caret().caret, c.wantCaret < 0 ? last : c.wantCaret);
  EXPECT_EQ(edit.Caret().anchor, c.wantAnchor < 0 ? last : c.wantAnchor);
  EXPECT_EQ(edit.Caret().caretPos, c.wantPos);
  EXPECT_EQ(edit.ActiveScoreStaff(), c.wantStaff);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreEditStateTest,
    ::testing::Values(TStateCase{"AsStored", 1, 5, 3, 4, 1, 5, 3, 4},
                      TStateCase{"CaretPastTheStaff", 1, 4000, 4000, 0, 1, -1, -1, 0},
                      TStateCase{"CaretBelowOne", 2, -7, -3, 0, 2, 1, 1, 0},
                      TStateCase{"CaretZero", 2, 0, 0, 0, 2, 1, 1, 0},
                      TStateCase{"PositionClamped", 0, 2, 2, 900, 0, 2, 2, 100},
                      TStateCase{"NegativeStaff", -4, 5, 5, 0, 0, 1, 1, 0},
                      TStateCase{"MissingStaff", 9, 5, 5, 0, 0, 1, 1, 0}),
    [](const ::testing::TestParamInfo<TStateCase>& info) { return std::string(info.param.name); });

struct TZoomFileCase {
  int stored;
  int shown;
};

class ScoreEditZoomFileTest : public ScoreEditTest,
                              public ::testing::WithParamInterface<TZoomFileCase> {};

TEST_P(ScoreEditZoomFileTest, ZoomFromTheFileIsEvenAndInRange) {
  score->SetZoom(GetParam().stored);
  TScoreEdit& edit = Open();
  EXPECT_EQ(score->GetZoom(), GetParam().shown);
  EXPECT_EQ(edit.Fonts().GetSpace(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScoreEditZoomFileTest,
                         ::testing::Values(TZoomFileCase{8, 8}, TZoomFileCase{7, 6},
                                           TZoomFileCase{1, 2}, TZoomFileCase{0, 2},
                                           TZoomFileCase{-30, 2}, TZoomFileCase{201, 200},
                                           TZoomFileCase{100000, 200}));

TEST_F(ScoreEditTest, CaretStaysOnTheStaff) {
  TScoreEdit& edit = Open();
  edit.SetCaretIndex(0, false);
  EXPECT_EQ(edit.Caret().caret, 1);
  edit.SetCaretIndex(100000, false);
  EXPECT_EQ(edit.Caret().caret, LastIndex(edit.ActiveScoreStaff()));
  edit.MoveCaretVertically(-500, false);
  EXPECT_EQ(edit.Caret().caretPos, -100);
  edit.MoveCaretVertically(+500, false);
  EXPECT_EQ(edit.Caret().caretPos, 100);
}

TEST_F(ScoreEditTest, ExtendingSelectsAndAPlainMoveCollapses) {
  TScoreEdit& edit = Open();
  edit.SetCaretIndex(3, false);
  edit.MoveCaretBy(3, true);
  EXPECT_TRUE(edit.HasSelection());
  EXPECT_EQ(edit.Caret().SelectionStart(), 3);
  EXPECT_EQ(edit.Caret().SelectionEnd(), 5);
  edit.MoveCaretBy(1, false);
  EXPECT_FALSE(edit.HasSelection());
}

TEST_F(ScoreEditTest, ZoomStepsStayEvenAndInRange) {
  score->SetZoom(4);
  TScoreEdit& edit = Open();
  EXPECT_TRUE(edit.ZoomOut());
  EXPECT_EQ(score->GetZoom(), 2);
  EXPECT_FALSE(edit.ZoomOut());
  EXPECT_EQ(score->GetZoom(), 2);
  EXPECT_EQ(undo.Top(), 1);  // only the real change was recorded
  EXPECT_TRUE(edit.ApplyZoom(kCmdZoomDialog, 200));
  EXPECT_FALSE(edit.ZoomIn());
  EXPECT_EQ(score->GetZoom(), 200);
  EXPECT_EQ(edit.Fonts().GetSpace(), 200);
}

TEST_F(ScoreEditTest, UndoOfZoomReformats) {
  TScoreEdit& edit = Open();
  ASSERT_TRUE(edit.ZoomIn());
  EXPECT_EQ(edit.Fonts().GetSpace(), 22);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(score->GetZoom(), 20);
  EXPECT_EQ(edit.Fonts().GetSpace(), 20);
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(edit.Fonts().GetSpace(), 22);
}

TEST(EditorZoomTest, LimitZoom) {
  struct {
    int requested, old, result;
  } cases[] = {{10, 8, 10}, {6, 8, 6},       {9, 8, 8},  {7, 8, 8},     {9, 12, 10},
               {0, 2, 2},   {202, 200, 200}, {-5, 8, 2}, {1001, 4, 200}};
  for (const auto& c : cases) EXPECT_EQ(LimitZoom(c.requested, c.old), c.result) << c.requested;
}

TEST(EditorZoomTest, DialogLevels) {
  EXPECT_EQ(ZoomLevelText(1, 8), "1\u00a0  (25%)");
  EXPECT_EQ(ZoomLevelText(4, 8), "4\u00a0  (100%)");
  EXPECT_EQ(ZoomLevelText(25, 8), "25\u00a0(625%)");
  EXPECT_EQ(ZoomLevelText(3, 0), "3\u00a0  (600%)");
  for (int zoom = kMinZoom; zoom <= 50; zoom += 2)
    EXPECT_EQ(ZoomOfDialogChoice(ZoomDialogChoice(zoom)), zoom);
  // Every answer of the dialog is even.
  for (int choice = 0; choice < kZoomDialogLevels; ++choice)
    EXPECT_EQ(ZoomOfDialogChoice(choice) % 2, 0);
}

TEST(ZoomDialogTest, PreselectsTheCurrentLevelAndAnswersItsZoom) {
  struct {
    int zoom, row;
  } cases[] = {{8, 3}, {9, 3}, {2, 0}, {50, 24}, {200, 24}};
  for (const auto& c : cases) {
    TZoomDialog dialog(nullptr, c.zoom, 8);
    EXPECT_EQ(dialog.Levels().currentRow(), c.row) << c.zoom;
    EXPECT_EQ(dialog.Levels().count(), kZoomDialogLevels);
  }
  TZoomDialog dialog(nullptr, 8, 8);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Editor Zoom"));
  EXPECT_EQ(dialog.Levels().item(3)->text().toStdString(), ZoomLevelText(4, 8));
  dialog.Levels().setCurrentRow(11);
  EXPECT_EQ(dialog.ChosenZoom(), 24);
}

TEST_F(ScoreEditTest, ActiveStaffFollowsTheIndexWithinTheShownStaves) {
  TScoreEdit& edit = Open();
  ASSERT_EQ(edit.ShownStaffCount(), 3);
  edit.SetActiveStaff(7, false);
  EXPECT_EQ(edit.ActiveStaffIndex(), 2);
  EXPECT_EQ(edit.ActiveScoreStaff(), 2);
  edit.SetActiveStaff(-3, false);
  EXPECT_EQ(edit.ActiveStaffIndex(), 0);
  EXPECT_EQ(edit.Caret().caretPos, 0);
}

TEST_F(ScoreEditTest, ShowingAHiddenStaffShowsItAlone) {
  for (int i = 0; i < 3; ++i) score->SetStaffIncluded(i, i != 2);
  TScoreEdit& edit = Open();
  ASSERT_EQ(edit.ShownStaffCount(), 2);
  edit.ShowStaff(2);
  EXPECT_EQ(edit.ShownStaffCount(), 1);
  EXPECT_EQ(edit.ActiveScoreStaff(), 2);
}

TEST_F(ScoreEditTest, NoShownStaffShowsTheFirstStaffsGroup) {
  for (int i = 0; i < 3; ++i) score->SetStaffIncluded(i, false);
  score->GetStaff(2)->SetGroup(u"Other");
  TScoreEdit& edit = Open();
  EXPECT_EQ(edit.ShownStaffCount(), 2);
}

TEST_F(ScoreEditTest, CaretIsScrolledIntoView) {
  // A long staff: forty bars of quarter notes.
  TMusicStaff& staff = *score->GetStaff(0);
  for (int i = 0; i < 160; ++i)
    staff.InsertItem(std::make_unique<TMusicNote>(i % 7 - 3, 3, 0, 0), staff.GetLastIndex());
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(0, false);
  edit.SetCaretIndex(staff.GetLastIndex() - 2, false);
  EXPECT_GT(edit.HScrollSlot(), 0);
  const QPoint p = edit.CaretPoint();
  EXPECT_GE(p.x(), 0);
  EXPECT_LT(p.x(), edit.viewport()->width());
  edit.SetCaretIndex(1, false);
  EXPECT_EQ(edit.HScrollSlot(), 0);
  EXPECT_EQ(edit.CaretPoint().x() >= 0, true);
}

TEST_F(ScoreEditTest, UndoThroughTheViewRestoresTheStaff) {
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  edit.SetCaretIndex(6, false);
  const uint64_t saved = undo.StateSerial();
  TMusicStaff& staff = *score->GetStaff(1);
  const int count = staff.GetItemCount();
  ASSERT_TRUE(edit.SaveUndoState(kUndoEditorAction, kUndoDeleteBackward));
  staff.DetachItemAndAudit(5);
  edit.EndUndoState();
  edit.StaffChanged(1, 5);
  EXPECT_NE(undo.StateSerial(), saved);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(staff.GetItemCount(), count);
  EXPECT_EQ(edit.Caret().caret, 6);
  EXPECT_EQ(undo.StateSerial(), saved);
}

TEST_F(ScoreEditTest, ScoreWithoutStavesOpensAndPaints) {
  while (score->GetStaffCount() > 0) score->DetachStaff(0);
  TScoreEdit& edit = Open();
  EXPECT_EQ(edit.ShownStaffCount(), 0);
  EXPECT_EQ(edit.ActiveStaffIndex(), -1);
  edit.SetCaretIndex(5, false);
  edit.MoveCaretBy(1, true);
  edit.ScrollToSlot(10000);
  EXPECT_FALSE(Grab().isNull());
  EXPECT_FALSE(edit.Undo());
}

TEST_F(ScoreEditTest, UndoingANewStaffShowsTheStavesLeft) {
  TScoreEdit& edit = Open();
  ASSERT_TRUE(edit.SaveUndoState(kUndoStaffPresence, kCmdNewStaff));
  score->InsertStaff(std::make_unique<TMusicStaff>(), 3);
  edit.EndUndoState(3);
  edit.RelayoutShown();
  edit.SetActiveStaff(3, false);
  ASSERT_EQ(edit.ShownStaffCount(), 4);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(score->GetStaffCount(), 3);
  EXPECT_EQ(edit.ShownStaffCount(), 3);
  EXPECT_EQ(edit.ActiveScoreStaff(), 2);
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(edit.ShownStaffCount(), 4);
  EXPECT_EQ(edit.ActiveScoreStaff(), 3);
}

TEST_F(ScoreEditTest, KeysMoveTheCaretAndTheActiveStaff) {
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  edit.SetCaretIndex(5, false);
  QTest::keyClick(&edit, Qt::Key_Right);
  EXPECT_EQ(edit.Caret().caret, 6);
  QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(edit.Caret().anchor, 6);
  EXPECT_EQ(edit.Caret().caret, 8);
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(edit.Caret().caretPos, -1);
  EXPECT_FALSE(edit.HasSelection());
  QTest::keyClick(&edit, Qt::Key_PageDown);
  EXPECT_EQ(edit.ActiveScoreStaff(), 2);
  QTest::keyClick(&edit, Qt::Key_Home);
  EXPECT_EQ(edit.Caret().caret, 1);
  QTest::keyClick(&edit, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(edit.ActiveStaffIndex(), 0);
  QTest::keyClick(&edit, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(edit.ActiveStaffIndex(), edit.ShownStaffCount() - 1);
  QTest::keyClick(&edit, Qt::Key_PageUp);
  EXPECT_EQ(edit.ActiveStaffIndex(), edit.ShownStaffCount() - 2);
}

TEST_F(ScoreEditTest, ClickActivatesTheStaffUnderTheMouse) {
  score->SetZoom(8);
  TScoreEdit& edit = Open();
  edit.show();
  edit.SetActiveStaff(0, false);
  const QRect band = edit.StaffRect(2);
  ASSERT_TRUE(edit.viewport()->rect().contains(band.center()));
  QTest::mouseClick(edit.viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(400, band.center().y()));
  EXPECT_EQ(edit.ActiveScoreStaff(), 2);
  EXPECT_GT(edit.Caret().caret, 1);
}

TEST_F(ScoreEditTest, CtrlAndShiftRefreshTheCursorUnderAStillMouse) {
  score->SetZoom(8);
  TScoreEdit& edit = Open();
  edit.show();
  edit.SetActiveStaff(1, false);
  edit.setFocus();
  QWidget* port = edit.viewport();
  const QPoint onActive(400, edit.StaffRect(1).center().y());
  const QPoint offActive(400, edit.StaffRect(2).center().y());
  struct TStep {
    QPoint at;
    bool press;
    Qt::Key key;
    Qt::KeyboardModifiers held;  // as the key event carries them
    Qt::CursorShape want;
  };
  const std::vector<TStep> steps = {
      {onActive, true, Qt::Key_Control, Qt::ControlModifier, Qt::CrossCursor},
      {onActive, false, Qt::Key_Control, Qt::NoModifier, Qt::PointingHandCursor},
      {onActive, true, Qt::Key_Shift, Qt::ShiftModifier, Qt::PointingHandCursor},
      {onActive, true, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier, Qt::CrossCursor},
      {onActive, false, Qt::Key_Shift, Qt::ControlModifier, Qt::CrossCursor},
      {offActive, true, Qt::Key_Control, Qt::ControlModifier, Qt::ArrowCursor},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    const TStep& s = steps[i];
    QCursor::setPos(port->mapToGlobal(s.at));
    // The cursor as a plain move over the point leaves it; the key alone must change it.
    port->setCursor(s.want == Qt::ArrowCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QKeyEvent event(s.press ? QEvent::KeyPress : QEvent::KeyRelease, s.key, s.held);
    QApplication::sendEvent(&edit, &event);
    EXPECT_EQ(port->cursor().shape(), s.want) << i;
  }
  // With the mouse elsewhere the view's cursor stays as it was.
  QCursor::setPos(port->mapToGlobal(QPoint(-50, -50)));
  port->setCursor(Qt::PointingHandCursor);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  QApplication::sendEvent(&edit, &press);
  EXPECT_EQ(port->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ScoreEditTest, CtrlWheelZooms) {
  TScoreEdit& edit = Open();
  QWheelEvent in(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, 120), Qt::NoButton,
                 Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit.viewport(), &in);
  EXPECT_EQ(score->GetZoom(), 22);
  QWheelEvent out(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, -120), Qt::NoButton,
                  Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit.viewport(), &out);
  EXPECT_EQ(score->GetZoom(), 20);
}

TEST_F(ScoreEditTest, ViewerModeMarksNoActiveStaff) {
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  edit.ToggleViewerMode();
  EXPECT_TRUE(edit.IsViewerMode());
  const QImage image = Grab();
  const QRect band = edit.StaffRect(1).intersected(image.rect());
  int bandPixels = 0;
  for (int x = band.left(); x <= band.right(); ++x)
    if ((image.pixel(x, band.center().y()) & 0xFFFFFF) == (Rgb(kActiveBand) & 0xFFFFFF))
      ++bandPixels;
  EXPECT_EQ(bandPixels, 0);
  edit.ToggleViewerMode();
  EXPECT_FALSE(edit.IsViewerMode());
}

// --- paint probes ---

TEST_F(ScoreEditTest, PaintsTheActiveBandAndTheStaves) {
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  const QImage image = Grab();
  const QRect band = edit.StaffRect(1).intersected(image.rect());
  ASSERT_FALSE(band.isEmpty());
  int bandPixels = 0, ink = 0;
  for (int y = band.top(); y <= band.bottom(); ++y)
    for (int x = band.left(); x <= band.right(); ++x) {
      const QRgb c = image.pixel(x, y) & 0xFFFFFF;
      if (c == (Rgb(kActiveBand) & 0xFFFFFF)) ++bandPixels;
      if (qGray(c) < 100) ++ink;
    }
  EXPECT_GT(bandPixels, band.width() * band.height() / 2);
  EXPECT_GT(ink, 100) << "no notation drawn on the active staff";
  // An inactive view shows no band.
  edit.SetActive(false);
  const QImage inactive = Grab();
  int stillBand = 0;
  for (int x = band.left(); x <= band.right(); ++x)
    if ((inactive.pixel(x, band.center().y()) & 0xFFFFFF) == (Rgb(kActiveBand) & 0xFFFFFF))
      ++stillBand;
  EXPECT_EQ(stillBand, 0);
}

TEST_F(ScoreEditTest, SelectionIsInvertedInsideItsRangeOnly) {
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  edit.SetCaretIndex(4, false);
  const QImage plain = Grab();
  edit.MoveCaretBy(4, true);
  ASSERT_TRUE(edit.HasSelection());
  const QImage selected = Grab();
  const QRect band = edit.StaffRect(1);
  const QRgb bandColor = Rgb(kActiveBand) & 0xFFFFFF;
  const QRgb inkColor = Rgb(kActiveInk) & 0xFFFFFF;
  int inverted = 0;
  int changedOutside = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb before = plain.pixel(x, y) & 0xFFFFFF;
      const QRgb after = selected.pixel(x, y) & 0xFFFFFF;
      if (before == after) continue;
      if (y < band.top() || y > band.bottom() + 1) {
        ++changedOutside;
      } else if (before == bandColor) {
        EXPECT_EQ(after, inkColor) << x << "," << y;
        ++inverted;
      }
    }
  EXPECT_GT(inverted, 100);
  // The caret moved along with the selection's end; nothing else outside the band changed.
  EXPECT_LT(changedOutside, 2 * edit.Fonts().GetMusicEm(0) * 8);
}

TEST_F(ScoreEditTest, CrosshairShowsOnlyWithoutSelection) {
  host.options.showCrosshair = true;
  TScoreEdit& edit = Open();
  edit.SetActiveStaff(1, false);
  edit.SetCaretIndex(4, false);
  const QImage with = Grab();
  host.options.showCrosshair = false;
  edit.viewport()->update();
  const QImage without = Grab();
  const int y = edit.CaretPoint().y();
  int differing = 0;
  for (int x = 0; x < with.width(); ++x)
    if (with.pixel(x, y) != without.pixel(x, y)) ++differing;
  EXPECT_GT(differing, with.width() / 4) << "no horizontal crosshair line";

  host.options.showCrosshair = true;
  edit.MoveCaretBy(2, true);
  const QImage selectedWith = Grab();
  host.options.showCrosshair = false;
  const QImage selectedWithout = Grab();
  EXPECT_EQ(selectedWith, selectedWithout);
}

TEST_F(ScoreEditTest, ScrollingRepaintsOtherBars) {
  TMusicStaff& staff = *score->GetStaff(0);
  for (int i = 0; i < 200; ++i)
    staff.InsertItem(std::make_unique<TMusicNote>(i % 5, 3, 0, 0), staff.GetLastIndex());
  TScoreEdit& edit = Open();
  const QImage start = Grab();
  edit.ScrollToSlot(768 * 20);
  EXPECT_EQ(edit.HScrollSlot(), 768 * 20);
  const QImage later = Grab();
  EXPECT_NE(start, later);
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// Records what the view reports to the status bar.
class TStatusHost : public TNullScoreEditHost {
public:
  void ShowCaretPosition(const std::string& text) override { texts.push_back(text); }
  void ShowActiveStaff(int staff) override { staves.push_back(staff); }
  void ShowPianoKeys(const std::vector<int>& keys) override { shown.push_back(keys); }
  void ClearPianoKeys() override { ++clears; }
  void SetPianoCaretKey(int key) override { caretKeys.push_back(key); }
  void SetImpliedAccidental(int code) override { accidentals.push_back(code); }
  bool IsPlaying(const TMusicScore&) const override { return playing; }
  bool IsRecording() const override { return recording; }
  std::vector<std::string> texts;
  std::vector<int> staves;
  std::vector<std::vector<int>> shown;
  int clears = 0;
  std::vector<int> caretKeys;
  std::vector<int> accidentals;
  bool playing = false;
  bool recording = false;
};

// Treble clef, one sharp: 1 clef, 2 key, 3 time, 4 F (F#4 by the key), 5 G sharp, 6 G (sharp
// from the bar), 7 bar line, 8 G (natural again), 9 chord E4 + G4.
std::unique_ptr<TMusicScore> PianoScore() {
  auto score = std::make_unique<TMusicScore>();
  auto staff = std::make_unique<TMusicStaff>();
  auto add = [&](std::unique_ptr<TNotatedItem> item) {
    staff->InsertItem(std::move(item), staff->GetLastIndex());
  };
  int sharps = 0, flats = 0;
  TKeyData::MasksOfCount(1, sharps, flats);
  add(std::make_unique<TClefData>(kClefTreble));
  add(std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(1)));
  add(std::make_unique<TTimeSignatureData>(4, 2));
  add(std::make_unique<TMusicNote>(3, kDurQuarter, 0, kAccNone));
  add(std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccSharp));
  add(std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone));
  add(std::make_unique<TBarLineData>(kBarSingle));
  add(std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone));
  add(std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone),
                                   std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone)));
  score->AddStaff(std::move(staff));
  return score;
}

struct TPianoCase {
  int caret, anchor, caretPos;
  std::vector<int> keys;
  int caretKey;  // -1: not reported (a selection)
  int accidental;
};

class PianoStatusTest : public ::testing::TestWithParam<TPianoCase> {};

TEST_P(PianoStatusTest, ShowsTheKeysAtTheCaretOrOfTheSelection) {
  const TPianoCase& c = GetParam();
  std::unique_ptr<TMusicScore> score = PianoScore();
  score->SetEditorState(0, c.caret, c.anchor, c.caretPos);
  TStatusHost host;
  TUndoActionMgr undo(5, 1000);
  TScoreEdit edit(nullptr, *score, undo, host);
  ASSERT_EQ(edit.Caret().caret, c.caret);
  ASSERT_EQ(edit.Caret().anchor, c.anchor);
  edit.UpdateStatus();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0], c.keys);
  if (c.caretKey < 0) {
    EXPECT_TRUE(host.caretKeys.empty());
    EXPECT_TRUE(host.accidentals.empty());
  } else {
    EXPECT_EQ(host.caretKeys, std::vector<int>{c.caretKey});
    EXPECT_EQ(host.accidentals, std::vector<int>{c.accidental});
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PianoStatusTest,
                         ::testing::Values(TPianoCase{4, 4, 3, {66}, 66, kAccSharp},
                                           TPianoCase{6, 6, 2, {68}, 68, kAccSharp},
                                           TPianoCase{8, 8, 2, {67}, 67, kAccNatural},
                                           TPianoCase{8, 8, 0, {67}, 71, kAccNatural},
                                           TPianoCase{9, 9, 2, {64, 67}, 67, kAccNatural},
                                           TPianoCase{2, 2, 2, {}, 67, kAccNatural},
                                           TPianoCase{4, 7, 0, {66, 68}, -1, 0},
                                           TPianoCase{7, 4, 0, {66, 68}, -1, 0},
                                           TPianoCase{5, 10, 0, {64, 67, 68}, -1, 0}));

TEST(PianoStatusTest, PlaybackAndRecordingClearTheKeys) {
  std::unique_ptr<TMusicScore> score = PianoScore();
  score->SetEditorState(0, 4, 4, 0);
  TStatusHost host;
  TUndoActionMgr undo(5, 1000);
  TScoreEdit edit(nullptr, *score, undo, host);
  host.playing = true;
  edit.UpdateStatus();
  EXPECT_EQ(host.clears, 1);
  edit.MoveCaretBy(1, false);
  edit.UpdateStatus();
  EXPECT_EQ(host.clears, 2);
  EXPECT_TRUE(host.shown.empty());
  // Recording clears once, however the caret moves meanwhile.
  host.recording = true;
  edit.UpdateStatus();
  edit.MoveCaretBy(1, false);
  edit.UpdateStatus();
  EXPECT_EQ(host.clears, 3);
  EXPECT_TRUE(host.shown.empty());
  host.recording = host.playing = false;
  edit.UpdateStatus();
  EXPECT_EQ(host.shown, std::vector<std::vector<int>>{{68}});
}

TEST(ScoreEditStatusTest, ReportsOnlyChanges) {
  std::unique_ptr<TMusicScore> score = example::MakeExampleScore();
  TStatusHost host;
  TUndoActionMgr undo(5, 1000);
  TScoreEdit edit(nullptr, *score, undo, host);
  edit.SetActiveStaff(1, false);
  edit.UpdateStatus();
  edit.UpdateStatus();
  EXPECT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.staves, std::vector<int>{1});
  edit.MoveCaretBy(1, false);
  edit.UpdateStatus();
  EXPECT_EQ(host.texts.size(), 2u);
}

// Right hand: 0 bar, 1 clef, 2 key, 3 time, 4 dynamic, 5..8 quarters, 9 bar (repeat open),
// 10 dynamic, 11..14 quarters, 15 bar; the score starts at bar 1.
struct TPositionCase {
  int caret, anchor;
  const char* text;
};

class CaretPositionTextTest : public ::testing::TestWithParam<TPositionCase> {};

TEST_P(CaretPositionTextTest, Text) {
  std::unique_ptr<TMusicScore> score = example::MakeExampleScore();
  const TEditorCaret caret{1, GetParam().caret, GetParam().anchor, 0};
  EXPECT_EQ(CaretPositionText(*score, *score->GetStaff(1), caret), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaretPositionTextTest,
    ::testing::Values(TPositionCase{5, 5, "4/4  Bar 1"}, TPositionCase{6, 6, "2 of 4/4  Bar 1"},
                      TPositionCase{8, 8, "4 of 4/4  Bar 1"}, TPositionCase{11, 11, "4/4  Bar 2"},
                      TPositionCase{13, 13, "3 of 4/4  Bar 2"}, TPositionCase{5, 8, "Bar 1"},
                      TPositionCase{6, 13, "Bar 1 - 2"}));

}  // namespace
}  // namespace kvt
