// TMusicFonts: the pen, path, shape, curve and text operations that scripts draw with.
// Numbers come from scripts: a non-finite one refuses the operation, and every coordinate,
// size and radius is clamped before it becomes an integer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "draw/music_font_profile.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

// Far beyond any page at any zoom, and far inside 32 bits after any sum of two.
constexpr double kScriptCoordLimit = 1'000'000;
constexpr double kPositionLimit = 100'000;
constexpr int kCentreVertically = 0x1000;

bool Finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

int Coord(double v) { return static_cast<int>(std::lround(std::clamp(v, -kScriptCoordLimit, kScriptCoordLimit))); }
int Size(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, kScriptCoordLimit))); }

}  // namespace

void TMusicFonts::SetPenColorIndex(TDrawPenSpec& pen, int index) const {
  pen.SetColor(colors->GetColor(index == 0 ? colorIndex : index));
}

void TMusicFonts::ApplyPen(const TDrawPenSpec& pen) {
  if (!drawingActive) return;
  SetPen(pen);
  SelectHollowBrush();
}

void TMusicFonts::ResetDrawing() {
  if (!drawingActive) return;
  AbortPath();
  penRealised = false;
  SelectColorPen();
  SelectHollowBrush();
}

void TMusicFonts::RealisePen() {
  // A path keeps the one pen it was begun with.
  if (pathOpen) return;
  if (!penRealised || !(currentPen == realisedPen)) {
    realisedPen = currentPen;
    penRealised = true;
  }
  static constexpr TPenStyle kStyles[4] = {TPenStyle::kSolid, TPenStyle::kDash, TPenStyle::kDot,
                                           TPenStyle::kDashDot};
  TDcPen pen{kStyles[realisedPen.Style()], realisedPen.Width(), realisedPen.Color()};
  if (realisedPen.IsGeometric()) {
    pen.cap = TPenCap::kRound;
    pen.join = TPenJoin::kRound;
  }
  drawDC->SetPen(pen);
}

void TMusicFonts::BeginPath() {
  if (!drawingActive || pathOpen) return;
  RealisePen();
  pathOpen = true;
  drawDC->BeginPath();
}

void TMusicFonts::CloseFigure() {
  if (!drawingActive || !pathOpen) return;
  drawDC->CloseFigure();
}

void TMusicFonts::AbortPath() {
  if (!pathOpen) return;
  pathOpen = false;
  if (drawDC) drawDC->AbortPath();
}

void TMusicFonts::EndPath(bool fill, bool useBrush) {
  if (!drawingActive || !pathOpen) return;
  pathOpen = false;
  RealisePen();
  if (!useBrush) {
    drawDC->EndPath(TPathPaint::kStroke);
    return;
  }
  drawDC->SetBrush(TDcBrush{false, currentPen.Color()});
  drawDC->EndPath(fill ? TPathPaint::kStrokeAndFill : TPathPaint::kFill);
  SelectHollowBrush();
}

void TMusicFonts::MoveTo(double x, double position) {
  if (!drawingActive || !Finite({x, position})) return;
  drawDC->MoveTo(Coord(x), PositionToY(static_cast<float>(std::clamp(position, -kPositionLimit, kPositionLimit))));
}

void TMusicFonts::LineTo(double x, double position) {
  if (!drawingActive || !Finite({x, position})) return;
  RealisePen();
  drawDC->LineTo(Coord(x), PositionToY(static_cast<float>(std::clamp(position, -kPositionLimit, kPositionLimit))));
}

void TMusicFonts::HintLine(int hintColor, double x, double position) {
  if (!drawingActive || pathOpen || !Finite({x, position})) return;
  drawDC->SetPen(TDcPen{TPenStyle::kDot, 1, colors->GetColor(hintColor)});
  drawDC->LineTo(Coord(x), PositionToY(static_cast<float>(std::clamp(position, -kPositionLimit, kPositionLimit))));
  drawDC->SetPen(TDcPen{TPenStyle::kNull});
}

void TMusicFonts::Ellipse(double rx, double ry) {
  if (!drawingActive || !Finite({rx, ry})) return;
  RealisePen();
  const TDcPoint c = drawDC->CurrentPoint();
  const int a = Size(std::abs(rx)), b = Size(std::abs(ry));
  drawDC->Ellipse(TDcRect{c.x - a, c.y - b, c.x + a, c.y + b});
}

void TMusicFonts::RectangleFromHere(double w, double h) {
  if (!drawingActive || !Finite({w, h})) return;
  RealisePen();
  const TDcPoint c = drawDC->CurrentPoint();
  const int x1 = Coord(double(c.x) + std::clamp(w, -kScriptCoordLimit, kScriptCoordLimit));
  const int y1 = Coord(double(c.y) + std::clamp(h, -kScriptCoordLimit, kScriptCoordLimit));
  drawDC->Rectangle(TDcRect{std::min(c.x, x1), std::min(c.y, y1), std::max(c.x, x1), std::max(c.y, y1)});
}

void TMusicFonts::RoundRect(double halfWidth, double halfHeight, double corner) {
  if (!drawingActive || !Finite({halfWidth, halfHeight, corner})) return;
  RealisePen();
  const TDcPoint c = drawDC->CurrentPoint();
  const int a = Size(std::abs(halfWidth)), b = Size(std::abs(halfHeight));
  const int r = Size(std::abs(corner));
  const TDcRect rect{c.x - a, c.y - b, c.x + a, c.y + b};
  if (r != 0) {
    drawDC->RoundRect(rect, 2 * r, 2 * r);
  } else {
    drawDC->Rectangle(rect);
  }
}

