#include "tools/error_text_gadget.h"

#include "tools/system_colors.h"
#include "tools/ui_border.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace kvt {

TKVErrorTextGadget::TKVErrorTextGadget(int32_t id, int borderStyle, Qt::Alignment alignment,
                                       int characters, const QString& text, QWidget* parent)
    : QWidget(parent),
      id(id),
      borderStyle(std::clamp(borderStyle, 0, static_cast<int>(TUIBorder::WellSet))),
      alignment(alignment),
      characters(characters),
      text(text) {}

void TKVErrorTextGadget::SetText(const QString& newText) {
  if (newText == text) return;
  text = newText;
  update();
}

void TKVErrorTextGadget::SetMode(int newMode) {
  if (newMode == mode) return;
  mode = newMode;
  update();
}

QColor TKVErrorTextGadget::BackgroundColor() const {
  if (text.isEmpty() || mode != 0) return palette().color(QPalette::Button);
  return QColor(255, 255, 0);
}

QColor TKVErrorTextGadget::TextColor() const {
  return mode != 0 ? QColor(0, 160, 0) : QColor(160, 0, 0);
}

QSize TKVErrorTextGadget::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.averageCharWidth() * std::max(characters, 1) + 4, metrics.height() + 4};
}

void TKVErrorTextGadget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TUIBorder border = TUIBorder::FromStyle(rect(), borderStyle, 0);
  border.Paint(painter, TSystemColors::FromPalette(palette()));
  const QRect inner = border.GetClientRect();
  painter.fillRect(inner, BackgroundColor());
  painter.setClipRect(inner);
  painter.setPen(TextColor());
  // Plain text: drawText never reads markup.
  painter.drawText(inner, static_cast<int>(alignment | Qt::AlignVCenter), text);
}

}  // namespace kvt
