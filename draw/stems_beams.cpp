// TMusicFonts: stems with their flags, beams, the system separator, tuplet marks and hairpins.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/mul_div.h"
#include "draw/coord_limits.h"
#include "draw/music_fonts.h"

namespace kvt {
namespace {

constexpr int kMaxFlags = 4;
constexpr int kMaxBeams = 16;
// Explicit stem lengths and spans come from scores: bounded far beyond any staff.
constexpr int kMaxSteps = 1000;

}  // namespace

int TMusicFonts::GetStemEndY(int direction, int position, int sizeIndex, int flags, int explicitLength) const {
  const int64_t s = space;
  const int a = direction < 0 ? -1 : 1;
  const int64_t p = std::clamp(position, -kMaxSteps, kMaxSteps);
  const int64_t n = std::clamp(flags, 0, kMaxFlags);
  const int64_t e = std::clamp(explicitLength, -kMaxSteps, kMaxSteps);
  int64_t h;
  if (n == 0) {
    h = s / 2;
  } else if (a < 0) {
    h = (n - 1) * s * 3 / 5 + 2 * s;
  } else {
    h = 2 * s + (n - 1) * s / 4 + (n > 2 ? (n - 2) * s / 5 : 0);
  }
  int64_t l;
  if (e != 0) {
    l = e * s / 2;
  } else {
    const int m = p < 0 ? -1 : 1;
    if (n == 0) {
      l = 7 * s / 2;
      if (p != 0 && m == -a) l -= std::min<int64_t>(std::llabs(p), 9) * s / 9;
    } else {
      l = h + 3 * s / 2;
    }
    if (a == m && sizeIndex != 1) l = std::max(l, a * p * s / 2);
  }
  l = std::max(l, h);
  if (sizeIndex == 1) l = l * 2 / 3;
  return static_cast<int>(PositionToYInt(static_cast<int>(p)) - a * l);
}

int TMusicFonts::GetStemAttachOffset(int sizeIndex, int headGlyph, int direction) const {
  const int b = direction < 0 ? -1 : 1;
  int num = 0, den = 1;
  switch (headGlyph) {
    case 6: case 7: if (b > 0) { num = 2; den = 13; } break;
    case 54: num = 1; den = 2; break;
    case 57: case 58: num = -b; den = 2; break;
    case 63: case 64: case 65: case 66: case 69: case 70: num = -1; den = 2; break;
    case 71: case 72: num = b; den = 4; break;
    default: break;
  }
  if (num == 0) return 0;
  if (sizeIndex == 1) {
    num *= 2;
    den *= 3;
  }
  return MulDiv(num, space - stemPenWidth, den);
}

void TMusicFonts::DrawStemUp(int x, int position, int sizeIndex, int headGlyph, int span, int flags,
                             int explicitLength) {
  RequireDrawing();
  span = std::clamp(span, -kMaxSteps, kMaxSteps);
  x = ClampCoord(x);
  position = ClampCoord(position);
  const int stemX = x + GetScaledGlyphWidth(sizeIndex, headGlyph);
  const int start = PositionToYInt(position) - GetStemAttachOffset(sizeIndex, headGlyph, +1);
  const int end = GetStemEndY(+1, position - span, sizeIndex, flags, explicitLength);
  DrawStemStroke(stemX, start, end, +1);
  if (flags > 0) DrawGlyph(sizeIndex, 14 + std::min(flags, kMaxFlags), stemX, end);
}

void TMusicFonts::DrawStemDown(int x, int position, int sizeIndex, int headGlyph, int span, int flags,
                               int explicitLength) {
  RequireDrawing();
  span = std::clamp(span, -kMaxSteps, kMaxSteps);
  x = ClampCoord(x);
  position = ClampCoord(position);
  const int start = PositionToYInt(position) + GetStemAttachOffset(sizeIndex, headGlyph, -1);
  const int end = GetStemEndY(-1, position + span, sizeIndex, flags, explicitLength);
  DrawStemStroke(x, start, end, -1);
  if (flags > 0) DrawGlyph(sizeIndex, 10 + std::min(flags, kMaxFlags), x, end);
}

void TMusicFonts::DrawStemStroke(int x, int startY, int endY, int direction) {
  RequireDrawing();
  x = ClampCoord(x);
  startY = ClampCoord(startY);
  endY = ClampCoord(endY);
  const int half = stemPenWidth / 2;
  // The stem's outer edge meets the head's edge.
  if (half != 0) x += direction > 0 ? 1 - half : half;
  SelectTempPen(stemPenWidth, TPenStyle::kSolid, TPenCap::kFlat, TPenJoin::kMiter);
  drawDC->MoveTo(x, startY);
  drawDC->LineTo(x, endY);
  SelectColorPen();
}

void TMusicFonts::DrawBeams(int x0, int y0, int x1, int y1, int sign, bool small, int count) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  y0 = ClampCoord(y0);
  x1 = ClampCoord(x1);
  y1 = ClampCoord(y1);
  sign = sign < 0 ? -1 : 1;
  count = std::clamp(count, 0, kMaxBeams);
  const int k = small ? std::max(space / 4, 1) : space / 2;
  const int pitch = small ? space / 2 : space;
  const int g = -sign * stemThickness / 2;
  SelectColorBrush();
  for (int i = 0; i < count; ++i) {
    const int o = g + i * pitch * sign;
    const TDcPoint corners[4] = {{x0, y0 + o}, {x0, y0 + o + k * sign}, {x1, y1 + o + k * sign}, {x1, y1 + o}};
    drawDC->Polygon(corners);
  }
  SelectHollowBrush();
}