void TMusicFonts::GetCurrentPoint(int& x, float& position) const {
  if (!drawingActive) {
    x = 0;
    position = 0;
    return;
  }
  const TDcPoint c = drawDC->CurrentPoint();
  x = c.x;
  position = YToPositionFloat(c.y);
}

void TMusicFonts::Curve(std::span<const double> xy) {
  if (!drawingActive || (xy.size() != 4 && xy.size() != 6)) return;
  for (double v : xy) {
    if (!std::isfinite(v)) return;
  }
  auto point = [&](size_t i) {
    return TDcPoint{Coord(xy[2 * i]),
                    PositionToY(static_cast<float>(std::clamp(xy[2 * i + 1], -kPositionLimit, kPositionLimit)))};
  };
  RealisePen();
  if (xy.size() == 6) {
    drawDC->BezierTo(point(0), point(1), point(2));
    return;
  }
  const TDcPoint from = drawDC->CurrentPoint();
  const TDcPoint control = point(0), end = point(1);
  TDcPoint cubic[4];
  TQuadCurve(from.x, from.y, control.x, control.y, end.x, end.y).ToCubicBezier(cubic);
  drawDC->BezierTo(cubic[1], cubic[2], cubic[3]);
}

void TMusicFonts::Bezier(std::span<const double> xy) {
  const size_t count = xy.size() / 2;
  if (count < 2) return;
  // The last three points make a cubic from the current point; two make a quadratic.
  const size_t used = std::min<size_t>(count, 3);
  Curve(xy.subspan(2 * (count - used), 2 * used));
}

void TMusicFonts::SetUserFontFromSlot(int slot, int percent) {
  TLogFont font = userFont;
  GetSlotLogFont(slot, font, percent);
  SetUserFont(font);
}

void TMusicFonts::SetUserFont(const TLogFont& font) {
  if (std::memcmp(&font, &userFont, sizeof font) != 0) std::memcpy(&userFont, &font, sizeof font);
  userFont.faceName[kLogFontFaceSize - 1] = 0;
}

TDcFont TMusicFonts::UserDcFont() const {
  TDcFont font;
  font.face = userFont.faceName;
  font.pixelSize = std::clamp(std::abs(double(userFont.height)), 1.0, kScriptCoordLimit);
  if (userFont.height == 0) font.pixelSize = 12;
  font.weight = std::clamp(userFont.weight, 0, 1000);
  font.italic = userFont.italic != 0;
  font.orientation = userFont.orientation % 3600;
  // The music face draws through the music-font profile, never through a text face.
  font.music = userFont.charSet == kSymbolCharSet || strcasecmp(userFont.faceName, kDefaultMusicFontName) == 0 ||
               strcasecmp(userFont.faceName, data->GetMusicFontName()) == 0;
  if (font.music) font.face = kMusicFontFamily;
  return font;
}

void TMusicFonts::CalcTextSize(std::string_view utf8, int& width, float& height, float& descent) {
  width = 0;
  height = 0;
  descent = 0;
  if (idcCreationCount == 0 || sizeDC == nullptr) return;
  sizeDC->SetFont(UserDcFont());
  const TTextMetrics m = sizeDC->MeasureText(Utf8ToUtf16(utf8));
  width = m.width;
  height = 2.0f * m.height / space;
  descent = 2.0f * m.descent / space;
}

void TMusicFonts::DrawTextUtf8(std::string_view utf8, int flags, int backgroundMode) {
  DrawTextWide(Utf8ToUtf16(utf8), flags, backgroundMode);
}

void TMusicFonts::DrawTextWide(std::u16string_view text, int flags, int backgroundMode) {
  if (!drawingActive) return;
  const TDcFont font = UserDcFont();
  drawDC->SetFont(font);
  if (!pathOpen) drawDC->SetTextColor(currentPen.Color());
  int dx = 0, dy = 0;
  if (flags & kCentreVertically) {
    const int half = drawDC->MeasureText(text).height / 2;
    if (font.orientation != 0) {
      const double angle = font.orientation * std::numbers::pi / 1800;
      dx = static_cast<int>(std::sin(angle) * -half);
      dy = static_cast<int>(std::cos(angle) * -half);
    } else {
      dy = -half;
    }
    MoveBy(dx, dy);
  }
  drawDC->SetTextAlign((flags & 0x1E) | kAlignUpdateCp);
  if (backgroundMode != 1) drawDC->SetBackgroundTransparent(false);
  drawDC->TextOut(0, 0, text);
  MoveBy(-dx, -dy);
  drawDC->SetBackgroundTransparent(true);
  drawDC->SetFont(TDcFont{});
}

void TMusicFonts::MoveBy(double dx, double dy) {
  if (!drawingActive || !Finite({dx, dy})) return;
  const TDcPoint c = drawDC->CurrentPoint();
  drawDC->MoveTo(Coord(c.x + std::clamp(dx, -kScriptCoordLimit, kScriptCoordLimit)),
                 Coord(c.y + std::clamp(dy, -kScriptCoordLimit, kScriptCoordLimit)));
}

}  // namespace kvt
