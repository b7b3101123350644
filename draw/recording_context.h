#pragma once
// TRecordingContext: a device context that keeps what was drawn, with each operation's extent
// and the extent of everything, and paints nothing. Layout measures through it and tests read
// it back. Qt-free: text measures come from an injected TTextMeasure (fixed advances in tests,
// the window system's faces in the program); music glyphs measure from the music font's
// metadata.

#include <memory>
#include <string>
#include <vector>

#include "draw/device_context.h"

namespace kvt {

// Measures text of a text face (never the music font). Implementations must be usable from
// the thread that owns the context.
class TTextMeasure {
public:
  virtual ~TTextMeasure() = default;
  // Measures in the font's own pixels.
  virtual TTextMetrics Measure(const TDcFont& font, std::u16string_view text) = 0;
};

// Every UTF-16 unit advances half the em; a line is one em high with four fifths above the
// baseline. Stateless.
class TFixedTextMeasure final : public TTextMeasure {
public:
  TTextMetrics Measure(const TDcFont& font, std::u16string_view text) override;
};

struct TRecordedOp {
  enum class TKind : uint8_t { kPath, kText, kGlyph };
  TKind kind = TKind::kPath;
  // kPath: the outline and how it was painted, with the pen and brush in effect.
  TDcPath path;
  TPathPaint paint = TPathPaint::kStroke;
  TFillRule rule = TFillRule::kAlternate;
  TDcPen pen;
  double penWidth = 0;  // device units; 0 for a one-pixel pen
  TDcBrush brush;
  // kText and kGlyph: baseline origin (device units); text colour.
  TDcPointF origin;
  TColorRef color = 0;
  std::u16string text;
  TDcFont font;  // kText, in device pixels
  char32_t codePoint = 0;
  double em = 0;  // kGlyph, device pixels
  // Device units; for a glyph its metadata box, for text its measured box.
  TDcRect bounds;
};

class TRecordingContext final : public TDeviceContext {
public:
  // measure: not owned, must outlive the context; null uses a TFixedTextMeasure.
  explicit TRecordingContext(int dpiX = 96, int dpiY = 96, TTextMeasure* measure = nullptr);

  int DpiX() const override { return dpiX; }
  int DpiY() const override { return dpiY; }

  const std::vector<TRecordedOp>& Ops() const { return ops; }
  // The union of every operation's bounds (empty when nothing was drawn), clipped.
  const TDcRect& Extents() const { return extents; }
  void Clear();
  // Keep only the extents, not the operations (layout measuring).
  void SetKeepOps(bool keep) { keepOps = keep; }

protected:
  void PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) override;
  void PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                 const TDcPath* opaqueBox) override;
  void PaintGlyph(char32_t codePoint, TDcPointF origin, double em) override;
  TTextMetrics MeasureTextFace(const TDcFont& font, std::u16string_view text) override;
  void ApplyClip(std::optional<TDcRect> deviceRect) override { clip = deviceRect; }

private:
  void Add(TRecordedOp&& op);

  int dpiX;
  int dpiY;
  TFixedTextMeasure fixed;
  TTextMeasure* measure;
  std::vector<TRecordedOp> ops;
  TDcRect extents;
  std::optional<TDcRect> clip;
  bool keepOps = true;
};

}  // namespace kvt
