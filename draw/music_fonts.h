#pragma once
// TMusicFonts: the drawing toolkit every piece of notation output goes through. It owns the
// music font at full and at two-thirds size and the twelve text fonts of a score (font fontSlots
// 0..13), the 82 glyph widths and the line thicknesses derived from them, and the two device
// contexts of a drawing phase (the one drawn on and the one measured with).
//
// Contract:
// - The score's font data and the colour table are not owned and must outlive the object; so
//   must the contexts given to BeginDrawing and the sizing constructor, until EndDrawing or
//   Recreate.
// - The music font is drawn with Bravura through the music-font profile; its em is 4 spaces
//   (the table's face had 5) and glyph widths are Bravura's advances x space, never measured.
// - Phases: measuring operations need a sizing or drawing phase ("idcCreationCount"), drawing
//   operations a drawing phase ("DrawingActive"); a broken phase raises TPreconditionError.
//   Scripted drawing (Pen, path and text operations below) does nothing outside a drawing
//   phase instead.
// - Every size that comes from a score or the settings is clamped before it divides or
//   multiplies; glyph indexes outside 0..81 have width 0 and draw nothing.
// - One thread at a time.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "draw/device_context.h"
#include "draw/draw_pen.h"
#include "draw/quad_curve.h"
#include "draw/screen_context_factory.h"
#include "utils/font_description.h"
#include "utils/log_font.h"

namespace kvt {

class TMusicFontsData;
class TStaffColorHandles;

inline constexpr int kFontSlotCount = 14;
inline constexpr int kMinSpace = 2;
// Far beyond any zoom of any page; keeps every derived length well inside 32 bits.
inline constexpr int kMaxSpace = 20000;
inline constexpr uint8_t kSymbolCharSet = 2;

// The default music face, "KVT2STDA".
const char* GetDefaultMusicFontName();
// False for an empty face; otherwise what the catalog says of the face (with the music flag,
// as a symbol font).
bool IsFontFaceInstalled(const char* face, bool music, IFontCatalog& catalog);
// The face, or the default for null or empty.
bool IsMusicFontInstalled(const char* face, IFontCatalog& catalog);

class TMusicFonts {
public:
  // Space = the reference space of the sizing context.
  TMusicFonts(const TMusicFontsData& data, TDeviceContext& sizing, const TStaffColorHandles& colors,
              IFontCatalog& catalog = NullFontCatalog());
  // Space forced even and into kMinSpace..kMaxSpace; measures on a temporary screen context.
  TMusicFonts(const TMusicFontsData& data, const TStaffColorHandles& colors, int space,
              TScreenContextFactory& screens = NullScreenContextFactory(),
              IFontCatalog& catalog = NullFontCatalog());
  ~TMusicFonts();
  TMusicFonts(const TMusicFonts&) = delete;
  TMusicFonts& operator=(const TMusicFonts&) = delete;

  // Precondition "!DrawingActive && !idcCreationCount".
  void Recreate(int space);
  void Recreate(TDeviceContext& sizing);

  // --- Sizes (pixels) ---
  int GetSpace() const { return space; }
  int GetStepHeight() const { return space / 2; }
  int GetReferenceSpace() const { return referenceSpace; }
  int GetLyricLineHeight() const { return lyricLineHeight; }
  int GetStemThickness() const { return stemThickness; }
  int GetStaffLineThickness() const { return staffLineThickness; }
  int GetStemPenWidth() const { return stemPenWidth; }
  // sizeIndex 1: two thirds.
  int GetAccidentalColumnWidth(int sizeIndex) const;
  // 0 outside 0..81.
  int GetGlyphWidth(int index) const;
  int GetScaledGlyphWidth(int sizeIndex, int index) const;
  int GetGlyphWidthMulDiv(bool twoThirds, int index) const;
  // Slot 0..13 (clamped).
  const TDcFont& GetFontSlot(int slot) const;
  // The music font's em in pixels at size index 0 or 1.
  int GetMusicEm(int sizeIndex) const { return sizeIndex == 1 ? cueEm : fullEm; }

  int PositionToY(float position) const;
  int PositionToYInt(int position) const;
  int YToPosition(int y) const;
  float YToPositionFloat(int y) const;
  // At least 1; 1 without a sizing context.
  int MicronsToPixels(int microns) const;
  int PixelsToMicrons(int pixels, bool horizontal) const;

  void SetShapeOption(int tenths) { shapeOption = std::max(0, tenths); }
  void SetStaffOrigin(int y);
  int GetStaffOrigin() const { return staffOriginY; }
  int GetColorIndex() const { return colorIndex; }
  // The slot's description at percent (100 = as built); nothing without a sizing context.
  void GetSlotLogFont(int slot, TLogFont& out, int percent = 100) const;

