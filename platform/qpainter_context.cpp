#include "platform/qpainter_context.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>

#include "draw/music_font_profile.h"

namespace kvt {

QColor QColorOf(TColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

namespace {

constexpr size_t kMaxCachedSizes = 32;
constexpr size_t kMaxCachedTexts = 4096;

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
  q.setWeight(
      static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  q.setItalic(font.italic);
  if (font.music)
    q.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
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
    : painter(&borrowed),
      dpiX(std::max(1, dpiX)),
      dpiY(std::max(1, dpiY)),
      outlines(glyphsAsOutlines) {}

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

void TQPainterContext::UsePen(const QPen& pen) {
  if (!penValid || !(pen == currentPen)) {
    currentPen = pen;
    penValid = true;
    painter->setPen(pen);
  }
}

void TQPainterContext::UseBrush(const QBrush& brush) {
  if (!brushValid || !(brush == currentBrush)) {
    currentBrush = brush;
    brushValid = true;
    painter->setBrush(brush);
  }
}

void TQPainterContext::UseTextPen(TColorRef color) {
  // Text takes only its colour from the pen: keep a pen of the right colour as it is.
  const QColor wanted = QColorOf(color);
  if (penValid && currentPen.style() == Qt::SolidLine && currentPen.color() == wanted) return;
  UsePen(QPen(wanted));
}

void TQPainterContext::UseFont(const QFont& font) {
  if (!fontValid || !(font == currentFont)) {
    currentFont = font;
    fontValid = true;
    painter->setFont(font);
  }
}

void TQPainterContext::PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) {
  const QPainterPath q = ToQPath(path, rule);
  const TDcPen& p = Pen();
  // Pen and brush are set only when they change: every change costs a state block in a PDF
  // or SVG file.
  if (paint == TPathPaint::kFill || p.style == TPenStyle::kNull) {
    UsePen(QPen(Qt::NoPen));
  } else {
    QPen pen(QColorOf(p.color));
    pen.setWidthF(DevicePenWidth());
    pen.setCosmetic(DevicePenWidth() == 0);
    pen.setStyle(ToQtStyle(p.style));
    pen.setCapStyle(p.cap == TPenCap::kFlat     ? Qt::FlatCap
                    : p.cap == TPenCap::kSquare ? Qt::SquareCap
                                                : Qt::RoundCap);
    pen.setJoinStyle(p.join == TPenJoin::kMiter   ? Qt::MiterJoin
                     : p.join == TPenJoin::kBevel ? Qt::BevelJoin
                                                  : Qt::RoundJoin);
    UsePen(pen);
  }
  UseBrush(paint == TPathPaint::kStroke ? QBrush(Qt::NoBrush) : QBrush(QColorOf(Brush().color)));
  painter->drawPath(q);
}

void TQPainterContext::PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                                 const TDcPath* opaqueBox) {
  if (opaqueBox) {
    UsePen(QPen(Qt::NoPen));
    UseBrush(QBrush(QColorOf(BackgroundColor())));
    painter->drawPath(ToQPath(*opaqueBox, TFillRule::kAlternate));
  }
  UseFont(QtFont(font));
  UseTextPen(TextColor());
  if (font.orientation == 0) {
    painter->drawText(QPointF(origin.x, origin.y), ToQString(text));
    return;
  }
  painter->save();
  painter->translate(origin.x, origin.y);
  painter->rotate(-font.orientation / 10.0);
  painter->drawText(QPointF(0, 0), ToQString(text));
  painter->restore();
}

void TQPainterContext::PaintGlyph(char32_t codePoint, TDcPointF origin, double em) {
  // A glyph run skips text shaping; the raw font and the glyph index are looked up once.
  auto sized = std::find_if(rawFonts.begin(), rawFonts.end(),
                            [em](const TSizedRawFont& f) { return f.em == em; });
  if (sized == rawFonts.end()) {
    // Sizes are few (normal, cue, grace); a runaway list of them starts over.
    if (rawFonts.size() >= kMaxCachedSizes) rawFonts.clear();
    TDcFont key;
    key.music = true;
    key.pixelSize = em;
    rawFonts.push_back({em, QRawFont::fromFont(QtFont(key))});
    sized = rawFonts.end() - 1;
  }
  const QRawFont& rawFont = sized->font;
  auto known = glyphIndexes.find(codePoint);
  if (known == glyphIndexes.end()) {
    const char32_t cp[1] = {codePoint};
    const QList<quint32> found = rawFont.glyphIndexesForString(QString::fromUcs4(cp, 1));
    known = glyphIndexes.emplace(codePoint, found.isEmpty() ? 0 : found[0]).first;
  }
  const quint32 index = known->second;
  if (index == 0) return;
  if (outlines) {
    UsePen(QPen(Qt::NoPen));
    UseBrush(QBrush(QColorOf(TextColor())));
    painter->drawPath(rawFont.pathForGlyph(index).translated(origin.x, origin.y));
    return;
  }
  if (glyphRun.positions().isEmpty()) glyphRun.setPositions({QPointF(0, 0)});
  glyphRun.setRawFont(rawFont);
  glyphRun.setGlyphIndexes({index});
  UseTextPen(TextColor());
  painter->drawGlyphRun(QPointF(origin.x, origin.y), glyphRun);
}

TTextMetrics TQPainterContext::MeasureTextFace(const TDcFont& font, std::u16string_view text) {
  auto entry = std::find_if(measured.begin(), measured.end(),
                            [&font](const TMeasuredFont& m) { return m.font == font; });
  if (entry == measured.end()) {
    if (measured.size() >= kMaxCachedSizes) measured.clear();
    measured.push_back({font, {}});
    entry = measured.end() - 1;
  }
  std::u16string key(text);
  if (auto hit = entry->texts.find(key); hit != entry->texts.end()) return hit->second;
  const QFontMetricsF metrics(QtFont(font), painter->device());
  TTextMetrics m;
  m.width = static_cast<int>(std::lround(metrics.horizontalAdvance(ToQString(text))));
  m.ascent = static_cast<int>(std::lround(metrics.ascent()));
  m.descent = static_cast<int>(std::lround(metrics.descent()));
  m.height = m.ascent + m.descent;
  // A long document (a PDF of every page) keeps at most this many texts per font.
  if (entry->texts.size() >= kMaxCachedTexts) entry->texts.clear();
  entry->texts.emplace(std::move(key), m);
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
