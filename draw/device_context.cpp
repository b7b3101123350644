#include "draw/device_context.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "draw/coord_limits.h"
#include "draw/music_font_profile.h"

namespace kvt {
namespace {

// Control distance of a quarter ellipse drawn as one cubic curve.
constexpr double kKappa = 0.5522847498;

bool Strokes(TPathPaint paint) { return paint != TPathPaint::kFill; }
bool Fills(TPathPaint paint) { return paint != TPathPaint::kStroke; }

}  // namespace

void TDcRect::Unite(const TDcRect& other) {
  if (other.IsEmpty()) return;
  if (IsEmpty()) {
    *this = other;
    return;
  }
  left = std::min(left, other.left);
  top = std::min(top, other.top);
  right = std::max(right, other.right);
  bottom = std::max(bottom, other.bottom);
}

void TDcPath::MoveTo(TDcPointF p) { elements.push_back({TKind::kMove, {p, {}, {}}}); }
void TDcPath::LineTo(TDcPointF p) { elements.push_back({TKind::kLine, {p, {}, {}}}); }
void TDcPath::CubicTo(TDcPointF c1, TDcPointF c2, TDcPointF end) {
  elements.push_back({TKind::kCubic, {c1, c2, end}});
}
void TDcPath::Close() {
  if (!elements.empty() && elements.back().kind != TKind::kClose) {
    elements.push_back({TKind::kClose, {}});
  }
}

TDcRect TDcPath::Bounds() const {
  TDcRect r;
  for (const TElement& e : elements) {
    const int n = e.kind == TKind::kCubic ? 3 : e.kind == TKind::kClose ? 0 : 1;
    for (int i = 0; i < n; ++i) {
      const TDcRect pr{static_cast<int>(std::floor(e.p[i].x)), static_cast<int>(std::floor(e.p[i].y)),
                       static_cast<int>(std::ceil(e.p[i].x)), static_cast<int>(std::ceil(e.p[i].y))};
      r.Unite(pr);
    }
  }
  return r;
}

TDeviceContext::~TDeviceContext() = default;

void TDeviceContext::SetTransform(const TDcTransform& t) {
  transform = t;
  // A zero or non-finite scale would collapse or poison every coordinate.
  if (!(std::isfinite(transform.scaleX) && transform.scaleX > 0)) transform.scaleX = 1;
  if (!(std::isfinite(transform.scaleY) && transform.scaleY > 0)) transform.scaleY = 1;
}

void TDeviceContext::SetClip(std::optional<TDcRect> rect) {
  if (!rect) {
    ApplyClip(std::nullopt);
    return;
  }
  const TDcPointF a = ToDevice(rect->left, rect->top);
  const TDcPointF b = ToDevice(rect->right, rect->bottom);
  ApplyClip(TDcRect{static_cast<int>(std::floor(a.x)), static_cast<int>(std::floor(a.y)),
                    static_cast<int>(std::ceil(b.x)), static_cast<int>(std::ceil(b.y))});
}

TDcPointF TDeviceContext::ToDevice(double x, double y) const {
  return {(x - transform.originX) * transform.scaleX, (y - transform.originY) * transform.scaleY};
}

double TDeviceContext::DevicePenWidth() const {
  return pen.width <= 1 ? 0.0 : pen.width * transform.scaleX;
}

void TDeviceContext::MoveTo(int x, int y) {
  current = {x, y};
  if (pathOpen) path.MoveTo(ToDevice(current));
}

void TDeviceContext::LineTo(int x, int y) {
  const TDcPoint from = current;
  current = {x, y};
  if (pathOpen) {
    if (path.IsEmpty() || path.Elements().back().kind == TDcPath::TKind::kClose) path.MoveTo(ToDevice(from));
    path.LineTo(ToDevice(current));
    return;
  }
  if (pen.style == TPenStyle::kNull) return;
  TDcPath line;
  line.MoveTo(ToDevice(from));
  line.LineTo(ToDevice(current));
  PaintPath(line, TPathPaint::kStroke, TFillRule::kAlternate);
}

void TDeviceContext::BezierTo(TDcPoint c1, TDcPoint c2, TDcPoint end) {
  const TDcPoint from = current;
  current = end;
  TDcPath curve;
  TDcPath& target = pathOpen ? path : curve;
  if (!pathOpen || path.IsEmpty() || path.Elements().back().kind == TDcPath::TKind::kClose) {
    target.MoveTo(ToDevice(from));
  }
  target.CubicTo(ToDevice(c1), ToDevice(c2), ToDevice(end));
  if (!pathOpen && pen.style != TPenStyle::kNull) PaintPath(curve, TPathPaint::kStroke, TFillRule::kAlternate);
}

void TDeviceContext::BeginPath() {
  path.Clear();
  pathRule = TFillRule::kAlternate;
  pathOpen = true;
}

void TDeviceContext::CloseFigure() {
  if (pathOpen) path.Close();
}

void TDeviceContext::EndPath(TPathPaint paint) {
  if (!pathOpen) return;
  pathOpen = false;
  const bool stroke = Strokes(paint) && pen.style != TPenStyle::kNull;
  const bool fill = Fills(paint) && !brush.hollow;
  if (!path.IsEmpty() && (stroke || fill)) {
    PaintPath(path, stroke && fill ? TPathPaint::kStrokeAndFill : stroke ? TPathPaint::kStroke : TPathPaint::kFill,
              pathRule);
  }
  path.Clear();
}

void TDeviceContext::AbortPath() {
  pathOpen = false;
  path.Clear();
}

TPathPaint TDeviceContext::ShapePaint() const {
  const bool stroke = pen.style != TPenStyle::kNull;
  return stroke && !brush.hollow ? TPathPaint::kStrokeAndFill : stroke ? TPathPaint::kStroke : TPathPaint::kFill;
}

void TDeviceContext::AppendOrPaint(TDcPath& shape, TPathPaint paint, TFillRule rule) {
  if (pathOpen) {
    for (const TDcPath::TElement& e : shape.Elements()) {
      switch (e.kind) {
        case TDcPath::TKind::kMove: path.MoveTo(e.p[0]); break;
        case TDcPath::TKind::kLine: path.LineTo(e.p[0]); break;
        case TDcPath::TKind::kCubic: path.CubicTo(e.p[0], e.p[1], e.p[2]); break;
        case TDcPath::TKind::kClose: path.Close(); break;
      }
    }
    pathRule = rule;
    return;
  }
  if (pen.style == TPenStyle::kNull && (brush.hollow || paint == TPathPaint::kStroke)) return;
  if (brush.hollow && paint == TPathPaint::kFill) return;
  PaintPath(shape, paint, rule);
}

void TDeviceContext::Polygon(std::span<const TDcPoint> points, TFillRule rule) {
  if (points.size() < 2) return;
  TDcPath shape;
  shape.MoveTo(ToDevice(points[0]));
  for (size_t i = 1; i < points.size(); ++i) shape.LineTo(ToDevice(points[i]));
  shape.Close();
  AppendOrPaint(shape, ShapePaint(), rule);
}

void TDeviceContext::Polyline(std::span<const TDcPoint> points) {
  if (points.size() < 2) return;
  TDcPath shape;
  shape.MoveTo(ToDevice(points[0]));
  for (size_t i = 1; i < points.size(); ++i) shape.LineTo(ToDevice(points[i]));
  AppendOrPaint(shape, TPathPaint::kStroke, TFillRule::kAlternate);
}

void TDeviceContext::PolyBezier(std::span<const TDcPoint> points, bool closed) {
  if (points.size() < 4) return;
  TDcPath shape;
  shape.MoveTo(ToDevice(points[0]));
  for (size_t i = 1; i + 2 < points.size(); i += 3) {
    shape.CubicTo(ToDevice(points[i]), ToDevice(points[i + 1]), ToDevice(points[i + 2]));
  }
  if (closed) shape.Close();
  AppendOrPaint(shape, closed ? ShapePaint() : TPathPaint::kStroke, TFillRule::kAlternate);
}

void TDeviceContext::Rectangle(const TDcRect& r) {
  const TDcPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
  Polygon(corners);
}

void TDeviceContext::Ellipse(const TDcRect& r) {
  const TDcPointF a = ToDevice(r.left, r.top);
  const TDcPointF b = ToDevice(r.right, r.bottom);
  const double cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2;
  const double rx = std::abs(b.x - a.x) / 2, ry = std::abs(b.y - a.y) / 2;
  const double kx = rx * kKappa, ky = ry * kKappa;
  TDcPath shape;
  shape.MoveTo({cx + rx, cy});
  shape.CubicTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
  shape.CubicTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
  shape.CubicTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
  shape.CubicTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
  shape.Close();
  AppendOrPaint(shape, ShapePaint(), TFillRule::kAlternate);
}

void TDeviceContext::RoundRect(const TDcRect& r, int cornerWidth, int cornerHeight) {
  const TDcPointF a = ToDevice(r.left, r.top);
  const TDcPointF b = ToDevice(r.right, r.bottom);
  const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
  const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
  const double rx = std::min(std::abs(cornerWidth) * transform.scaleX / 2, (right - left) / 2);
  const double ry = std::min(std::abs(cornerHeight) * transform.scaleY / 2, (bottom - top) / 2);
  const double kx = rx * kKappa, ky = ry * kKappa;
  TDcPath shape;
  shape.MoveTo({left + rx, top});
  shape.LineTo({right - rx, top});
  shape.CubicTo({right - rx + kx, top}, {right, top + ry - ky}, {right, top + ry});
  shape.LineTo({right, bottom - ry});
  shape.CubicTo({right, bottom - ry + ky}, {right - rx + kx, bottom}, {right - rx, bottom});
  shape.LineTo({left + rx, bottom});
  shape.CubicTo({left + rx - kx, bottom}, {left, bottom - ry + ky}, {left, bottom - ry});
  shape.LineTo({left, top + ry});
  shape.CubicTo({left, top + ry - ky}, {left + rx - kx, top}, {left + rx, top});
  shape.Close();
  AppendOrPaint(shape, ShapePaint(), TFillRule::kAlternate);
}

void TDeviceContext::Pie(const TDcRect& r, double startDegrees, double sweepDegrees) {
  if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return;
  sweepDegrees = std::clamp(sweepDegrees, -360.0, 360.0);
  const TDcPointF a = ToDevice(r.left, r.top);
  const TDcPointF b = ToDevice(r.right, r.bottom);
  const double cx = (a.x + b.x) / 2, cy = (a.y + b.y) / 2;
  const double rx = std::abs(b.x - a.x) / 2, ry = std::abs(b.y - a.y) / 2;
  auto at = [&](double rad) { return TDcPointF{cx + rx * std::cos(rad), cy - ry * std::sin(rad)}; };
  TDcPath shape;
  shape.MoveTo({cx, cy});
  double angle = startDegrees * std::numbers::pi / 180;
  shape.LineTo(at(angle));
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweepDegrees) / 90)));
  const double step = sweepDegrees * std::numbers::pi / 180 / pieces;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    const double a0 = angle, a1 = angle + step;
    const TDcPointF p0 = at(a0), p3 = at(a1);
    const TDcPointF c1{p0.x - k * rx * std::sin(a0), p0.y - k * ry * std::cos(a0)};
    const TDcPointF c2{p3.x + k * rx * std::sin(a1), p3.y + k * ry * std::cos(a1)};
    shape.CubicTo(c1, c2, p3);
    angle = a1;
  }
  shape.Close();
  AppendOrPaint(shape, ShapePaint(), TFillRule::kAlternate);
}

