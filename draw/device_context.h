#pragma once
// TDeviceContext: the one surface notation is drawn on and measured with. The drawing code
// sees only this class; the QPainter backends (window, image, PDF, SVG) live in platform/ and
// the Qt-free recording context (draw/recording_context.h) keeps what was drawn for layout
// and tests.
//
// Contract:
// - Coordinates are logical integers; the window transform maps them to device units
//   (device = (logical - origin) x scale) before a backend sees them.
// - The base class keeps every piece of state (pen, brush, text colour and alignment, font,
//   current point, the open path) so that all backends behave alike; a backend only paints
//   finished paths, text runs and music glyphs, and measures text in its own font system.
// - Shapes are stroked with the pen (unless its style is null) and filled with the brush
//   (unless it is hollow). While a path is open, shapes and lines are appended to it instead
//   and nothing is painted until EndPath.
// - A music font (TDcFont::music) draws its text through the music-font profile
//   (draw/music_font_profile.h): text never falls back to another face.
// - Not thread-safe; one context belongs to one thread at a time.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "draw/color_ref.h"

namespace kvt {

enum class TPenStyle : uint8_t { kSolid, kDash, kDot, kDashDot, kNull };
enum class TPenCap : uint8_t { kRound, kSquare, kFlat };
enum class TPenJoin : uint8_t { kRound, kBevel, kMiter };

// Width 0 or 1 is one device pixel whatever the transform (a cosmetic pen); wider pens scale.
struct TDcPen {
  TPenStyle style = TPenStyle::kSolid;
  int width = 1;
  TColorRef color = 0;
  TPenCap cap = TPenCap::kRound;
  TPenJoin join = TPenJoin::kRound;
  bool operator==(const TDcPen&) const = default;
};

struct TDcBrush {
  bool hollow = true;
  TColorRef color = 0;
  bool operator==(const TDcBrush&) const = default;
};

struct TDcPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TDcPoint&) const = default;
};

struct TDcPointF {
  double x = 0;
  double y = 0;
};

// Edges included; an empty rectangle has right < left or bottom < top.
struct TDcRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool IsEmpty() const { return right < left || bottom < top; }
  // The smallest rectangle holding both (an empty one adds nothing).
  void Unite(const TDcRect& other);
  bool operator==(const TDcRect&) const = default;
};

// A font: a text face by name, or the music font. pixelSize is the em in device pixels
// before the window transform (the music font's em is 4 staff spaces).
struct TDcFont {
  std::string face;
  double pixelSize = 12;
  int weight = 400;
  bool italic = false;
  int orientation = 0;  // tenths of a degree, counter-clockwise
  bool music = false;
  bool operator==(const TDcFont&) const = default;
};

struct TTextMetrics {
  int width = 0;
  int height = 0;
  int ascent = 0;
  int descent = 0;
};

// Text alignment flags, combined: horizontal (left, right, centre), vertical (top, bottom,
// baseline) and update-current-point.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignUpdateCp = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignCenter = 6;
inline constexpr int kAlignTop = 0;
inline constexpr int kAlignBottom = 8;
inline constexpr int kAlignBaseline = 24;

enum class TFillRule : uint8_t { kAlternate, kWinding };
enum class TPathPaint : uint8_t { kStroke, kFill, kStrokeAndFill };

// A path in device units: figures of lines and cubic curves.
class TDcPath {
public:
  enum class TKind : uint8_t { kMove, kLine, kCubic, kClose };
  struct TElement {
    TKind kind;
    TDcPointF p[3];  // kMove/kLine: p[0]; kCubic: two controls and the end
  };

  void MoveTo(TDcPointF p);
  void LineTo(TDcPointF p);
  void CubicTo(TDcPointF c1, TDcPointF c2, TDcPointF end);
  void Close();
  bool IsEmpty() const { return elements.empty(); }
  void Clear() { elements.clear(); }
  const std::vector<TElement>& Elements() const { return elements; }
  // Bounds of every point, controls included; empty for an empty path.
  TDcRect Bounds() const;

private:
  std::vector<TElement> elements;
};

struct TDcTransform {
  int originX = 0;
  int originY = 0;
  double scaleX = 1;
  double scaleY = 1;
};

class TDeviceContext {
public:
  virtual ~TDeviceContext();

  // Resolution in dots per inch (at least 1).
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;