  // --- Phases ---
  void BeginSizing();
  void EndSizing();
  void BeginDrawing(TDeviceContext* drawDC, TDeviceContext* sizeDC);
  void EndDrawing();
  bool IsDrawingActive() const { return drawingActive; }
  TDeviceContext* DrawingContext() const { return drawDC; }
  TDeviceContext* SizingContext() const { return sizeDC; }

  // --- Colour ("idcCreationCount > 0") ---
  void SetColorIndex(int index);
  void SetItemColorIndex(int itemColor, int fallbackIndex);
  TColorRef GetBackgroundColor() const;
  void SetBackgroundColorIndex(int index);
  void SetBackgroundColor(TColorRef color);

  // --- Glyphs ("DrawingActive") ---
  int DrawGlyph(int sizeIndex, int glyph, int x, int y);
  // The ink of a glyph drawn at y: its top and bottom edge as offsets from y (pixels, from the
  // font's metadata); both 0 for a glyph that draws nothing.
  void GetGlyphInkOffsets(int sizeIndex, int glyph, int& top, int& bottom) const;
  int DrawGlyphAtStep(int sizeIndex, int glyph, int x, int position);
  int DrawGlyphAtPos(int sizeIndex, int glyph, int x, float position);
  int DrawFullGlyphAtPos(int glyph, int x, float position);

  // --- Lines ("DrawingActive") ---
  void DrawLine(int x0, int y0, int x1, int y1);
  void DrawStrokedLine(int x0, int y0, int x1, int y1);
  void DrawHairline(int x0, int y0, int x1, int y1);
  void DrawDottedArrow(int colorIndex, float position, int x0, int x1);
  void DrawThickVertical(int width, int x, int y0, int y1);
  // A period below 1 is taken as 1.
  void DrawDashedThickVertical(int width, int x, int y0, int y1, int period);
  void DrawBarStroke(int x, int y0, int y1);
  void DrawStaffLines(int x0, int x1, int lineCount, bool edges);
  void DrawLedgerLines(int x, int fromPosition, int toPosition, int length);

  // --- Text: fontSlots 0..13; one-byte text is Windows-1252 ---
  int GetTextWidth(int slot, const char* text);
  TTextMetrics GetTextSizeW(int slot, std::u16string_view text);
  int GetTextWidthW(int slot, std::u16string_view text);
  void DrawText(int slot, int alignKind, int x, float position, const char* text);
  void DrawTextW(int slot, int alignKind, int x, float position, std::u16string_view text);
  void DrawBoldText(int x, float position, const char* text) { DrawText(3, 0, x, position, text); }
  void DrawItalicText(int x, float position, const char* text) {
    DrawText(2, 0, x, position, text);
  }
  int GetBoldTextWidth(const char* text) { return GetTextWidth(3, text); }
  int GetItalicTextWidth(const char* text) { return GetTextWidth(2, text); }
  void DrawBoldTextW(int x, float position, std::u16string_view t) {
    DrawTextW(3, 0, x, position, t);
  }
  void DrawItalicTextW(int x, float position, std::u16string_view t) {
    DrawTextW(2, 0, x, position, t);
  }
  void DrawLyricTextW(int x, float position, std::u16string_view t) {
    DrawTextW(4, 0, x, position, t);
  }
  int GetBoldTextWidthW(std::u16string_view t) { return GetTextWidthW(3, t); }
  int GetItalicTextWidthW(std::u16string_view t) { return GetTextWidthW(2, t); }
  int GetLyricTextWidthW(std::u16string_view t) { return GetTextWidthW(4, t); }

  // --- Notation shapes ("DrawingActive" unless noted) ---
  int GetStemEndY(int direction, int position, int sizeIndex, int flags, int explicitLength) const;
  int GetStemAttachOffset(int sizeIndex, int headGlyph, int direction) const;
  void DrawStemUp(int x, int position, int sizeIndex, int headGlyph, int span, int flags,
                  int explicitLength);
  void DrawStemDown(int x, int position, int sizeIndex, int headGlyph, int span, int flags,
                    int explicitLength);
  void DrawStemStroke(int x, int startY, int endY, int direction);
  void DrawBeams(int x0, int y0, int x1, int y1, int sign, bool small, int count);
  void DrawSystemSeparator(int x, int y);
  void DrawTupletMark(int direction, int sizeIndex, int x0, int y0, int x1, int y1, bool bracket);
  void DrawHairpinLines(int kind, int x0, int x1, float position, bool openTip);
  void DrawSlurCurve(const TQuadCurve& curve, bool downward, bool small);
  void DrawTie(int position, bool below, int xa, int xb);
  // "idcCreationCount".
  int GetBarLineWidth(int kind);
  int GetRepeatDotOffset() const;
  void DrawBarLine(int kind, int x, int topPosition, int bottomPosition);
  void DrawBrace(int x, int topY, int bottomY, bool heavier);
  void DrawBracket(int x, int topY, int bottomY);
  void DrawMultiBarRest(int left, int right, std::u16string_view number, float textPosition,
                        bool centred);
  void DrawBarNumber(int x, float position, int kind, int number);
  void DrawGapRuler(int colorIndex, float position, int x, int width, bool hidden);
  void DrawVerticalArrow(int colorIndex, int x, int fromStep, int toStep);
  void DrawMarkerWedge(int x, float position, int colorIndex, int flags);
  int DrawExpressionAnchor(int x, float position, int justification);
  int DrawUserObjectMarker(int x, float position, int width, int colorIndex);

