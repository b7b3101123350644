#include "print/preview_pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace kvt {

QCursor PageTurnCursor(bool forward) {
  // A page corner with an arrow pointing the way the page turns; hot spot at the arrow's tip.
  constexpr int kSize = 32;
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  QPolygon arrow;
  arrow << QPoint(2, 16) << QPoint(14, 4) << QPoint(14, 11) << QPoint(29, 11) << QPoint(29, 21)
        << QPoint(14, 21) << QPoint(14, 28);
  if (forward)
    for (QPoint& p : arrow) p.setX(kSize - 1 - p.x());
  painter.drawPolygon(arrow);
  painter.end();
  return QCursor(picture, forward ? kSize - 3 : 2, 16);
}

QImage PreviewButtonGlyph(const TGlyphResource& glyph) {
  constexpr int kSize = 16;
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  switch (glyph.id) {
    case 233: painter.drawPolygon(QPolygon({QPoint(11, 2), QPoint(4, 8), QPoint(11, 14)})); break;
    case 234: painter.drawPolygon(QPolygon({QPoint(5, 2), QPoint(12, 8), QPoint(5, 14)})); break;
    case 232:
      for (int y : {3, 7, 11}) painter.drawRect(2, y, 12, 2);
      break;
    default: return {};
  }
  return image;
}

}  // namespace kvt
