#include "platform/qpainter_context.h"

#include <QPaintDevice>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>

#include "draw/music_font_profile.h"

namespace kvt {
namespace {

QColor ToQColor(TColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QPainterPath ToQPath(const TDcPath& path, TFillRule rule) {
  QPainterPath out;
  out.setFillRule(rule == TFillRule::kWinding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const TDcPath::TElement& e : path.Elements()) {
    switch (e.kind) {
      case TDcPath::TKind::kMove: out.moveTo(e.p[0].x, e.p[0].y); break;
      case TDcPath::TKind::kLine: out.lineTo(e.p[0].x, e.p[0].y); break;
      case TDcPath::TKind::kCubic:
        out.cubicTo(e.p[0].x, e.p[0].y, e.p[1].x, e.p[1].y, e.p[2].x, e.p[2].y);
        break;
      case TDcPath::TKind::kClose: out.closeSubpath(); break;
    }
  }
  return out;
}

Qt::PenStyle ToQtStyle(TPenStyle s) {
  switch (s) {
    case TPenStyle::kSolid: return Qt::SolidLine;
    case TPenStyle::kDash: return Qt::DashLine;
    case TPenStyle::kDot: return Qt::DotLine;
    case TPenStyle::kDashDot: return Qt::DashDotLine;
    case TPenStyle::kNull: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QFont ToQFont(const TDcFont& font) {
  QFont q(QString::fromStdString(font.music ? std::string(kMusicFontFamily) : font.face));
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(std::clamp(font.pixelSize, 1.0, 1e6)))));
  q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  q.setItalic(font.italic);
  if (font.music) q.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
  return q;
}

TQPainterContext::TQPainterContext(QPaintDevice& device, bool glyphsAsOutlines)
    : owned(std::make_unique<QPainter>(&device)),
      painter(owned.get()),
      dpiX(std::max(1, device.logicalDpiX())),
      dpiY(std::max(1, device.logicalDpiY())),
      outlines(glyphsAsOutlines) {
  painter->setRenderHint(QPainter::Antialiasing, true);
  painter->setRenderHint(QPainter::TextAntialiasing, true);
}

TQPainterContext::TQPainterContext(QPainter& borrowed, int dpiX, int dpiY, bool glyphsAsOutlines)
    : painter(&borrowed), dpiX(std::max(1, dpiX)), dpiY(std::max(1, dpiY)), outlines(glyphsAsOutlines) {}

TQPainterContext::~TQPainterContext() { Finish(); }

bool TQPainterContext::Finish() {
  if (!owned || !owned->isActive()) return true;
  return owned->end();
}

const QFont& TQPainterContext::QtFont(const TDcFont& font) {
  if (!cacheValid || !(cachedKey == font)) {
    cachedKey = font;
    cachedFont = ToQFont(font);
    cacheValid = true;
  }
  return cachedFont;
}

void TQPainterContext::PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) {
  const QPainterPath q = ToQPath(path, rule);
  const TDcPen& p = Pen();
  if (paint != TPathPaint::kStroke) painter->fillPath(q, ToQColor(Brush().color));
  if (paint != TPathPaint::kFill && p.style != TPenStyle::kNull) {
    QPen pen(ToQColor(p.color));
    pen.setWidthF(DevicePenWidth());
    pen.setCosmetic(DevicePenWidth() == 0);
    pen.setStyle(ToQtStyle(p.style));
    pen.setCapStyle(p.cap == TPenCap::kFlat ? Qt::FlatCap : p.cap == TPenCap::kSquare ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(p.join == TPenJoin::kMiter ? Qt::MiterJoin : p.join == TPenJoin::kBevel ? Qt::BevelJoin : Qt::RoundJoin);
    painter->strokePath(q, pen);
  }
}

void TQPainterContext::PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                                 const TDcPath* opaqueBox) {
  if (opaqueBox) painter->fillPath(ToQPath(*opaqueBox, TFillRule::kAlternate), ToQColor(BackgroundColor()));
  painter->save();
  painter->setFont(QtFont(font));
  painter->setPen(ToQColor(TextColor()));
  painter->translate(origin.x, origin.y);
  if (font.orientation != 0) painter->rotate(-font.orientation / 10.0);
  painter->drawText(QPointF(0, 0), ToQString(text));
  painter->restore();
}

void TQPainterContext::PaintGlyph(char32_t codePoint, TDcPointF origin, double em) {
  TDcFont key;
  key.music = true;
  key.pixelSize = em;
  const QFont& font = QtFont(key);
  const char32_t cp[1] = {codePoint};
  const QString text = QString::fromUcs4(cp, 1);
  if (outlines) {
    QPainterPath outline;
    outline.addText(QPointF(origin.x, origin.y), font, text);
    painter->fillPath(outline, ToQColor(TextColor()));
    return;
  }
  painter->setFont(font);
  painter->setPen(ToQColor(TextColor()));
  painter->drawText(QPointF(origin.x, origin.y), text);
}

TTextMetrics TQPainterContext::MeasureTextFace(const TDcFont& font, std::u16string_view text) {
  const QFontMetricsF metrics(QtFont(font), painter->device());
  TTextMetrics m;
  m.width = static_cast<int>(std::lround(metrics.horizontalAdvance(ToQString(text))));
  m.ascent = static_cast<int>(std::lround(metrics.ascent()));
  m.descent = static_cast<int>(std::lround(metrics.descent()));
  m.height = m.ascent + m.descent;
  return m;
}

void TQPainterContext::ApplyClip(std::optional<TDcRect> r) {
  if (!r) {
    painter->setClipping(false);
    return;
  }
  painter->setClipRect(QRect(r->left, r->top, r->right - r->left + 1, r->bottom - r->top + 1));
}

}  // namespace kvt
