// TMusicFonts: building the fonts, sizes, conversions, phases and colour.
#include "draw/music_fonts.h"

#include <strings.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/coord_limits.h"
#include "draw/mul_div.h"
#include "draw/music_draw_settings.h"
#include "draw/music_font_profile.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

constexpr int kMaxDpi = 100000;

int EvenSpace(int64_t s) {
  if (s % 2 != 0) ++s;
  return static_cast<int>(std::clamp<int64_t>(s, kMinSpace, kMaxSpace));
}

int ReferenceSpaceOf(int dpiY, float baseSize) {
  const double dpi = std::clamp(dpiY, 1, kMaxDpi);
  const double base = std::isfinite(baseSize) && baseSize > 0 ? baseSize : kDefaultMusicFontBase;
  return EvenSpace(static_cast<int64_t>(std::floor(std::min(dpi * base / 288 + 0.5, 1e9))));
}

void CopyFace(TLogFont& font, const char* face) {
  std::memset(font.faceName, 0, sizeof font.faceName);
  std::strncpy(font.faceName, face, sizeof font.faceName - 1);
}

}  // namespace

const char* GetDefaultMusicFontName() { return kDefaultMusicFontName; }

bool IsFontFaceInstalled(const char* face, bool music, IFontCatalog& catalog) {
  if (face == nullptr || *face == 0) return false;
  return catalog.IsFaceInstalled(face, music ? kSymbolCharSet : kDefaultCharSet);
}

bool IsMusicFontInstalled(const char* face, IFontCatalog& catalog) {
  return IsFontFaceInstalled(face && *face ? face : kDefaultMusicFontName, true, catalog);
}

TMusicFonts::TMusicFonts(const TMusicFontsData& data, TDeviceContext& sizing,
                         const TStaffColorHandles& colors, IFontCatalog& catalog)
    : data(&data), colors(&colors), screens(&NullScreenContextFactory()), catalog(&catalog) {
  Build(ReferenceSpaceOf(sizing.DpiY(), data.GetBaseSize()), &sizing);
}

TMusicFonts::TMusicFonts(const TMusicFontsData& data, const TStaffColorHandles& colors, int space,
                         TScreenContextFactory& screens, IFontCatalog& catalog)
    : data(&data), colors(&colors), screens(&screens), catalog(&catalog) {
  Build(space, nullptr);
}

TMusicFonts::~TMusicFonts() = default;

void TMusicFonts::Recreate(int newSpace) {
  if (drawingActive || idcCreationCount != 0) {
    ThrowPrecondition("!DrawingActive && !idcCreationCount", __FILE__, __LINE__);
  }
  Build(newSpace, nullptr);
}

void TMusicFonts::Recreate(TDeviceContext& sizing) {
  if (drawingActive || idcCreationCount != 0) {
    ThrowPrecondition("!DrawingActive && !idcCreationCount", __FILE__, __LINE__);
  }
  Build(ReferenceSpaceOf(sizing.DpiY(), data->GetBaseSize()), &sizing);
}

void TMusicFonts::Build(int requestedSpace, TDeviceContext* sizing) {
  std::unique_ptr<TDeviceContext> temporary;
  if (sizing == nullptr) {
    temporary = screens->CreateScreenContext();
    sizing = temporary.get();
  }
  widths.fill(0);
  space = EvenSpace(requestedSpace);
  refDpiX = std::clamp(sizing->DpiX(), 1, kMaxDpi);
  refDpiY = std::clamp(sizing->DpiY(), 1, kMaxDpi);
  referenceSpace = ReferenceSpaceOf(refDpiY, data->GetBaseSize());
  hasReference = true;
  const float base = data->GetBaseSize();
  const TFontSpec* lyric = data->GetTextFont(kFontStaffLyric);
  lyricLineHeight = static_cast<int>(std::floor(lyric->Size() * 8.0 / base + 0.5));

  for (int k = 0; k < kScoreTextFontCount; ++k) fontSlots[2 + k] = MakeTextFont(k, 100, refDpiY);

  // Bravura's em is 4 spaces where the table's face had 5; the two-thirds font keeps the
  // integer rule of the original height.
  fullEm = kMusicEmSpaces * space;
  cueEm = fullEm * 2 / 3;
  fontSlots[0] = TDcFont{kMusicFontFamily, double(fullEm), 400, false, 0, true};
  fontSlots[1] = TDcFont{kMusicFontFamily, double(cueEm), 400, false, 0, true};

  for (int i = 0; i < kMusicGlyphCount; ++i) {
    widths[i] = static_cast<int>(std::lround(MusicGlyphAt(i)->advance * space));
  }
  stemThickness = widths[7] / 14 + 1;
  stemPenWidth = widths[7] / 16 + 1;
  // The column was sized for a double sharp 5/4 as wide as the face's double flat; Bravura's
  // double flat is wider still, so the column takes its width when that is more.
  accidentalColumnWidth = std::max(widths[42] * 5 / 4, widths[43]);
  staffLineThickness = space / 14 + 1;
  if (const int microns = GetStaffLineMicrons(); microns != 0) {
    TDeviceContext* keep = sizeDC;
    sizeDC = sizing;
    staffLineThickness = std::min(MicronsToPixels(microns), space / 2);
    sizeDC = keep;
  }
}

