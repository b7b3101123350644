#pragma once
// Placing top-level windows: centring on the screen or over another window, and finding the
// captioned window that owns the message boxes a control raises. Positions are of the window's
// frame (its caption and borders included); sizes never change. Halves are cut toward zero.
// The screen is the primary screen's whole area; without a screen nothing moves.

#include <QRect>

class QWidget;

namespace kvt {

// Centres the window's frame on the screen; a window larger than the screen gets negative
// coordinates.
void CenterWindowOnScreen(QWidget& window);
// Centres the window's frame over other's frame; a negative left or top becomes 0.
void CenterWindowOver(QWidget& window, const QWidget& other);
// Centres the window over its owner's frame, or over the screen without an owner; a window
// that would end beyond the screen's right or bottom edge is moved to end there, but never to
// a negative position.
void CenterWindowOn(const QWidget* owner, QWidget& window);

// The first of the widget and its ancestors that is a window with a caption (not frameless);
// the widget itself when none is; null for null.
QWidget* GetCaptionedAncestor(QWidget* widget);

// The primary screen's area; an empty rectangle without a screen.
QRect ScreenRect();

// The top-left at which rect's size is centred over target (cut toward zero).
QPoint CenteredTopLeft(const QRect& target, const QSize& size);

}  // namespace kvt
