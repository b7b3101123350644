// TMusicFonts: glyphs, lines and text on the drawing context.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "draw/coord_limits.h"
#include "draw/music_draw_settings.h"
#include "draw/music_font_profile.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

// Lines, dashes and ledger lines beyond this many are off any page: stop there.
constexpr int kMaxRepeats = 10000;

std::u16string Ansi(const char* text) {
  return text ? MultiByteToUtf16(1252, std::string_view(text)) : std::u16string();
}

}  // namespace

double TMusicFonts::GlyphBaselineOffset(int sizeIndex, int glyph) const {
  const TMusicGlyph* g = MusicGlyphAt(glyph);
  if (g == nullptr) return 0;
  const int a = sizeIndex == 1 ? 2 : 1;
  const int b = sizeIndex == 1 ? 3 : 1;
  const int s = space * a;
  const int d = b;
  int offset = 0;
  switch (glyph) {
    case 15:
    case 16: offset = 2 * s / d; break;
    case 17: offset = 3 * s / d; break;
    case 18: offset = 4 * s / d; break;
    case 19:
    case 41:
    case 47:
    case 48:
    case 49: offset = -(s / (4 * d)); break;
    case 20: offset = a * (space / 12 + 1) / (3 * d) + 1; break;
    case 27:
    case 28:
    case 29: offset = 2 * s / (3 * d); break;
    case 30: offset = s / d; break;
    case 45: offset = -(s / (2 * d)); break;
    case 50: offset = 13 * s / (8 * d) + 1; break;
    case 81: offset = 3 * s / (4 * d); break;
    default:
      if (glyph >= 73 && glyph <= 80) offset = 2 * s / (3 * d);
      break;
  }
  return offset + g->dy * (double(space) * a / b);
}

void TMusicFonts::GetGlyphInkOffsets(int sizeIndex, int glyph, int& top, int& bottom) const {
  top = bottom = 0;
  const TMusicGlyph* g = MusicGlyphAt(glyph);
  if (g == nullptr || !g->visible()) return;
  const double scaledSpace = double(space) * (sizeIndex == 1 ? 2 : 1) / (sizeIndex == 1 ? 3 : 1);
  const double baseline = GlyphBaselineOffset(sizeIndex, glyph);
  top = static_cast<int>(std::floor(baseline - g->box.neY * scaledSpace));
  bottom = static_cast<int>(std::ceil(baseline - g->box.swY * scaledSpace));
}

int TMusicFonts::DrawGlyph(int sizeIndex, int glyph, int x, int y) {
  RequireDrawing();
  x = ClampCoord(x);
  y = ClampCoord(y);
  const TMusicGlyph* g = MusicGlyphAt(glyph);
  if (g == nullptr) return 0;
  const int a = sizeIndex == 1 ? 2 : 1;
  const int b = sizeIndex == 1 ? 3 : 1;
  const int width = widths[glyph] * a / b;
  if (glyph == 43) x -= width / 4 + 1;
  const double scaledSpace = double(space) * a / b;
  double gx = x;
  // A SMuFL flag starts at the stem's left edge, the table's at its right.
  if (glyph >= 15 && glyph <= 18) gx -= double(stemThickness) * a / b;
  // Dynamics reach left of their origin; keep their ink right of x.
  if (g->box.swX < 0) gx -= g->box.swX * scaledSpace;
  const double gy = double(y) + GlyphBaselineOffset(sizeIndex, glyph);
  if (glyph == kAnchorGlyph) {
    TDcPoint outline[kAnchorPointCount];
    for (int i = 0; i < kAnchorPointCount; ++i) {
      outline[i] = {static_cast<int>(std::lround(gx + kAnchorOutline[i].x * scaledSpace)),
                    static_cast<int>(std::lround(gy + kAnchorOutline[i].y * scaledSpace))};
    }
    FillPolygon(outline);
    return width;
  }
  drawDC->DrawMusicGlyph(g->codePoint, gx, gy, GetMusicEm(sizeIndex) * g->scale);
  return width;
}

int TMusicFonts::DrawGlyphAtStep(int sizeIndex, int glyph, int x, int position) {
  return DrawGlyph(sizeIndex, glyph, x, PositionToYInt(position));
}

int TMusicFonts::DrawGlyphAtPos(int sizeIndex, int glyph, int x, float position) {
  return DrawGlyph(sizeIndex, glyph, x, PositionToY(position));
}

