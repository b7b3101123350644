// TMusicFonts: slurs, ties, braces and brackets: filled outlines of Bezier curves.
#include <algorithm>
#include <cstdlib>

#include "draw/coord_limits.h"
#include "draw/music_fonts.h"

namespace kvt {

void TMusicFonts::DrawBezierFigure(std::span<const TDcPoint> points) {
  SelectColorBrush();
  drawDC->PolyBezier(points, true);
  SelectHollowBrush();
}

void TMusicFonts::DrawSlurCurve(const TQuadCurve& curve, bool downward, bool small) {
  RequireDrawing();
  int c = 5 * space / 16;
  if (small) c = c * 2 / 3;
  c = std::max(c, 1) * (downward ? 1 : -1);
  TQuadCurve inner = curve;
  inner.cy = static_cast<int>(std::clamp<int64_t>(int64_t(curve.cy) + c, INT32_MIN, INT32_MAX));
  TDcPoint outer[4], second[4];
  curve.ToCubicBezier(outer);
  inner.ToCubicBezier(second);
  const TDcPoint figure[7] = {outer[0], outer[1], outer[2], outer[3], second[2], second[1], second[0]};
  SelectTempPen(space / 24 + 1);
  DrawBezierFigure(figure);
  SelectColorPen();
}

void TMusicFonts::DrawTie(int position, bool below, int xa, int xb) {
  RequireDrawing();
  xa = ClampCoord(xa);
  xb = ClampCoord(xb);
  position = ClampCoord(position);
  const int x0 = std::min(xa, xb), x1 = std::max(xa, xb);
  const int d = below ? 1 : -1;
  const int y = PositionToYInt(position) + d * space / 4;
  const int64_t length = int64_t(x1) - x0;
  const int head = std::max(widths[7], 1);
  const int g = length / head <= 10 ? 4 * space / 5 : space;
  const int back = g + space / 6 + 1;
  auto at = [&](int64_t num) { return static_cast<int>(x0 + length * num / 4); };
  const TDcPoint figure[13] = {
      {x0, y}, {x0, y + d * g / 2}, {at(1), y + d * g}, {at(2), y + d * g},
      {at(3), y + d * g}, {x1, y + d * g / 2}, {x1, y},
      {x1, y + d * back / 2}, {at(3), y + d * back}, {at(2), y + d * back},
      {at(1), y + d * back}, {x0, y + d * back / 2}, {x0, y}};
  DrawBezierFigure(figure);
}

void TMusicFonts::DrawBrace(int x, int topY, int bottomY, bool heavier) {
  RequireDrawing();
  x = ClampCoord(x);
  topY = ClampCoord(topY);
  bottomY = ClampCoord(bottomY);
  const int w = widths[7];
  const int d = 2 * w / 5 + 1;
  const int right = x - d - (heavier ? w / 2 : 0);
  const int left = right + d - 2 * w;
  const int mid = static_cast<int>((int64_t(topY) + bottomY) / 2);
  SelectTempPen(space / 20 + 1);
  for (const int end : {topY, bottomY}) {
    const int a = end == topY ? -space : space;
    auto curve = [&](int b, int c, TDcPoint out[4]) {
      out[0] = {left, mid};
      out[1] = {2 * right + c - left, mid + a};
      out[2] = {2 * left + b - right, end - (end - mid) / 4};
      out[3] = {right, end};
    };
    TDcPoint first[4], second[4];
    curve(0, -d, first);
    curve(d, 0, second);
    const TDcPoint figure[7] = {first[0], first[1], first[2], first[3], second[2], second[1], second[0]};
    DrawBezierFigure(figure);
  }
  SelectColorPen();
}

void TMusicFonts::DrawBracket(int x, int topY, int bottomY) {
  RequireDrawing();
  x = ClampCoord(x);
  topY = ClampCoord(topY);
  bottomY = ClampCoord(bottomY);
  const int w = widths[7];
  const int k = std::max(4 * w / 9, 1);
  const int left = x - 2 * w / 3;
  SelectTempPen(space / 20 + 1);
  SelectColorBrush();
  drawDC->Rectangle(TDcRect{left, topY - space / 4, left + k, bottomY + space / 4});
  SelectHollowBrush();
  for (const int end : {topY, bottomY}) {
    const int out = end == topY ? -1 : 1;  // away from the bracket's inside
    const int startY = end - out;          // one pixel inwards
    const int tipY = end + out * space;
    const int innerY = end - out * space / 4;
    // Each curve's controls: the middle of its rectangle's top (outer) edge and of its right
    // edge.
    const TDcPoint figure[7] = {
        {left, startY}, {left + w / 2, tipY}, {left + w, (startY + tipY) / 2}, {left + w, tipY},
        {left + w, (tipY + innerY) / 2}, {left + k + (w - k) / 2, tipY}, {left + k, innerY}};
    DrawBezierFigure(figure);
  }
  SelectColorPen();
}

}  // namespace kvt
