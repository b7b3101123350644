#include "tools/gauge.h"

#include <QPainter>
#include <algorithm>

namespace kvt {

TGauge::TGauge(QWidget* parent, int margin) : QProgressBar(parent), margin(margin) {
  setTextVisible(false);
  setRange(0, 100);
  setValue(0);
}

void TGauge::SetRange(int maximum) {
  setRange(0, std::max(maximum, 0));
  setValue(0);
}

void TGauge::SetValue(int value) { setValue(std::clamp(value, minimum(), maximum())); }

void TGauge::SetLed(int spacing, int thicknessPercent) {
  ledSpacing = std::clamp(spacing, 0, 100);
  ledThickness = std::clamp(thicknessPercent, 1, 1000);
  update();
}

void TGauge::paintEvent(QPaintEvent* event) {
  if (!IsLed()) {
    QProgressBar::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  const QRect inner = rect().adjusted(margin, margin, -margin, -margin);
  const int span = maximum() - minimum();
  if (inner.width() <= 0 || span <= 0) return;
  const int filled =
      static_cast<int>(static_cast<long long>(inner.width()) * (value() - minimum()) / span);
  const int block = std::max(1, inner.height() * ledThickness / 100);
  const QColor color = palette().color(QPalette::Highlight);
  for (int x = 0; x < filled; x += block + ledSpacing)
    painter.fillRect(
        QRect(inner.left() + x, inner.top(), std::min(block, filled - x), inner.height()), color);
}

}  // namespace kvt
