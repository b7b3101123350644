// Scripted drawing with any numbers and bytes: each step takes an operation byte and its
// arguments (8-byte doubles, so NaN, infinities and huge values all come through; 4-byte
// integers; text bytes) and draws into a recording context. No input may crash, overflow or
// loop without end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"

namespace {

class TReader {
public:
  TReader(const uint8_t* data, size_t size) : data(data), size(size) {}
  bool More() const { return pos < size; }
  uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  int32_t Int() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(Byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  double Real() {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t(Byte()) << (8 * i);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::string_view Text() {
    const size_t n = std::min<size_t>(Byte(), size - pos);
    std::string_view t(reinterpret_cast<const char*>(data + pos), n);
    pos += n;
    return t;
  }

private:
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TReader in(data, size);
  kvt::TMusicFontsData fontData;
  kvt::TStaffColorHandles colors;
  kvt::TMusicFonts fonts(fontData, colors, in.Byte());
  kvt::TRecordingContext dc;
  dc.SetKeepOps(false);
  fonts.BeginDrawing(&dc, &dc);
  for (int steps = 0; in.More() && steps < 256; ++steps) {
    switch (in.Byte() % 24) {
      case 0: fonts.MoveTo(in.Real(), in.Real()); break;
      case 1: fonts.LineTo(in.Real(), in.Real()); break;
      case 2: fonts.Ellipse(in.Real(), in.Real()); break;
      case 3: fonts.RectangleFromHere(in.Real(), in.Real()); break;
      case 4: fonts.RoundRect(in.Real(), in.Real(), in.Real()); break;
      case 5: {
        std::vector<double> xy(2 * (in.Byte() % 8));
        for (double& v : xy) v = in.Real();
        fonts.Bezier(xy);
        break;
      }
      case 6: {
        std::vector<double> xy(in.Byte() % 2 ? 6 : 4);
        for (double& v : xy) v = in.Real();
        fonts.Curve(xy);
        break;
      }
      case 7: fonts.BeginPath(); break;
      case 8: fonts.EndPath(in.Byte() & 1, in.Byte() & 1); break;
      case 9: fonts.AbortPath(); break;
      case 10: fonts.CloseFigure(); break;
      case 11: fonts.HintLine(in.Int(), in.Real(), in.Real()); break;
      case 12: {
        kvt::TDrawPenSpec pen;
        pen.SetStyle(in.Int());
        pen.SetWidth(in.Int());
        fonts.SetPenColorIndex(pen, in.Int());
        fonts.ApplyPen(pen);
        break;
      }
      case 13: {
        const int flags = in.Int();
        const int mode = in.Int();
        fonts.DrawTextUtf8(in.Text(), flags, mode);
        break;
      }
      case 14: {
        int w = 0;
        float h = 0, d = 0;
        fonts.CalcTextSize(in.Text(), w, h, d);
        break;
      }
      case 15: {
        kvt::TLogFont font;
        const std::string_view bytes = in.Text();
        std::memset(&font, 0, sizeof font);
        std::memcpy(&font, bytes.data(), std::min(bytes.size(), sizeof font));
        fonts.SetUserFont(font);
        break;
      }
      case 16: {
        const int slot = in.Int();
        fonts.SetUserFontFromSlot(slot, in.Int());
        break;
      }
      case 17: fonts.MoveBy(in.Real(), in.Real()); break;
      case 18: {
        const int size = in.Byte() & 1, glyph = in.Int(), x = in.Int();
        fonts.DrawGlyph(size, glyph, x, in.Int());
        break;
      }
      case 19: {
        const int kind = in.Int(), x = in.Int(), top = in.Int();
        fonts.DrawBarLine(kind, x, top, in.Int());
        break;
      }
      case 20: {
        const int x = in.Int(), from = in.Int(), to = in.Int();
        fonts.DrawLedgerLines(x, from, to, in.Int());
        break;
      }
      case 21: {
        const int width = in.Int(), x = in.Int(), y0 = in.Int(), y1 = in.Int();
        fonts.DrawDashedThickVertical(width, x, y0, y1, in.Int());
        break;
      }
      case 22: {
        const int x = in.Int(), pos = in.Int(), size = in.Int(), head = in.Int(), span = in.Int();
        fonts.DrawStemUp(x, pos, size, head, span, in.Int(), in.Int());
        break;
      }
      default: {
        const int sx = in.Int(), sy = in.Int(), cx = in.Int(), cy = in.Int(), ex = in.Int();
        fonts.DrawSlurCurve(kvt::TQuadCurve(sx, sy, cx, cy, ex, in.Int()), in.Byte() & 1, in.Byte() & 1);
        break;
      }
    }
  }
  int x = 0;
  float position = 0;
  fonts.GetCurrentPoint(x, position);
  fonts.EndDrawing();
  return 0;
}
