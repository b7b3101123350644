#include "draw/recording_context.h"

#include <algorithm>
#include <cmath>

#include "draw/coord_limits.h"
#include "draw/music_font_profile.h"

namespace kvt {
namespace {

int Floor(double v) { return static_cast<int>(std::floor(std::clamp(v, -1e9, 1e9))); }
int Ceil(double v) { return static_cast<int>(std::ceil(std::clamp(v, -1e9, 1e9))); }

}  // namespace

TTextMetrics TFixedTextMeasure::Measure(const TDcFont& font, std::u16string_view text) {
  const double em = std::clamp(font.pixelSize, 0.0, 1e6);
  TTextMetrics m;
  m.width = ClampCoord(std::llround(std::min(em / 2 * static_cast<double>(text.size()), 1e12)));
  m.height = ClampCoord(std::llround(em));
  m.ascent = ClampCoord(std::llround(em * 4 / 5));
  m.descent = m.height - m.ascent;
  return m;
}

TRecordingContext::TRecordingContext(int dpiX, int dpiY, TTextMeasure* measure)
    : dpiX(std::max(1, dpiX)), dpiY(std::max(1, dpiY)), measure(measure ? measure : &fixed) {}

void TRecordingContext::Clear() {
  ops.clear();
  extents = TDcRect{};
}

void TRecordingContext::Add(TRecordedOp&& op) {
  TDcRect b = op.bounds;
  if (clip) {
    b = {std::max(b.left, clip->left), std::max(b.top, clip->top), std::min(b.right, clip->right),
         std::min(b.bottom, clip->bottom)};
  }
  extents.Unite(b);
  if (keepOps) ops.push_back(std::move(op));
}

void TRecordingContext::PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) {
  TRecordedOp op;
  op.kind = TRecordedOp::TKind::kPath;
  op.path = path;
  op.paint = paint;
  op.rule = rule;
  op.pen = Pen();
  op.penWidth = DevicePenWidth();
  op.brush = Brush();
  op.bounds = path.Bounds();
  if (paint != TPathPaint::kFill && !op.bounds.IsEmpty()) {
    const int half = static_cast<int>(std::ceil(std::max(op.penWidth, 1.0) / 2));
    op.bounds = {op.bounds.left - half, op.bounds.top - half, op.bounds.right + half, op.bounds.bottom + half};
  }
  Add(std::move(op));
}

void TRecordingContext::PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                                  const TDcPath* opaqueBox) {
  TRecordedOp op;
  op.kind = TRecordedOp::TKind::kText;
  op.origin = origin;
  op.font = font;
  op.text = std::u16string(text);
  op.color = TextColor();
  const TTextMetrics m = measure->Measure(font, text);
  if (opaqueBox) {
    op.bounds = opaqueBox->Bounds();
  } else {
    op.bounds = {Floor(origin.x), Floor(origin.y - m.ascent), Ceil(origin.x + m.width), Ceil(origin.y + m.descent)};
  }
  Add(std::move(op));
}

void TRecordingContext::PaintGlyph(char32_t codePoint, TDcPointF origin, double em) {
  TRecordedOp op;
  op.kind = TRecordedOp::TKind::kGlyph;
  op.origin = origin;
  op.codePoint = codePoint;
  op.em = em;
  op.color = TextColor();
  const double space = em / kMusicEmSpaces;
  const TGlyphBox box = MusicGlyphBoxOf(codePoint);
  op.bounds = {Floor(origin.x + box.swX * space), Floor(origin.y - box.neY * space),
               Ceil(origin.x + box.neX * space), Ceil(origin.y - box.swY * space)};
  Add(std::move(op));
}

TTextMetrics TRecordingContext::MeasureTextFace(const TDcFont& font, std::u16string_view text) {
  return measure->Measure(font, text);
}

}  // namespace kvt