  void SetPen(const TDcPen& pen) { this->pen = pen; }
  const TDcPen& Pen() const { return pen; }
  void SetBrush(const TDcBrush& brush) { this->brush = brush; }
  const TDcBrush& Brush() const { return brush; }
  void SetTextColor(TColorRef color) { textColor = color; }
  TColorRef TextColor() const { return textColor; }
  void SetBackgroundColor(TColorRef color) { backgroundColor = color; }
  TColorRef BackgroundColor() const { return backgroundColor; }
  // Opaque text paints its box in the background colour first.
  void SetBackgroundTransparent(bool transparent) { backgroundTransparent = transparent; }
  bool BackgroundTransparent() const { return backgroundTransparent; }
  void SetTextAlign(int flags) { textAlign = flags; }
  int TextAlign() const { return textAlign; }
  void SetFont(const TDcFont& font) { this->font = font; }
  const TDcFont& Font() const { return font; }

  void SetTransform(const TDcTransform& transform);
  const TDcTransform& Transform() const { return transform; }
  // Clip to a logical rectangle; nullopt removes the clip.
  void SetClip(std::optional<TDcRect> rect);

  // Current point, in logical units.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // A cubic curve from the current point; the end becomes the current point.
  void BezierTo(TDcPoint c1, TDcPoint c2, TDcPoint end);
  TDcPoint CurrentPoint() const { return current; }

  void BeginPath();
  void CloseFigure();
  // Paints the open path (fill rule of the last Polygon call, alternate otherwise) and
  // closes it; nothing without an open path.
  void EndPath(TPathPaint paint);
  void AbortPath();
  bool IsPathOpen() const { return pathOpen; }

  void Polygon(std::span<const TDcPoint> points, TFillRule rule = TFillRule::kAlternate);
  void Polyline(std::span<const TDcPoint> points);
  // First point, then three points per curve; a closed figure when `closed`.
  void PolyBezier(std::span<const TDcPoint> points, bool closed);
  void Rectangle(const TDcRect& rect);
  void Ellipse(const TDcRect& rect);
  void RoundRect(const TDcRect& rect, int cornerWidth, int cornerHeight);
  // The sector of the ellipse in rect from startDegrees (counter-clockwise from 3 o'clock)
  // sweeping sweepDegrees counter-clockwise.
  void Pie(const TDcRect& rect, double startDegrees, double sweepDegrees);

  // Width, height, ascent and descent of the text in the current font (logical units).
  TTextMetrics MeasureText(std::u16string_view text);
  // Writes the text at (x, y), or at the current point with kAlignUpdateCp, which then moves
  // along the text's baseline by its width (left alignment) or back (right alignment).
  void TextOut(int x, int y, std::u16string_view text);
  // One music glyph with its SMuFL origin at (x, y); em in logical pixels.
  void DrawMusicGlyph(char32_t codePoint, double x, double y, double em);

protected:
  // The finished outline of a shape, in device units.
  virtual void PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) = 0;
  // A text run whose baseline starts at origin (device units) in the font as given, already
  // scaled to device pixels; the box (device units) is painted first for opaque text.
  virtual void PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                         const TDcPath* opaqueBox) = 0;
  virtual void PaintGlyph(char32_t codePoint, TDcPointF origin, double em) = 0;
  // Text measures in logical pixels for a text (never music) font.
  virtual TTextMetrics MeasureTextFace(const TDcFont& font, std::u16string_view text) = 0;
  virtual void ApplyClip(std::optional<TDcRect> deviceRect) = 0;

  TDcPointF ToDevice(double x, double y) const;
  TDcPointF ToDevice(TDcPoint p) const { return ToDevice(p.x, p.y); }
  // The pen width in device units (0 for a cosmetic pen).
  double DevicePenWidth() const;

private:
  TPathPaint ShapePaint() const;
  // Appends the shape to the open path, or paints it when the pen or brush shows it.
  void AppendOrPaint(TDcPath& shape, TPathPaint paint, TFillRule rule);

  TDcPen pen;
  TDcBrush brush;
  TColorRef textColor = 0;
  TColorRef backgroundColor = 0xFFFFFF;
  bool backgroundTransparent = true;
  int textAlign = 0;
  TDcFont font;
  TDcTransform transform;
  TDcPoint current;
  bool pathOpen = false;
  TFillRule pathRule = TFillRule::kAlternate;
  TDcPath path;
};

}  // namespace kvt