TDcFont TMusicFonts::MakeTextFont(int textIndex, int percent, int dpi) const {
  const TFontSpec* stored = data->GetTextFont(textIndex);
  TLogFont lf;
  stored->ToLogFont(lf, dpi);
  const double base = data->GetBaseSize();
  const double height =
      std::floor(std::abs(stored->Size()) * percent * space * 4.0 / (base * 100) + 0.5);
  TDcFont font;
  font.face = lf.faceName;
  font.pixelSize = std::clamp(height, 1.0, 1e7);
  font.weight = lf.weight;
  font.italic = lf.italic != 0;
  return font;
}

int TMusicFonts::GetAccidentalColumnWidth(int sizeIndex) const {
  return sizeIndex == 1 ? accidentalColumnWidth * 2 / 3 : accidentalColumnWidth;
}

int TMusicFonts::GetGlyphWidth(int index) const {
  return index >= 0 && index < kMusicGlyphCount ? widths[index] : 0;
}

int TMusicFonts::GetScaledGlyphWidth(int sizeIndex, int index) const {
  const int w = GetGlyphWidth(index);
  return sizeIndex == 1 ? w * 2 / 3 : w;
}

int TMusicFonts::GetGlyphWidthMulDiv(bool twoThirds, int index) const {
  const int w = GetGlyphWidth(index);
  return twoThirds ? MulDiv(2, w, 3) : w;
}

const TDcFont& TMusicFonts::GetFontSlot(int slot) const {
  return fontSlots[std::clamp(slot, 0, kFontSlotCount - 1)];
}

int TMusicFonts::PositionToY(float position) const {
  const double y = double(space) * position * 0.5 + staffOriginY;
  if (!std::isfinite(y)) return staffOriginY;
  return ClampCoord(static_cast<int64_t>(std::clamp(y, -1e12, 1e12)));
}

void TMusicFonts::SetStaffOrigin(int y) { staffOriginY = ClampCoord(y); }

int TMusicFonts::PositionToYInt(int position) const {
  return ClampCoord(int64_t(position) * (space / 2) + staffOriginY);
}

int TMusicFonts::YToPosition(int y) const {
  return static_cast<int>((int64_t(y) - staffOriginY) * 2 / space);
}

float TMusicFonts::YToPositionFloat(int y) const {
  return static_cast<float>((double(y) - staffOriginY) * 2 / space);
}

int TMusicFonts::MicronsToPixels(int microns) const {
  if (sizeDC == nullptr) return 1;
  const int pixels =
      MulDiv(int64_t(sizeDC->DpiY()) * space, microns, int64_t(referenceSpace) * 25400);
  return std::max(pixels, 1);
}

int TMusicFonts::PixelsToMicrons(int pixels, bool horizontal) const {
  int ppi = sizeDC ? (horizontal ? sizeDC->DpiX() : sizeDC->DpiY()) : 0;
  if (ppi == 0) ppi = 360;
  return MulDiv(pixels, int64_t(referenceSpace) * 25400, int64_t(ppi) * space);
}

void TMusicFonts::GetSlotLogFont(int slot, TLogFont& out, int percent) const {
  if (sizeDC == nullptr || slot < 0 || slot >= kFontSlotCount) return;
  percent = std::clamp(percent, 1, 100000);
  if (slot < 2) {
    out = TLogFont{};
    const char* face = data->GetMusicFontName();
    CopyFace(out, IsMusicFontInstalled(face, *catalog) ? face : kDefaultMusicFontName);
    out.charSet = kSymbolCharSet;
    out.outPrecision = 4;
    const int64_t em = int64_t(kMusicEmSpaces) * space;
    out.height =
        static_cast<int32_t>(slot == 0 ? -(percent * em / 100) : -(percent * 2 * em / 300));
    return;
  }
  const TFontSpec* stored = data->GetTextFont(slot - 2);
  stored->ToLogFont(out, sizeDC->DpiY());
  out.height = -static_cast<int32_t>(MakeTextFont(slot - 2, percent, sizeDC->DpiY()).pixelSize);
}

