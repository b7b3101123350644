#pragma once
// TFocusCaret: the caret of a custom-drawn view while the view has the keyboard focus. The
// view constructs it with the caret's size, calls SetFocus on focus-in and KillFocus on
// focus-out, moves it with its insertion point and brackets its own drawing with Hide and
// Show; the view paints the caret itself (Paint) where CaretRect says, while IsShown.
//
// Hide and Show nest: the caret shows only while its hide count is 0. Show on a shown caret
// leaves the count at 0, so one Hide always hides it again.

#include <QPointer>
#include <QRect>
#include <QWidget>

class QPainter;

namespace kvt {

class TFocusCaret {
public:
  TFocusCaret(int originX, int originY, int width, int height);
  virtual ~TFocusCaret() = default;

  // Takes the window as owner and shows the caret, when it has no owner yet.
  virtual void SetFocus(QWidget* window);
  // Hides the caret and drops the owner, when it has one.
  virtual void KillFocus();
  // Makes the caret for the owner and places it. Precondition: an owner ("InFocus()").
  virtual void InFocus();
  virtual void Show();
  virtual void Hide();

  void SetShape(int originX, int originY, int width, int height);
  void SetPos(int x, int y);
  void MoveBy(int dx, int dy) { SetPos(x + dx, y + dy); }
  void SetX(int newX) { SetPos(newX, y); }
  void MoveX(int dx) { SetPos(x + dx, y); }
  void SetY(int newY) { SetPos(x, newY); }
  void MoveY(int dy) { SetPos(x, y + dy); }

  QPoint GetClientPos() const { return {x - originX, y - originY}; }
  bool IsVisible() const { return hideCount <= 0; }
  bool HasFocus() const { return owner != nullptr; }
  int HideCount() const { return hideCount; }
  // Shown on the owner now: an owner, a created caret and a hide count of 0.
  bool IsShown() const { return owner != nullptr && created && hideCount == 0; }
  // The caret's place in the owner's client coordinates.
  QRect CaretRect() const { return {GetClientPos(), QSize(width, height)}; }
  // Fills the caret rectangle inverted, when it is shown.
  void Paint(QPainter& painter) const;

private:
  void Place();

  int hideCount = 1;
  QPointer<QWidget> owner;
  bool created = false;
  int x = 0, y = 0;
  int width, height;
  int originX, originY;
  QRect drawn;  // where the owner last showed it
};

}  // namespace kvt
