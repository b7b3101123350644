// TMusicFonts: bar lines with their repeat dots, the multi-bar rest bar and bar numbers.
#include <algorithm>
#include <cstdio>
#include <string>

#include "draw/coord_limits.h"
#include "draw/music_fonts.h"

namespace kvt {

int TMusicFonts::GetBarLineWidth(int kind) {
  RequireSizing();
  const int t = stemThickness;
  const int w = widths[7];
  const int e = w / 5 + 1;
  const int r = widths[30];
  switch (kind) {
    case 0: case 2: return t;
    case 1: case 3: return 2 * t + e;
    case 4: case 5: return e + 2 * w / 3 + t;
    case 6: case 7: return r + 2 * (e + t);
    case 8: case 9: return r + 2 * w / 3 + 2 * e + t;
    case 10: return 1;
    case 12: return r + e;
    case 13: return 2 * w;
    default: return 0;
  }
}

int TMusicFonts::GetRepeatDotOffset() const { return widths[30] + widths[7] / 5 + 1; }

void TMusicFonts::RepeatDots(int x) { DrawGlyph(0, 30, x, PositionToYInt(0)); }

void TMusicFonts::DrawBarLine(int kind, int x, int topPosition, int bottomPosition) {
  RequireDrawing();
  x = ClampCoord(x);
  topPosition = ClampCoord(topPosition);
  bottomPosition = ClampCoord(bottomPosition);
  // A one-line staff still gets a bar of a usual height.
  if (topPosition == -1 && bottomPosition == 1) {
    topPosition = -2;
    bottomPosition = 2;
  }
  const int y0 = PositionToYInt(topPosition);
  const int y1 = PositionToYInt(bottomPosition);
  const int t = stemThickness;
  const int f = t * 7 / 5;
  const int w = widths[7];
  const int g = 2 * w / 3;
  const int e = w / 5 + 1;
  const int r = widths[30];
  auto thin = [&](int at) { DrawThickVertical(f, at, y0, y1); };
  auto thick = [&](int at) { DrawThickVertical(g, at, y0, y1); };
  auto dashed = [&](int at) { DrawDashedThickVertical(f, at, y0, y1, space); };
  switch (kind) {
    case 0: thin(x); break;
    case 1: thin(x); thin(x + t + e); break;
    case 2: dashed(x); break;
    case 3: dashed(x); dashed(x + t + e); break;
    case 4: thick(x); thin(x + g + e); break;
    case 5: thin(x); thick(x + t + e); break;
    case 6: thin(x); thin(x + t + e); RepeatDots(x + 2 * f + 2 * e); break;
    case 7: RepeatDots(x); thin(x + r + e); thin(x + r + e + t + e); break;
    case 8: thick(x); thin(x + g + e); RepeatDots(x + 2 * e + g + f); break;
    case 9: RepeatDots(x); thin(x + r + e); thick(x + r + e + t + e); break;
    case 12: RepeatDots(x + e); break;
    case 13:
      DrawLine(x, PositionToYInt(1), x + 2 * g, PositionToYInt(-2));
      DrawLine(x, PositionToYInt(2), x + 2 * g, PositionToYInt(-1));
      thin(x + g);
      break;
    default: break;  // 10 transparent, and kinds no bar has
  }
}

void TMusicFonts::DrawMultiBarRest(int left, int right, std::u16string_view number, float textPosition,
                                   bool centred) {
  RequireDrawing();
  left = ClampCoord(left);
  right = ClampCoord(right);
  const int mid = PositionToYInt(0);
  SelectColorBrush();
  drawDC->Rectangle(TDcRect{left, mid - space / 4, right, mid + space / 4});
  SelectHollowBrush();
  const int f = stemThickness * 7 / 5;
  DrawThickVertical(f, left, PositionToYInt(-2), PositionToYInt(2));
  DrawThickVertical(f, right - 1, PositionToYInt(-2), PositionToYInt(2));
  if (number.empty()) return;
  drawDC->SetFont(GetFontSlot(0));
  const int width = drawDC->MeasureText(number).width;
  const int centre = static_cast<int>((int64_t(left) + right) / 2);
  const int textLeft = centred ? centre - width / 2 : std::min(centre - width / 2, left + widths[7]);
  drawDC->SetTextAlign(kAlignLeft | kAlignBaseline);
  drawDC->TextOut(textLeft, PositionToY(textPosition), number);
}

void TMusicFonts::DrawBarNumber(int x, float position, int kind, int number) {
  RequireDrawing();
  x = ClampCoord(x);
  char text[24];
  std::snprintf(text, sizeof text, kind == 1 ? "%d" : " %d ", number);
  const std::u16string wide(text, text + std::char_traits<char>::length(text));
  const TTextMetrics m = GetTextSizeW(3, wide);
  DrawTextW(3, 0, x - m.width / 2, position, wide);
  if (kind != 2 && kind != 3) return;
  const int y = PositionToY(position);
  SelectTempPen(staffLineThickness);
  if (kind == 2) {
    drawDC->Ellipse(TDcRect{x - m.width / 2, y - m.width / 2, x + m.width / 2, y + m.width / 2});
  } else {
    const int half = space / 3 + m.height / 2;
    drawDC->Rectangle(TDcRect{x - m.width / 2, y - half, x + m.width / 2, y + half});
  }
  SelectColorPen();
}

}  // namespace kvt
