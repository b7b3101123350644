#include "tools/bitmap_control.h"

#include <QPainter>

#include "tools/draw_routines.h"

namespace kvt {

namespace {

constexpr int kAllSides = kEdgeLeft | kEdgeTop | kEdgeRight | kEdgeBottom;

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
    DrawEdgeLines(p, target, kAllSides, pal.color(QPalette::Shadow), pal.color(QPalette::Shadow));
  } else if (border == kSunken || border == kRaised) {
    bool sunken = border == kSunken;
    QColor outer1 = pal.color(sunken ? QPalette::Dark : QPalette::Light);
    QColor outer2 = pal.color(sunken ? QPalette::Light : QPalette::Shadow);
    QColor inner1 = pal.color(sunken ? QPalette::Shadow : QPalette::Button);
    QColor inner2 = pal.color(sunken ? QPalette::Button : QPalette::Dark);
    DrawEdgeLines(p, target, kAllSides, outer1, outer2);
    DrawEdgeLines(p, target, kAllSides, inner1, inner2);
  }
  if (!picture.isNull() && target.isValid()) p.drawImage(target, picture);
}

}  // namespace kvt