TMusicFonts::TSavedState TMusicFonts::Save(const TDeviceContext& dc) {
  return {dc.Pen(),       dc.Brush(),     dc.Font(),
          dc.TextAlign(), dc.TextColor(), dc.BackgroundTransparent()};
}

void TMusicFonts::Restore(TDeviceContext& dc, const TSavedState& s) {
  dc.SetPen(s.pen);
  dc.SetBrush(s.brush);
  dc.SetFont(s.font);
  dc.SetTextAlign(s.align);
  dc.SetTextColor(s.textColor);
  dc.SetBackgroundTransparent(s.transparent);
}

void TMusicFonts::BeginSizing() {
  if (idcCreationCount++ == 0) {
    screenDC = screens->CreateScreenContext();
    sizeDC = screenDC.get();
    savedSize = Save(*sizeDC);
  }
}

void TMusicFonts::EndSizing() {
  if (idcCreationCount <= 0) return;
  if (--idcCreationCount == 0) {
    if (sizeDC) Restore(*sizeDC, savedSize);
    sizeDC = nullptr;
    screenDC.reset();
  }
}

void TMusicFonts::BeginDrawing(TDeviceContext* draw, TDeviceContext* size) {
  if (idcCreationCount != 0) ThrowPrecondition("idcCreationCount == 0", __FILE__, __LINE__);
  if (draw == nullptr || size == nullptr) ThrowPrecondition("drawDC && sizeDC", __FILE__, __LINE__);
  drawingActive = true;
  idcCreationCount = 1;
  drawDC = draw;
  sizeDC = size;
  savedDraw = Save(*drawDC);
  savedSize = Save(*sizeDC);
  staffOriginY = 0;
  drawDC->SetBackgroundTransparent(true);
  SetColorIndex(0);
  SelectHollowBrush();
}

void TMusicFonts::EndDrawing() {
  if (idcCreationCount <= 0) ThrowPrecondition("idcCreationCount > 0", __FILE__, __LINE__);
  if (pathOpen) AbortPath();
  pathOpen = false;
  Restore(*drawDC, savedDraw);
  if (sizeDC != drawDC) Restore(*sizeDC, savedSize);
  penRealised = false;
  drawingActive = false;
  idcCreationCount = 0;
  drawDC = nullptr;
  sizeDC = nullptr;
}

void TMusicFonts::RequireDrawing() const {
  if (!drawingActive) ThrowPrecondition("DrawingActive", __FILE__, __LINE__);
}

void TMusicFonts::RequireSizing() const {
  if (idcCreationCount == 0) ThrowPrecondition("idcCreationCount", __FILE__, __LINE__);
}

TDeviceContext& TMusicFonts::Measurer() const {
  RequireSizing();
  return *sizeDC;
}

void TMusicFonts::SetColorIndex(int index) {
  if (idcCreationCount <= 0) ThrowPrecondition("idcCreationCount > 0", __FILE__, __LINE__);
  colorIndex = index >= 0 && index < TStaffColorHandles::kColorCount ? index : 0;
  if (drawDC == nullptr) return;
  drawDC->SetTextColor(colors->GetColor(colorIndex));
  SelectColorPen();
}

void TMusicFonts::SetItemColorIndex(int itemColor, int fallbackIndex) {
  SetColorIndex(itemColor >= 1 && itemColor <= 7 ? 8 + itemColor : fallbackIndex);
}

TColorRef TMusicFonts::GetBackgroundColor() const {
  if (idcCreationCount <= 0) ThrowPrecondition("idcCreationCount > 0", __FILE__, __LINE__);
  return drawDC ? drawDC->BackgroundColor() : sizeDC->BackgroundColor();
}

void TMusicFonts::SetBackgroundColorIndex(int index) {
  SetBackgroundColor(colors->GetColor(index));
}

void TMusicFonts::SetBackgroundColor(TColorRef color) {
  if (idcCreationCount <= 0) ThrowPrecondition("idcCreationCount > 0", __FILE__, __LINE__);
  if (drawDC) drawDC->SetBackgroundColor(color);
}

void TMusicFonts::SelectColorPen() {
  drawDC->SetPen(TDcPen{TPenStyle::kSolid, 1, colors->GetColor(colorIndex)});
}

void TMusicFonts::SelectTempPen(int width, TPenStyle style, TPenCap cap, TPenJoin join) {
  drawDC->SetPen(TDcPen{style, std::max(width, 1), colors->GetColor(colorIndex), cap, join});
}

void TMusicFonts::SelectColorBrush() {
  drawDC->SetBrush(TDcBrush{false, colors->GetColor(colorIndex)});
}

void TMusicFonts::SelectHollowBrush() { drawDC->SetBrush(TDcBrush{}); }

}  // namespace kvt
