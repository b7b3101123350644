#include "tools/focus_caret.h"

#include "tools/error_text_gadget.h"
#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

namespace kvt {
namespace {

TEST(FocusCaretTest, HideAndShowNestAndNeverGoBelowZero) {
  QWidget view;
  TFocusCaret caret(0, 0, 2, 14);
  caret.SetFocus(&view);
  EXPECT_TRUE(caret.IsShown());
  caret.Hide();
  caret.Hide();
  caret.Show();
  EXPECT_FALSE(caret.IsShown());
  caret.Show();
  EXPECT_TRUE(caret.IsShown());
  caret.Show();  // an extra Show keeps the count at 0
  EXPECT_EQ(caret.HideCount(), 0);
  caret.Hide();
  EXPECT_FALSE(caret.IsShown());
}

TEST(FocusCaretTest, SecondOwnerIsRefusedAndKillFocusDropsTheOwner) {
  QWidget first, second;
  TFocusCaret caret(0, 0, 2, 14);
  caret.SetFocus(&first);
  caret.SetFocus(&second);
  EXPECT_TRUE(caret.HasFocus());
  caret.KillFocus();
  EXPECT_FALSE(caret.HasFocus());
  EXPECT_FALSE(caret.IsVisible());
  caret.SetFocus(&second);
  EXPECT_TRUE(caret.IsShown());
}

TEST(FocusCaretTest, PositionIsStoredWhileHiddenAndPlacedOnShow) {
  QWidget view;
  TFocusCaret caret(5, 3, 2, 14);
  caret.SetFocus(&view);
  caret.Hide();
  caret.SetPos(40, 20);
  caret.MoveBy(1, 1);
  EXPECT_EQ(caret.GetClientPos(), QPoint(36, 18));
  caret.Show();
  EXPECT_EQ(caret.CaretRect(), QRect(36, 18, 2, 14));
  caret.SetShape(0, 0, 3, 10);
  EXPECT_TRUE(caret.IsShown());
  EXPECT_EQ(caret.CaretRect(), QRect(41, 21, 3, 10));
}

TEST(FocusCaretTest, InFocusNeedsAnOwner) {
  TFocusCaret caret(0, 0, 1, 1);
  try {
    caret.InFocus();
    ADD_FAILURE();
  } catch (const TPreconditionError& error) {
    EXPECT_EQ(error.Expression(), "InFocus()");
  }
}

TEST(ErrorTextGadgetTest, ColoursFollowModeAndAnEmptyTextStaysOnTheFace) {
  TKVErrorTextGadget gadget(1, 3, Qt::AlignLeft, 10, "");
  const QColor face = gadget.palette().color(QPalette::Button);
  EXPECT_EQ(gadget.BackgroundColor(), face);
  gadget.SetMode(0);
  EXPECT_EQ(gadget.BackgroundColor(), face);
  gadget.SetText("Bar 12 is too long");
  EXPECT_EQ(gadget.BackgroundColor(), QColor(255, 255, 0));
  EXPECT_EQ(gadget.TextColor(), QColor(160, 0, 0));
  gadget.SetMode(1);
  EXPECT_EQ(gadget.BackgroundColor(), face);
  EXPECT_EQ(gadget.TextColor(), QColor(0, 160, 0));

  gadget.SetMode(0);
  gadget.resize(120, 20);
  QImage image(gadget.size(), QImage::Format_RGB32);
  gadget.render(&image);
  EXPECT_EQ(image.pixel(118, 10), qRgb(255, 255, 0));  // inside the border, after the text
}

}  // namespace
}  // namespace kvt
