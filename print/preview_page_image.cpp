#include "print/preview_page_image.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "draw/print/print_data.h"
#include "platform/qpainter_context.h"

namespace kvt {

namespace {

const QColor kShadow(160, 160, 160);
const QColor kBoundary(192, 192, 192);

}  // namespace

int DrawPageImage(TKVTNTNPrintData& print, TQPainterContext& screen, const TPageImageView& view,
                  int page) {
  const TPaperMeasures& paper = print.GetPaper();
  const double scaleX = std::max(view.scale, 1e-3);
  const double scaleY = scaleX * std::max(paper.dpiY, 1) / std::max(paper.dpiX, 1);
  const int paperWidth = static_cast<int>(paper.physicalWidth / scaleX);
  const int paperHeight = static_cast<int>(paper.physicalHeight / scaleY);
  const QRect paperRect(view.paperOrigin, QSize(paperWidth, paperHeight));

  QPainter& painter = screen.Painter();
  painter.save();
  painter.fillRect(paperRect, Qt::white);
  painter.restore();

  // Page coordinates are relative to the printable origin, which lies offset on the paper.
  TDcTransform transform;
  transform.scaleX = 1.0 / scaleX;
  transform.scaleY = 1.0 / scaleY;
  transform.originX = static_cast<int>(std::lround(-paper.offsetX - view.paperOrigin.x() * scaleX));
  transform.originY = static_cast<int>(std::lround(-paper.offsetY - view.paperOrigin.y() * scaleY));
  const TDcTransform saved = screen.Transform();
  screen.SetTransform(transform);
  screen.SetClip(TDcRect{-paper.offsetX, -paper.offsetY, paper.physicalWidth - paper.offsetX + 1,
                         paper.physicalHeight - paper.offsetY + 1});
  const int result = print.RenderPage(&screen, page, true);
  screen.SetClip(std::nullopt);
  screen.SetTransform(saved);

  painter.save();
  const QRect shadowRight(paperRect.right() + 1, paperRect.top() + kPageShadowWidth,
                          kPageShadowWidth, paperRect.height());
  const QRect shadowBelow(paperRect.left() + kPageShadowWidth, paperRect.bottom() + 1,
                          paperRect.width(), kPageShadowWidth);
  QPainterPath outside;
  outside.addRect(QRect(QPoint(0, 0), view.window));
  QPainterPath covered;
  covered.addRect(paperRect);
  covered.addRect(shadowRight);
  covered.addRect(shadowBelow);
  painter.fillPath(outside.subtracted(covered), view.windowColor);
  painter.fillRect(shadowRight, kShadow);
  painter.fillRect(shadowBelow, kShadow);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(paperRect.adjusted(0, 0, -1, -1));
  if (view.showBoundary) {
    // The device prints from its offsets inwards; the unprintable band is as wide on the far
    // sides as on the near ones.
    const QRect printable(
        view.paperOrigin + QPoint(static_cast<int>(paper.offsetX / scaleX),
                                  static_cast<int>(paper.offsetY / scaleY)),
        QSize(static_cast<int>((paper.physicalWidth - 2 * paper.offsetX) / scaleX),
              static_cast<int>((paper.physicalHeight - 2 * paper.offsetY) / scaleY)));
    painter.setPen(QPen(kBoundary, 0));
    painter.setBrush(QBrush(kBoundary, Qt::DiagCrossPattern));
    QPainterPath band;
    band.addRect(paperRect);
    QPainterPath inner;
    inner.addRect(printable);
    painter.drawPath(band.subtracted(inner));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(printable);
  }
  painter.restore();
  return result;
}

}  // namespace kvt