int TMusicFonts::DrawFullGlyphAtPos(int glyph, int x, float position) {
  return DrawGlyph(0, glyph, x, PositionToY(position));
}

void TMusicFonts::FillPolygon(std::span<const TDcPoint> points, TFillRule rule) {
  SelectColorBrush();
  drawDC->Polygon(points, rule);
  SelectHollowBrush();
}

void TMusicFonts::DrawPenLine(int width, int x0, int y0, int x1, int y1) {
  SelectTempPen(width);
  drawDC->MoveTo(x0, y0);
  drawDC->LineTo(x1, y1);
  SelectColorPen();
}

void TMusicFonts::DrawLine(int x0, int y0, int x1, int y1) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  y0 = ClampCoord(y0);
  x1 = ClampCoord(x1);
  y1 = ClampCoord(y1);
  const int width = x0 == x1   ? stemThickness
                    : y0 == y1 ? staffLineThickness
                               : (stemThickness + staffLineThickness + 1) / 2;
  DrawPenLine(width, x0, y0, x1, y1);
}

void TMusicFonts::DrawStrokedLine(int x0, int y0, int x1, int y1) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  y0 = ClampCoord(y0);
  x1 = ClampCoord(x1);
  y1 = ClampCoord(y1);
  const bool vertical = x0 == x1;
  const int thickness = vertical   ? stemThickness
                        : y0 == y1 ? staffLineThickness
                                   : (stemThickness + staffLineThickness + 1) / 2;
  const int shift = thickness / 2;
  for (int i = 0; i < thickness; ++i) {
    if (vertical) {
      drawDC->MoveTo(x0 - shift + i, y0);
      drawDC->LineTo(x1 - shift + i, y1);
    } else {
      drawDC->MoveTo(x0, y0 - shift + i);
      drawDC->LineTo(x1, y1 - shift + i);
    }
  }
}

void TMusicFonts::DrawHairline(int x0, int y0, int x1, int y1) {
  RequireDrawing();
  drawDC->MoveTo(x0, y0);
  drawDC->LineTo(x1, y1);
}

void TMusicFonts::DrawDottedArrow(int arrowColor, float position, int x0, int x1) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  x1 = ClampCoord(x1);
  const int y = PositionToY(position);
  drawDC->SetPen(TDcPen{TPenStyle::kDot, 1, colors->GetColor(arrowColor)});
  drawDC->MoveTo(x0, y);
  drawDC->LineTo(x1, y);
  if (int64_t(x1) - x0 > space) {
    const int leg = static_cast<int>(std::lround(space / 6 / std::sqrt(2.0)));
    drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, colors->GetColor(arrowColor)});
    drawDC->MoveTo(x1, y);
    drawDC->LineTo(x1 - leg, y - leg);
    drawDC->MoveTo(x1, y);
    drawDC->LineTo(x1 - leg, y + leg);
  }
  SelectColorPen();
}

void TMusicFonts::DrawThickVertical(int width, int x, int y0, int y1) {
  RequireDrawing();
  width = std::max(width, 1);
  width = std::min(width, kMaxSpace * 4);
  x = ClampCoord(x);
  y0 = ClampCoord(y0);
  y1 = ClampCoord(y1);
  if (GetBarLineDrawType() != 0) {
    drawDC->MoveTo(x, y0);
    drawDC->LineTo(x, y1);
    SelectColorBrush();
    drawDC->Rectangle(TDcRect{x, std::min(y0, y1), x + width, std::max(y0, y1)});
    SelectHollowBrush();
    return;
  }
  SelectTempPen(width, TPenStyle::kSolid, TPenCap::kFlat, TPenJoin::kMiter);
  drawDC->MoveTo(x + width / 2, y0);
  drawDC->LineTo(x + width / 2, y1);
  SelectColorPen();
}

