#pragma once
// TQPainterContext: the device context on a QPainter, for windows, QImage, PDF (QPdfWriter or
// QPrinter) and SVG (QSvgGenerator). Music glyphs are drawn in the loaded music font (see
// music_font_loader.h) with font merging off, so no other face ever stands in; with
// glyphsAsOutlines they are filled outlines instead of text, so a picture never needs the
// font.
//
// Ownership: the device constructor begins and owns a painter on the device, which must
// outlive the context; the painter constructor borrows an active painter (a widget's paint
// event). Needs a QGuiApplication.

#include <QBrush>
#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "draw/device_context.h"

class QPaintDevice;

namespace kvt {

// The Qt colour of a drawing colour.
QColor QColorOf(TColorRef c);

class TQPainterContext final : public TDeviceContext {
public:
  TQPainterContext(QPaintDevice& device, bool glyphsAsOutlines = false);
  TQPainterContext(QPainter& painter, int dpiX, int dpiY, bool glyphsAsOutlines = false);
  ~TQPainterContext() override;

  int DpiX() const override { return dpiX; }
  int DpiY() const override { return dpiY; }
  QPainter& Painter() { return *painter; }
  // Ends an owned painter (flushes a PDF or SVG file); false when the device failed.
  bool Finish();

protected:
  void PaintPath(const TDcPath& path, TPathPaint paint, TFillRule rule) override;
  void PaintText(TDcPointF origin, const TDcFont& font, std::u16string_view text,
                 const TDcPath* opaqueBox) override;
  void PaintGlyph(char32_t codePoint, TDcPointF origin, double em) override;
  TTextMetrics MeasureTextFace(const TDcFont& font, std::u16string_view text) override;
  void ApplyClip(std::optional<TDcRect> deviceRect) override;

private:
  const QFont& QtFont(const TDcFont& font);
  void UsePen(const QPen& pen);
  void UseBrush(const QBrush& brush);
  void UseTextPen(TColorRef color);
  void UseFont(const QFont& font);

  std::unique_ptr<QPainter> owned;
  QPainter* painter;
  int dpiX;
  int dpiY;
  bool outlines;
  TDcFont cachedKey;
  QFont cachedFont;
  bool cacheValid = false;
  // What the painter holds, so that unchanged state is not set again.
  QPen currentPen;
  QBrush currentBrush;
  QFont currentFont;
  bool penValid = false;
  bool brushValid = false;
  bool fontValid = false;
  // Measured text per font: a screen repeats the same few texts (lyric syllables, numbers)
  // and shaping each again costs more than drawing it. The device, and so its resolution,
  // stays the same for the context's life.
  struct TMeasuredFont {
    TDcFont font;
    std::unordered_map<std::u16string, TTextMetrics> texts;
  };
  std::vector<TMeasuredFont> measured;
  // Music glyphs: one raw font per em size, and the glyph index per code point (every size is
  // the same face, so one table serves them all).
  struct TSizedRawFont {
    double em;
    QRawFont font;
  };
  std::vector<TSizedRawFont> rawFonts;
  std::unordered_map<char32_t, quint32> glyphIndexes;
  QGlyphRun glyphRun;
};

// A QFont for a device-context font: pixel size, weight, italic; the music font with merging
// off.
QFont ToQFont(const TDcFont& font);

}  // namespace kvt