TTextMetrics TDeviceContext::MeasureText(std::u16string_view text) {
  if (!font.music) return MeasureTextFace(font, text);
  // Music text measures from the font's metadata; its line is 5 spaces high, as the
  // table's own face was.
  const double space = font.pixelSize / kMusicEmSpaces;
  double advance = 0;
  for (char16_t ch : text) {
    const TMusicGlyph* glyph = MusicTextGlyph(ch);
    advance += glyph ? glyph->advance : MusicBlankAdvance();
  }
  TTextMetrics m;
  m.width = ClampCoord(std::llround(std::min(advance * space, 1e12)));
  m.height = ClampCoord(std::llround(std::min(5 * space, 1e12)));
  m.ascent = ClampCoord(std::llround(std::min(4 * space, 1e12)));
  m.descent = m.height - m.ascent;
  return m;
}

void TDeviceContext::TextOut(int x, int y, std::u16string_view text) {
  const bool updateCp = (textAlign & kAlignUpdateCp) != 0;
  const TDcPoint ref = updateCp ? current : TDcPoint{x, y};
  const TTextMetrics m = MeasureText(text);
  const int horizontal = textAlign & kAlignCenter;
  const int vertical = textAlign & kAlignBaseline;
  const double dx = horizontal == kAlignRight ? -m.width : horizontal == kAlignCenter ? -m.width / 2.0 : 0;
  const double dy = vertical == kAlignBaseline ? 0 : vertical == kAlignBottom ? -m.descent : m.ascent;
  const double angle = font.orientation / 10.0 * std::numbers::pi / 180;
  // Along the baseline and towards the text's bottom, in logical units (y grows downwards).
  const TDcPointF along{std::cos(angle), -std::sin(angle)};
  const TDcPointF down{std::sin(angle), std::cos(angle)};
  const TDcPointF origin{ref.x + dx * along.x + dy * down.x, ref.y + dx * along.y + dy * down.y};

  if (updateCp) {
    const double move = horizontal == kAlignRight ? -m.width : horizontal == kAlignCenter ? 0 : m.width;
    current = {ClampCoord(std::llround(ref.x + move * along.x)), ClampCoord(std::llround(ref.y + move * along.y))};
  }
  if (text.empty()) return;

  TDcPath box;
  if (!backgroundTransparent) {
    auto corner = [&](double a, double d) {
      return ToDevice(origin.x + a * along.x + d * down.x, origin.y + a * along.y + d * down.y);
    };
    box.MoveTo(corner(0, -m.ascent));
    box.LineTo(corner(m.width, -m.ascent));
    box.LineTo(corner(m.width, m.descent));
    box.LineTo(corner(0, m.descent));
    box.Close();
  }

  if (!font.music) {
    TDcFont deviceFont = font;
    deviceFont.pixelSize = font.pixelSize * transform.scaleY;
    PaintText(ToDevice(origin.x, origin.y), deviceFont, text, box.IsEmpty() ? nullptr : &box);
    return;
  }
  if (!box.IsEmpty()) {
    const TDcPen savedPen = pen;
    const TDcBrush savedBrush = brush;
    pen.style = TPenStyle::kNull;
    brush = {false, backgroundColor};
    PaintPath(box, TPathPaint::kFill, TFillRule::kAlternate);
    pen = savedPen;
    brush = savedBrush;
  }
  // Glyphs follow the baseline; their shapes stay upright.
  const double space = font.pixelSize / kMusicEmSpaces;
  double at = 0;
  for (char16_t ch : text) {
    const TMusicGlyph* glyph = MusicTextGlyph(ch);
    if (glyph == nullptr) {
      at += MusicBlankAdvance() * space;
      continue;
    }
    const double gx = origin.x + at * along.x + glyph->dy * space * down.x;
    const double gy = origin.y + at * along.y + glyph->dy * space * down.y;
    if (glyph->visible()) {
      PaintGlyph(glyph->codePoint, ToDevice(gx, gy), font.pixelSize * glyph->scale * transform.scaleY);
    } else if (glyph->name.empty() && glyph->code != 0) {
      // The anchor mark: an outline in the text colour.
      const TDcPen savedPen = pen;
      const TDcBrush savedBrush = brush;
      pen.style = TPenStyle::kNull;
      brush = {false, textColor};
      TDcPath outline;
      for (int i = 0; i < kAnchorPointCount; ++i) {
        const TDcPointF p = ToDevice(gx + kAnchorOutline[i].x * space, gy + kAnchorOutline[i].y * space);
        if (i == 0) outline.MoveTo(p); else outline.LineTo(p);
      }
      outline.Close();
      PaintPath(outline, TPathPaint::kFill, TFillRule::kWinding);
      pen = savedPen;
      brush = savedBrush;
    }
    at += glyph->advance * space;
  }
}

void TDeviceContext::DrawMusicGlyph(char32_t codePoint, double x, double y, double em) {
  if (codePoint == 0 || !std::isfinite(em) || em <= 0) return;
  PaintGlyph(codePoint, ToDevice(x, y), em * transform.scaleY);
}

}  // namespace kvt
