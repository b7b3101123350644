// TMusicFonts: the editor's marks: gap ruler, vertical arrow, marker wedge, expression anchor
// and user-object marker.
#include <algorithm>
#include <cmath>

#include "draw/mul_div.h"
#include "draw/music_draw_settings.h"
#include "draw/coord_limits.h"
#include "draw/music_fonts.h"
#include "draw/music_font_profile.h"
#include "draw/staff_color_handles.h"

namespace kvt {
namespace {

constexpr int kMaxRulerTicks = 398;
constexpr TColorRef kWhite = 0xFFFFFF;

}  // namespace

void TMusicFonts::DrawGapRuler(int markColor, float position, int x, int width, bool hidden) {
  RequireDrawing();
  x = ClampCoord(x);
  width = ClampCoord(width);
  const TColorRef color = colors->GetColor(markColor);
  const int c = PositionToY(position) + 2;
  const int bottom = c + std::min(space / 2, 7);
  drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, color});
  if (hidden) {
    drawDC->SetBrush(TDcBrush{false, color});
    const TDcPoint triangle[3] = {{x, c}, {x + width, c}, {x + width / 2, bottom}};
    drawDC->Polygon(triangle);
    SelectHollowBrush();
  } else {
    const TDcPoint box[4] = {{x, bottom}, {x, c}, {x + width, c}, {x + width, bottom}};
    drawDC->Polyline(box);
    const int pitch = std::max(widths[7] / 2, 1);
    for (int i = 1; i <= kMaxRulerTicks && int64_t(i) * pitch < width; ++i) {
      const int tx = x + i * pitch;
      drawDC->MoveTo(tx, c);
      drawDC->LineTo(tx, i % 2 != 0 ? (c + bottom) / 2 : bottom);
    }
  }
  SelectColorPen();
}

void TMusicFonts::DrawVerticalArrow(int markColor, int x, int fromStep, int toStep) {
  RequireDrawing();
  x = ClampCoord(x);
  const TColorRef color = colors->GetColor(markColor);
  const int xa = x + space / 2;
  const int y0 = PositionToYInt(fromStep), y1 = PositionToYInt(toStep);
  drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, color});
  drawDC->MoveTo(xa, y0);
  drawDC->LineTo(xa, y1);
  const double back = y1 >= y0 ? -1 : 1;  // from the tip back along the shaft
  const double length = space / 2.0;
  const TDcPoint head[3] = {
      {xa, y1},
      {static_cast<int>(std::lround(xa + length * std::sin(0.5))), static_cast<int>(std::lround(y1 + back * length * std::cos(0.5)))},
      {static_cast<int>(std::lround(xa - length * std::sin(0.5))), static_cast<int>(std::lround(y1 + back * length * std::cos(0.5)))}};
  drawDC->SetBrush(TDcBrush{false, color});
  drawDC->Polygon(head);
  SelectHollowBrush();
  SelectColorPen();
}

void TMusicFonts::DrawMarkerWedge(int x, float position, int markColor, int flags) {
  RequireDrawing();
  x = ClampCoord(x);
  const TColorRef color = colors->GetColor(markColor);
  const int y = PositionToY(position);
  const int radius = 3 * space / 4;
  drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, color});
  drawDC->SetBrush(TDcBrush{false, color});
  drawDC->Pie(TDcRect{x - radius, y - radius, x + radius, y + radius}, 160, 40);
  if (radius > 7 && flags != 2) {
    const int r = space / 15 + 1;
    drawDC->SetBrush(TDcBrush{false, kWhite});
    int cx = x - radius + r;
    for (int bit = 2; bit >= 0; --bit) {
      if ((flags >> bit) & 1) drawDC->Ellipse(TDcRect{cx - r, y - r, cx + r, y + r});
      cx += 2 * r + 1;
    }
  }
  SelectHollowBrush();
  SelectColorPen();
}

int TMusicFonts::DrawExpressionAnchor(int x, float position, int justification) {
  RequireDrawing();
  x = ClampCoord(x);
  if (shapeOption == 0) return DrawGlyph(0, kAnchorGlyph, x, PositionToY(position));
  const int b = 2 * MulDiv(std::min(shapeOption, 1000), widths[7], 40) + 2;
  const int y = PositionToY(position);
  const int h = std::max(b / 4, 2);
  SelectColorBrush();
  switch (justification) {
    case 0: {
      const TDcPoint shape[3] = {{x + b - h, y - h}, {x + b, y}, {x + b - h, y + h}};
      drawDC->Polygon(shape, TFillRule::kWinding);
      drawDC->MoveTo(x, y);
      drawDC->LineTo(x + b - h, y);
      break;
    }
    case 1: {
      const TDcPoint left[3] = {{x, y - h}, {x + b / 2, y}, {x, y + h}};
      const TDcPoint right[3] = {{x + b, y - h}, {x + b / 2, y}, {x + b, y + h}};
      drawDC->Polygon(left, TFillRule::kWinding);
      drawDC->Polygon(right, TFillRule::kWinding);
      break;
    }
    default: {
      const TDcPoint shape[3] = {{x + h, y - h}, {x, y}, {x + h, y + h}};
      drawDC->Polygon(shape, TFillRule::kWinding);
      drawDC->MoveTo(x + h, y);
      drawDC->LineTo(x + b, y);
      break;
    }
  }
  SelectHollowBrush();
  return b;
}

int TMusicFonts::DrawUserObjectMarker(int x, float position, int width, int markColor) {
  RequireDrawing();
  x = ClampCoord(x);
  width = ClampCoord(width);
  const TColorRef color = colors->GetColor(markColor);
  const int d = std::max(MulDiv(space, GetMarkerScale(), 20), 2);
  const int y = PositionToY(position);
  const int s = space;
  drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, color});
  drawDC->SetBrush(TDcBrush{false, color});
  const TDcPoint drop[7] = {{x - d / 2, y}, {x, y + 2 * s / 3}, {x, y + 2 * s / 3},
                            {x - d / 3, y + 7 * s / 8}, {x - 2 * d / 3, y + 7 * s / 8}, {x - d, y + 2 * s / 3},
                            {x - d / 2, y}};
  // Straight sides as degenerate curves keep the drop one figure.
  const TDcPoint figure[10] = {drop[0], drop[0], drop[1], drop[1], drop[3], drop[4], drop[5],
                               drop[5], drop[6], drop[6]};
  drawDC->PolyBezier(figure, true);
  SelectHollowBrush();
  SelectColorPen();
  if (d < width) DrawDottedArrow(markColor, position, x - d / 2, x - width);
  return width;
}

}  // namespace kvt