void TMusicFonts::DrawSystemSeparator(int x, int y) {
  RequireDrawing();
  x = ClampCoord(x);
  y = ClampCoord(y);
  const int w = widths[7];
  const int first = y - space / 3;
  for (const int yy : {first, first + 3 * space / 4}) {
    DrawBeams(x - w / 2, yy, x + w, yy - 2 * space / 3, +1, false, 1);
  }
}

void TMusicFonts::DrawTupletMark(int direction, int sizeIndex, int x0, int y0, int x1, int y1, bool bracket) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  y0 = ClampCoord(y0);
  x1 = ClampCoord(x1);
  y1 = ClampCoord(y1);
  const int a = direction < 0 ? -1 : 1;
  const int w = GetScaledGlyphWidth(sizeIndex, 81);
  const int midX = static_cast<int>((int64_t(x0) + x1) / 2);
  const int midY = static_cast<int>((int64_t(y0) + y1) / 2);
  const int left = midX - w / 2;
  DrawGlyph(sizeIndex, 81, left, midY);
  if (!bracket) return;
  auto yAt = [&](int x) {
    if (x1 == x0) return y0;
    return static_cast<int>(y0 + (int64_t(y1) - y0) * (int64_t(x) - x0) / (int64_t(x1) - x0));
  };
  const int leftEnd = left - space / 4;
  const int rightStart = left + w + space / 2;
  if (leftEnd > x0) DrawLine(x0, y0, leftEnd, yAt(leftEnd));
  if (rightStart < x1) DrawLine(rightStart, yAt(rightStart), x1, y1);
  DrawLine(x0, y0, x0, y0 + a * space / 2);
  DrawLine(x1, y1, x1, y1 + a * space / 2);
}

void TMusicFonts::DrawHairpinLines(int kind, int x0, int x1, float position, bool openTip) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  x1 = ClampCoord(x1);
  const int y = PositionToY(position);
  const int e = int64_t(x1) - x0 > int64_t(40) * space ? 3 * space / 4 : 2 * space / 3;
  const int gap = openTip ? e / 6 : 0;
  const int open = kind == 2 ? x0 : x1;
  const int tip = kind == 2 ? x1 : x0;
  SelectTempPen(space / 8 + 1);
  drawDC->MoveTo(tip, y - gap);
  drawDC->LineTo(open, y - e);
  drawDC->MoveTo(tip, y + gap);
  drawDC->LineTo(open, y + e);
  SelectColorPen();
}

}  // namespace kvt
