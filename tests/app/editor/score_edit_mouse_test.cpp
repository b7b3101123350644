// The editing view's mouse: clicks put the caret, Shift extends, a click on another staff
// activates it, dragging extends with paced stepping at the edges, the double click selects a
// bar and the middle button pans.

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QTimer>
#include <QTimerEvent>

#include "app/editor/drag_scroll_pacer.h"
#include "draw/music_fonts.h"
#include "tests/app/editor/edit_mouse_fixture.h"

namespace kvt {
namespace edit_mouse_test {
namespace {

using ScoreEditMouseTest = EditMouseTest;

TEST_F(ScoreEditMouseTest, ClickPutsTheCaretBeforeTheItemAndTheStaffPositionFromY) {
  TScoreEdit& edit = Open();
  struct TCase {
    int item, position;
  };
  const int chord = IndexOf(kItemChord);
  const int bar = IndexOf(kItemBarLine, 1);
  for (const TCase c : {TCase{chord, -6}, TCase{chord + 1, 0}, TCase{bar, 4}, TCase{bar + 2, 9}}) {
    Press(At(c.item, c.position));
    Release(At(c.item, c.position));
    EXPECT_EQ(edit.Caret().caret, c.item) << c.item;
    EXPECT_EQ(edit.Caret().caretPos, c.position) << c.item;
    EXPECT_FALSE(edit.HasSelection());
  }
  EXPECT_EQ(edit.window()->focusWidget(), &edit);
}

TEST_F(ScoreEditMouseTest, ShiftClickExtendsTheSelectionToThePoint) {
  TScoreEdit& edit = Open();
  const int first = IndexOf(kItemChord);
  Press(At(first, 0));
  Release(At(first, 0));
  Press(At(first + 4, 0), Qt::LeftButton, Qt::ShiftModifier);
  Release(At(first + 4, 0));
  EXPECT_EQ(edit.Caret().anchor, first);
  EXPECT_EQ(edit.Caret().caret, first + 4);
}

TEST_F(ScoreEditMouseTest, ClickOnAnotherStaffActivatesItAndHoldsScrollingWhilePressed) {
  TScoreEdit& edit = Open();
  edit.SetCaretIndex(5, false);
  edit.SetCaretIndex(7, true);
  const QPoint onLower(edit.OriginX() + 200, edit.StaffRect(1).center().y());
  Press(onLower);
  EXPECT_EQ(edit.ActiveScoreStaff(), 1);
  EXPECT_FALSE(edit.HasSelection());
  EXPECT_TRUE(edit.HoldsScroll());
  Release(onLower);
  EXPECT_FALSE(edit.HoldsScroll());
  EXPECT_FALSE(edit.IsLeftDragging());
}

TEST_F(ScoreEditMouseTest, LeftPressWithTheRightButtonHeldDoesNothing) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  edit.SetCaretIndex(chord, false);
  Mouse(QEvent::MouseButtonPress, At(chord + 3, 0), Qt::LeftButton,
        Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(edit.Caret().caret, chord);
  EXPECT_FALSE(edit.IsLeftDragging());
}

TEST_F(ScoreEditMouseTest, DraggingExtendsTheSelection) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  Press(At(chord, 0));
  Move(At(chord + 3, 0));
  EXPECT_EQ(edit.Caret().anchor, chord);
  EXPECT_EQ(edit.Caret().caret, chord + 3);
  Move(At(chord + 1, 0));
  EXPECT_EQ(edit.Caret().caret, chord + 1);
  Release(At(chord + 1, 0));
  // A move without the button no longer selects.
  Move(At(chord + 5, 0), Qt::NoButton);
  EXPECT_EQ(edit.Caret().caret, chord + 1);
}

// Delivers one tick of the drag's edge timer.
void Tick(TScoreEdit& edit) {
  auto* timer = edit.findChild<QTimer*>(QStringLiteral("dragScrollTimer"));
  ASSERT_NE(timer, nullptr);
  ASSERT_TRUE(timer->isActive());
  QTimerEvent event(timer->timerId());
  QApplication::sendEvent(timer, &event);
}

TEST_F(ScoreEditMouseTest, DragAtTheRightEdgeStepsSlowlyThenFaster) {
  TScoreEdit& edit = Open();
  const int start = IndexOf(kItemChord);
  Press(At(start, 0));
  const int y = At(start, 0).y();
  Move(QPoint(edit.viewport()->width() - 1, y));
  ASSERT_EQ(edit.DragScrollDirection(), 1);
  auto* timer = edit.findChild<QTimer*>(QStringLiteral("dragScrollTimer"));
  EXPECT_EQ(timer->interval(), TDragScrollPacer::kIntervalMs);
  const int before = edit.Caret().caret;
  // The first tick starts; then one step every ten ticks.
  for (int i = 0; i < 10; ++i) Tick(edit);
  EXPECT_EQ(edit.Caret().caret, before);
  Tick(edit);
  EXPECT_EQ(edit.Caret().caret, before + 1);
  for (int i = 0; i < 10; ++i) Tick(edit);
  EXPECT_EQ(edit.Caret().caret, before + 2);
  EXPECT_EQ(edit.Caret().anchor, start);
  // Much later every tick steps.
  for (int i = 0; i < 240; ++i) Tick(edit);
  const int fast = edit.Caret().caret;
  Tick(edit);
  Tick(edit);
  EXPECT_EQ(edit.Caret().caret, fast + 2);

  // Back inside the window the timer stops and the caret follows the mouse.
  const int middle = edit.viewport()->width() / 2;
  Move(QPoint(middle, y));
  EXPECT_EQ(edit.DragScrollDirection(), 0);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(edit.Caret().caret, edit.ItemIndexFromX(middle));
  EXPECT_EQ(edit.Caret().anchor, start);
}

TEST_F(ScoreEditMouseTest, DragAtTheLeftEdgeStepsBackAndLosingTheCaptureStopsIt) {
  TScoreEdit& edit = Open();
  const int start = IndexOf(kItemBarLine, 2);
  Press(At(start, 0));
  const int y = At(start, 0).y();
  Move(QPoint(0, y));
  ASSERT_EQ(edit.DragScrollDirection(), -1);
  for (int i = 0; i < 11; ++i) Tick(edit);
  EXPECT_EQ(edit.Caret().caret, start - 1);
  EXPECT_EQ(edit.Caret().anchor, start);

  QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(&edit, &lost);
  EXPECT_EQ(edit.DragScrollDirection(), 0);
  EXPECT_FALSE(edit.findChild<QTimer*>(QStringLiteral("dragScrollTimer"))->isActive());
  EXPECT_FALSE(edit.HoldsScroll());
  EXPECT_FALSE(edit.IsLeftDragging());
  // Moves after the capture is gone select nothing.
  Move(At(start + 3, 0));
  EXPECT_EQ(edit.Caret().caret, start - 1);
}

TEST_F(ScoreEditMouseTest, DoubleClickSelectsTheBarAroundTheCaret) {
  TScoreEdit& edit = Open();
  const int bar1 = IndexOf(kItemBarLine, 1);
  const int bar2 = IndexOf(kItemBarLine, 2);
  struct TCase {
    int click;
    int wantAnchor, wantCaret;
  };
  const int clef = IndexOf(kItemClef);
  for (const TCase c :
       {TCase{bar1 + 2, bar1 + 1, bar2}, TCase{bar2, bar1 + 1, bar2}, TCase{clef + 2, 1, bar1}}) {
    Press(At(c.click, 0));
    Release(At(c.click, 0));
    Mouse(QEvent::MouseButtonDblClick, At(c.click, 0), Qt::LeftButton, Qt::LeftButton);
    Release(At(c.click, 0));
    EXPECT_EQ(edit.Caret().anchor, c.wantAnchor) << c.click;
    EXPECT_EQ(edit.Caret().caret, c.wantCaret) << c.click;
  }
}

TEST_F(ScoreEditMouseTest, MiddleButtonPansVerticallyAndByTimeSlots) {
  // Low enough that the second staff is out of view: the vertical bar shows.
  TScoreEdit& edit = Open(600, 90);
  const int font = edit.Fonts().GetMusicEm(0);
  ASSERT_GT(font, 0);
  edit.ScrollVertically(-10000);
  const int scrolledY = edit.ScrollY();
  ASSERT_LT(scrolledY, 0);
  const QPoint from(300, 40);
  Press(from, Qt::MiddleButton);
  EXPECT_TRUE(edit.IsPanning());
  EXPECT_EQ(edit.viewport()->cursor().shape(), Qt::ArrowCursor);
  // Under the thresholds nothing moves.
  Move(from + QPoint(-3 * font, 4 * font), Qt::MiddleButton);
  EXPECT_EQ(edit.ScrollY(), scrolledY);
  EXPECT_EQ(edit.HScrollSlot(), 0);
  // Down past four font sizes: the staves follow the mouse down.
  Move(from + QPoint(0, 4 * font + 1), Qt::MiddleButton);
  EXPECT_GT(edit.ScrollY(), scrolledY);
  // Left past three font sizes: later music comes in, one time slot per move.
  Move(from + QPoint(-3 * font - 1, 4 * font + 1), Qt::MiddleButton);
  const int64_t slot = edit.HScrollSlot();
  EXPECT_GT(slot, 0);
  Move(from + QPoint(-6 * font - 2, 4 * font + 1), Qt::MiddleButton);
  EXPECT_GT(edit.HScrollSlot(), slot);
  Release(from, Qt::MiddleButton);
  EXPECT_FALSE(edit.IsPanning());
  const int64_t after = edit.HScrollSlot();
  Move(from, Qt::NoButton);
  EXPECT_EQ(edit.HScrollSlot(), after);
}

}  // namespace
}  // namespace edit_mouse_test
}  // namespace kvt
