#include "tools/bitmap_control.h"

#include <QPainter>

namespace kvt {

namespace {

// One one-pixel frame: top and left in `first`, bottom and right in `second`.
void DrawFramePair(QPainter& p, const QRect& r, const QColor& first, const QColor& second) {
  p.setPen(first);
  p.drawLine(r.right(), r.top(), r.left(), r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom());
  p.setPen(second);
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.bottom(), r.right(), r.top());
}

}  // namespace

TBitmapControl::TBitmapControl(QWidget* parent, const QImage& image, int borderKind)
    : QWidget(parent),
      picture(image),
      border(borderKind < kNoBorder || borderKind > kRaised ? kNoBorder : borderKind) {}

void TBitmapControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  QRect target = ownSize ? QRect(QPoint(0, 0), picture.size()) : rect();
  int frameWidth = border == kFrame ? 1 : border == kNoBorder ? 0 : 2;
  if (ownSize) target.adjust(0, 0, 2 * frameWidth, 2 * frameWidth);
  if (border == kFrame) {
    DrawFramePair(p, target, pal.color(QPalette::Shadow), pal.color(QPalette::Shadow));
    target.adjust(1, 1, -1, -1);
  } else if (border == kSunken || border == kRaised) {
    bool sunken = border == kSunken;
    QColor outer1 = pal.color(sunken ? QPalette::Dark : QPalette::Light);
    QColor outer2 = pal.color(sunken ? QPalette::Light : QPalette::Shadow);
    QColor inner1 = pal.color(sunken ? QPalette::Shadow : QPalette::Button);
    QColor inner2 = pal.color(sunken ? QPalette::Button : QPalette::Dark);
    DrawFramePair(p, target, outer1, outer2);
    target.adjust(1, 1, -1, -1);
    DrawFramePair(p, target, inner1, inner2);
    target.adjust(1, 1, -1, -1);
  }
  if (!picture.isNull() && target.isValid()) p.drawImage(target, picture);
}

}  // namespace kvt