void TMusicFonts::DrawDashedThickVertical(int width, int x, int y0, int y1, int period) {
  RequireDrawing();
  // A period of 0 never advanced: draw the finest dashes instead.
  period = std::clamp(period, 1, kCoordLimit);
  width = std::max(width, 1);
  width = std::min(width, kMaxSpace * 4);
  x = ClampCoord(x);
  y0 = ClampCoord(y0);
  y1 = ClampCoord(y1);
  const int top = std::min(y0, y1), bottom = std::max(y0, y1);
  const int half = period * 3 / 4 / 2;
  const bool rectangles = GetBarLineDrawType() != 0;
  if (!rectangles) SelectTempPen(width, TPenStyle::kSolid, TPenCap::kFlat, TPenJoin::kMiter);
  int dashes = 0;
  for (int64_t c = top; c <= bottom && dashes < kMaxRepeats; c += period, ++dashes) {
    const int from = static_cast<int>(std::max<int64_t>(c - half, top));
    const int to = static_cast<int>(std::min<int64_t>(c + half, bottom));
    if (rectangles) {
      DrawThickVertical(width, x, from, to);
    } else {
      drawDC->MoveTo(x + width / 2, from);
      drawDC->LineTo(x + width / 2, to);
    }
  }
  if (!rectangles) SelectColorPen();
}

void TMusicFonts::DrawBarStroke(int x, int y0, int y1) {
  x = ClampCoord(x);
  DrawThickVertical(stemThickness * 7 / 5, x, y0, y1);
}

void TMusicFonts::DrawStaffLines(int x0, int x1, int lineCount, bool edges) {
  RequireDrawing();
  x0 = ClampCoord(x0);
  x1 = ClampCoord(x1);
  lineCount = std::clamp(lineCount, 0, 64);
  const int w = stemThickness;  // a single bar line's width
  const int first = -((lineCount - 1) / 2);
  for (int i = 0; i < lineCount; ++i) {
    const int y = PositionToYInt(2 * (first + i));
    DrawLine(x0, y, x1 - (w / 2 + 1), y);
  }
  if (edges) {
    DrawLine(x0, PositionToYInt(-4), x0, PositionToYInt(4));
    DrawLine(x1, PositionToYInt(-4), x1, PositionToYInt(4));
  }
}

void TMusicFonts::DrawLedgerLines(int x, int fromPosition, int toPosition, int length) {
  RequireDrawing();
  x = ClampCoord(x);
  length = ClampCoord(length);
  fromPosition = ClampCoord(fromPosition);
  toPosition = ClampCoord(toPosition);
  if (fromPosition % 2 != 0) fromPosition += fromPosition > 0 ? 1 : -1;
  const int step = toPosition >= fromPosition ? 2 : -2;
  const int64_t count =
      std::min<int64_t>(std::llabs(int64_t(toPosition) - fromPosition) / 2 + 1, kMaxRepeats);
  for (int64_t i = 0; i < count; ++i) {
    const int y = PositionToYInt(static_cast<int>(fromPosition + i * step));
    DrawLine(x, y, x + length, y);
  }
}

int TMusicFonts::GetTextWidth(int slot, const char* text) {
  TDeviceContext& dc = Measurer();
  if (text == nullptr || *text == 0) return 0;
  dc.SetFont(GetFontSlot(slot));
  return dc.MeasureText(Ansi(text)).width;
}

TTextMetrics TMusicFonts::GetTextSizeW(int slot, std::u16string_view text) {
  TDeviceContext& dc = Measurer();
  if (text.empty()) return {};
  dc.SetFont(GetFontSlot(slot));
  return dc.MeasureText(text);
}

int TMusicFonts::GetTextWidthW(int slot, std::u16string_view text) {
  return GetTextSizeW(slot, text).width;
}

void TMusicFonts::DrawText(int slot, int alignKind, int x, float position, const char* text) {
  RequireDrawing();
  if (text == nullptr || *text == 0) return;
  DrawTextW(slot, alignKind, x, position, Ansi(text));
}

void TMusicFonts::DrawTextW(int slot, int alignKind, int x, float position,
                            std::u16string_view text) {
  RequireDrawing();
  if (text.empty()) return;
  int y = PositionToY(position);
  int align = kAlignLeft | kAlignTop;
  switch (alignKind) {
    case 0:
      sizeDC->SetFont(GetFontSlot(slot));
      y -= sizeDC->MeasureText(text).height / 2;
      break;
    case 1: align = kAlignBaseline; break;
    case 2: align = kAlignBottom; break;
    case 3: break;
    default: align = kAlignCenter | kAlignTop; break;
  }
  drawDC->SetTextAlign(align);
  drawDC->SetFont(GetFontSlot(slot));
  drawDC->TextOut(x, y, text);
}

}  // namespace kvt
