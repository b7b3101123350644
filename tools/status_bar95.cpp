#include "tools/status_bar95.h"

#include "tools/system_colors.h"

#include <QCursor>
#include <QPainter>
#include <QToolTip>

namespace kvt {

namespace {

// The first limit characters, never half of a surrogate pair.
QString Cut(const QString& text, int limit) {
  if (text.size() <= limit) return text;
  int end = limit;
  if (text.at(end - 1).isHighSurrogate()) --end;
  return text.left(end);
}

}  // namespace

TStatusBar95::TStatusBar95(QWidget* parent) : QStatusBar(parent) {
  // The grip hides itself while the frame is maximised.
  setSizeGripEnabled(true);
}

void TStatusBar95::Insert(QWidget* gadget, int stretch) { addPermanentWidget(gadget, stretch); }

QString TStatusBar95::StatusPart(const QString& hint) {
  const QString text = Cut(hint, kStatusTextLimit);
  const int feed = text.indexOf('\n');
  return feed < 0 ? text : text.left(feed);
}

QString TStatusBar95::TooltipPart(const QString& hint) {
  const QString text = Cut(hint, kStatusTextLimit);
  const int feed = text.indexOf('\n');
  if (feed < 0) return text;
  const int second = text.indexOf('\n', feed + 1);
  return text.mid(feed + 1, second < 0 ? -1 : second - feed - 1);
}

void TStatusBar95::SetText(const QString& text) {
  if (text.isEmpty()) {
    QToolTip::hideText();
    clearMessage();
    return;
  }
  if (QToolTip::isVisible())
    QToolTip::showText(QCursor::pos(), TooltipPart(text));
  else
    showMessage(StatusPart(text));
}

void TStatusBar95::paintEvent(QPaintEvent* event) {
  QStatusBar::paintEvent(event);
  // The three-dimensional top edge.
  QPainter painter(this);
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  painter.fillRect(0, 0, width(), 1, colors.btnShadow);
  painter.fillRect(0, 1, width(), 1, colors.btnHighlight);
}

TKVStatusSeparatorGadget::TKVStatusSeparatorGadget(int a, int b, QWidget* parent)
    : QWidget(parent), a(a), b(b) {}

QSize TKVStatusSeparatorGadget::sizeHint() const { return {a + b + 2, 16}; }

void TKVStatusSeparatorGadget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  painter.fillRect(EdgeX() - 1, 0, 1, height(), colors.btnShadow);
  painter.fillRect(EdgeX(), 0, 1, height(), colors.btnHighlight);
}

}  // namespace kvt
