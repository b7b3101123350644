#include "tools/text_utilities.h"

#include "utils/precondition.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QPaintDevice>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kvt {

void CopyTextToClipboard(std::string_view text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return;
  clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void PutTextOnClipboard(QMimeData& data, std::string_view text) {
  data.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int PointsToPixels(const QPaintDevice& device, int points) {
  return static_cast<int>(static_cast<long long>(points) * device.logicalDpiY() / 72);
}

bool TextFits(const QPaintDevice& device, const QFont& font, const QString& text, int width) {
  const QFontMetrics metrics(font, &device);
  return width > metrics.horizontalAdvance(text);
}

QFont FontFromLogFont(const TLogFont& lf) {
  QFont font(QString::fromUtf8(lf.faceName,
                               static_cast<qsizetype>(strnlen(lf.faceName, kLogFontFaceSize))));
  if (lf.height != 0) font.setPixelSize(std::max(std::abs(lf.height), 1));
  if (lf.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight, 1, 1000)));
  font.setItalic(lf.italic != 0);
  font.setUnderline(lf.underline != 0);
  font.setStrikeOut(lf.strikeOut != 0);
  return font;
}

QFont CreateFontToFit(const QPaintDevice& device, TLogFont lf, const QString& text, int width,
                      int* fittedHeight) {
  if (!(lf.outPrecision == OUT_TT_PRECIS))
    ThrowPrecondition("lf.lfOutPrecision == OUT_TT_PRECIS", __FILE__, __LINE__);
  for (;;) {
    const QFont font = FontFromLogFont(lf);
    if (TextFits(device, font, text, width) || std::abs(lf.height) <= 4) {
      if (fittedHeight != nullptr) *fittedHeight = lf.height;
      return font;
    }
    lf.height = lf.height * 3 / 4;  // C++ division cuts toward zero
  }
}

void SetChildrenVarFont(QWidget& widget) {
  const QFont font = QApplication::font();
  for (QWidget* child : widget.findChildren<QWidget*>()) child->setFont(font);
}

bool IsCursorInClient(const QWidget& widget) {
  return widget.rect().contains(widget.mapFromGlobal(QCursor::pos()));
}

bool IsCursorOnHScrollBar(const QAbstractScrollArea& area) {
  const QScrollBar* bar = area.horizontalScrollBar();
  return bar != nullptr && bar->isVisible() &&
         bar->rect().contains(bar->mapFromGlobal(QCursor::pos()));
}

void SetClassBackground(QWidget& widget, const QColor& color) {
  if (widget.autoFillBackground() && widget.palette().color(QPalette::Window) == color) return;
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, color);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace kvt
