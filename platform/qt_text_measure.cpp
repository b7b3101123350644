#include "platform/qt_text_measure.h"

#include <QFontMetricsF>
#include <QString>
#include <cmath>

#include "platform/qpainter_context.h"

namespace kvt {

TTextMetrics TQtTextMeasure::Measure(const TDcFont& font, std::u16string_view text) {
  const QFontMetricsF metrics(ToQFont(font));
  TTextMetrics m;
  m.width = static_cast<int>(std::lround(
      metrics.horizontalAdvance(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())))));
  m.ascent = static_cast<int>(std::lround(metrics.ascent()));
  m.descent = static_cast<int>(std::lround(metrics.descent()));
  m.height = m.ascent + m.descent;
  return m;
}

std::unique_ptr<TDeviceContext> TQtScreenContextFactory::CreateScreenContext() {
  return std::make_unique<TRecordingContext>(96, 96, &measure);
}

}  // namespace kvt
