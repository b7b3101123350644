#include "tools/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kvt {

QRect ScreenRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect();
}

QPoint CenteredTopLeft(const QRect& target, const QSize& size) {
  // Integer division cuts toward zero, as the placement rules ask.
  return {target.left() + (target.width() - size.width()) / 2,
          target.top() + (target.height() - size.height()) / 2};
}

void CenterWindowOnScreen(QWidget& window) {
  const QRect screen = ScreenRect();
  if (screen.isEmpty()) return;
  window.move(CenteredTopLeft(screen, window.frameGeometry().size()));
}

void CenterWindowOver(QWidget& window, const QWidget& other) {
  const QPoint topLeft = CenteredTopLeft(other.frameGeometry(), window.frameGeometry().size());
  window.move(std::max(topLeft.x(), 0), std::max(topLeft.y(), 0));
}

void CenterWindowOn(const QWidget* owner, QWidget& window) {
  const QRect screen = ScreenRect();
  const QRect target = owner != nullptr ? owner->frameGeometry() : screen;
  const QSize size = window.frameGeometry().size();
  QPoint topLeft = CenteredTopLeft(target, size);
  if (!screen.isEmpty()) {
    if (topLeft.x() + size.width() > screen.right() + 1)
      topLeft.setX(std::max(screen.right() + 1 - size.width(), 0));
    if (topLeft.y() + size.height() > screen.bottom() + 1)
      topLeft.setY(std::max(screen.bottom() + 1 - size.height(), 0));
  }
  window.move(topLeft);
}

QWidget* GetCaptionedAncestor(QWidget* widget) {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
    if (w->isWindow() && !w->windowFlags().testFlag(Qt::FramelessWindowHint) &&
        w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip)
      return w;
  return widget;
}

}  // namespace kvt