  // --- Scripted drawing (nothing outside a drawing phase unless stated) ---
  void SetPen(const TDrawPenSpec& pen) { currentPen = pen; }  // any time
  const TDrawPenSpec& GetPen() const { return currentPen; }
  void SetPenColorIndex(TDrawPenSpec& pen, int colorIndex) const;  // any time
  void ApplyPen(const TDrawPenSpec& pen);
  void ResetDrawing();
  void BeginPath();
  void CloseFigure();
  void AbortPath();
  void EndPath(bool fill, bool useBrush);
  bool IsPathOpen() const { return pathOpen; }
  void MoveTo(double x, double position);
  void LineTo(double x, double position);
  void HintLine(int colorIndex, double x, double position);
  void Ellipse(double rx, double ry);
  void RectangleFromHere(double w, double h);
  void RoundRect(double halfWidth, double halfHeight, double corner);
  // (x, float position) of the current point; (0, 0) outside a drawing phase.
  void GetCurrentPoint(int& x, float& position) const;
  // Points as (x, position); 3 points a cubic from the current point, 2 a quadratic.
  void Curve(std::span<const double> xy);
  // Count points (x, position pairs); fewer than 2 draw nothing.
  void Bezier(std::span<const double> xy);
  void SetUserFontFromSlot(int slot, int percent);
  void SetUserFont(const TLogFont& font);
  const TLogFont& GetUserFont() const { return userFont; }
  // Width in pixels, height and descent in steps; zeros outside a phase.
  void CalcTextSize(std::string_view utf8, int& width, float& height, float& descent);
  void DrawTextUtf8(std::string_view utf8, int flags, int backgroundMode);
  void DrawTextWide(std::u16string_view text, int flags, int backgroundMode);
  void MoveBy(double dx, double dy);

private:
  void Build(int requestedSpace, TDeviceContext* sizing);
  TDcFont MakeTextFont(int textIndex, int percent, int dpi) const;
  void RequireDrawing() const;
  // From the y a glyph is drawn at to its baseline (pixels).
  double GlyphBaselineOffset(int sizeIndex, int glyph) const;
  void RequireSizing() const;
  TDeviceContext& Measurer() const;
  void SelectColorPen();
  void SelectTempPen(int width, TPenStyle style = TPenStyle::kSolid, TPenCap cap = TPenCap::kRound,
                     TPenJoin join = TPenJoin::kRound);
  void SelectColorBrush();
  void SelectHollowBrush();
  void FillPolygon(std::span<const TDcPoint> points, TFillRule rule = TFillRule::kAlternate);
  void DrawPenLine(int width, int x0, int y0, int x1, int y1);
  TDcFont UserDcFont() const;
  void RealisePen();
  void ThickStroke(int x, int y0, int y1);
  void DashedStroke(int x, int y0, int y1);
  void RepeatDots(int x);
  void DrawBezierFigure(std::span<const TDcPoint> points);

  struct TSavedState {
    TDcPen pen;
    TDcBrush brush;
    TDcFont font;
    int align = 0;
    TColorRef textColor = 0;
    bool transparent = true;
  };
  static TSavedState Save(const TDeviceContext& dc);
  static void Restore(TDeviceContext& dc, const TSavedState& state);

  const TMusicFontsData* data;
  const TStaffColorHandles* colors;
  TScreenContextFactory* screens;
  IFontCatalog* catalog;

  int space = kMinSpace;
  int referenceSpace = kMinSpace;
  int refDpiX = 96;
  int refDpiY = 96;
  bool hasReference = false;
  int lyricLineHeight = 0;
  int stemThickness = 1;
  int staffLineThickness = 1;
  int stemPenWidth = 1;
  int accidentalColumnWidth = 0;
  int fullEm = 0;
  int cueEm = 0;
  std::array<int, 82> widths{};
  std::array<TDcFont, kFontSlotCount> fontSlots;

  bool drawingActive = false;
  int idcCreationCount = 0;
  TDeviceContext* sizeDC = nullptr;
  TDeviceContext* drawDC = nullptr;
  std::unique_ptr<TDeviceContext> screenDC;
  TSavedState savedDraw;
  TSavedState savedSize;
  int staffOriginY = 0;
  int colorIndex = 0;
  int shapeOption = 0;

  TDrawPenSpec currentPen;
  TDrawPenSpec realisedPen;
  bool penRealised = false;
  TLogFont userFont{};
  bool pathOpen = false;
};

}  // namespace kvt
