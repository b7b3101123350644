#include "tools/draw_routines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <vector>

namespace kvt {

void FitTextWithEllipsis(const QFontMetrics& metrics, QString& text, int width) {
  // Character boundaries as code-unit offsets, so pairs of surrogates stay whole.
  std::vector<qsizetype> starts;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
      starts.push_back(i);
  const size_t count = starts.size();
  if (count < 3 || metrics.horizontalAdvance(text) <= width) return;
  const int limit = width - 3 * metrics.horizontalAdvance(QLatin1Char('.'));
  int sum = 0;
  size_t keep = 0;
  for (; keep < count - 3; ++keep) {
    const qsizetype end = keep + 1 < count ? starts[keep + 1] : text.size();
    sum += metrics.horizontalAdvance(text.mid(starts[keep], end - starts[keep]));
    if (sum >= limit) break;
  }
  text = text.left(keep < count ? starts[keep] : text.size()) + QStringLiteral("...");
}

void DrawEdgeLines(QPainter& painter, QRect& rect, int sides, const QColor& topLeft,
                   const QColor& bottomRight) {
  const QRect given = rect;
  if (sides & kEdgeLeft) {
    painter.fillRect(given.left(), given.top(), 1, given.height(), topLeft);
    rect.setLeft(rect.left() + 1);
  }
  if (sides & kEdgeTop) {
    painter.fillRect(given.left(), given.top(), given.width(), 1, topLeft);
    rect.setTop(rect.top() + 1);
  }
  if (sides & kEdgeRight) {
    painter.fillRect(given.right(), given.top(), 1, given.height(), bottomRight);
    rect.setRight(rect.right() - 1);
  }
  if (sides & kEdgeBottom) {
    painter.fillRect(given.left(), given.bottom(), given.width(), 1, bottomRight);
    rect.setBottom(rect.bottom() - 1);
  }
}

void DrawBorder3D(QPainter& painter, QRect& rect, int kinds, int options,
                  const TSystemColors& colors) {
  QRect r = rect;
  const int sides = options & 15;
  QColor outerTL, outerBR, innerTL, innerBR;
  if (kinds & kRaisedOuter) {
    outerTL = colors.btnFace;
    outerBR = colors.windowFrame;
  } else if (kinds & kSunkenOuter) {
    outerTL = colors.btnShadow;
    outerBR = colors.btnHighlight;
  }
  if (kinds & kRaisedInner) {
    innerTL = colors.btnHighlight;
    innerBR = colors.btnShadow;
  } else if (kinds & kSunkenInner) {
    innerTL = colors.windowFrame;
    innerBR = colors.btnFace;
  }
  if ((options & kBorderSoft) && outerTL.isValid() && innerTL.isValid())
    std::swap(outerTL, innerTL);
  if (outerTL.isValid()) DrawEdgeLines(painter, r, sides, outerTL, outerBR);
  if (innerTL.isValid()) DrawEdgeLines(painter, r, sides, innerTL, innerBR);
  if ((options & kBorderFill) && r.isValid()) painter.fillRect(r, colors.window);
  if (options & kBorderAdjust) rect = r;
}

QImage CreateMaskBitmap(const QImage& image, const QColor& color) {
  QImage mask(image.size(), QImage::Format_Mono);
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mask.fill(0);
  const QRgb wanted = color.rgb() & 0xFFFFFF;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == wanted) mask.setPixel(x, y, 1);
  return mask;
}

QColor GetDibCornerColor(const QImage& image) {
  if (image.isNull()) return {};
  return QColor::fromRgb(image.pixel(0, image.height() - 1));
}

QImage SetDibCornerColor(const QImage& image, const QColor& color) {
  if (image.isNull()) return image;
  QImage copy = image;
  if (copy.colorCount() > 0) {
    copy.setColor(copy.pixelIndex(0, copy.height() - 1), color.rgb());
    return copy;
  }
  const QRgb corner = copy.pixel(0, copy.height() - 1);
  for (int y = 0; y < copy.height(); ++y)
    for (int x = 0; x < copy.width(); ++x)
      if (copy.pixel(x, y) == corner) copy.setPixel(x, y, color.rgb());
  return copy;
}

bool GetIdentityPaletteEntries(std::array<TPaletteEntry, 256>&) { return false; }

void ClearSystemPalette() {}

bool ModifyWindowStyle(QWidget& window, Qt::WindowFlags remove, Qt::WindowFlags add) {
  const Qt::WindowFlags old = window.windowFlags();
  const Qt::WindowFlags flags = (old & ~remove) | add;
  if (flags == old) return false;
  const bool visible = window.isVisible();
  window.setWindowFlags(flags);  // hides the window
  if (visible) window.show();
  return true;
}

}  // namespace kvt
