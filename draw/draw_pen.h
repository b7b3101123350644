#pragma once
// TDrawPenSpec: the pen a script draws with: style (0 solid, 1 dash, 2 dot, 3 dash-dot), width
// (at least 1) and a brush record whose colour is the pen's colour. Plain data; the drawing
// code realises it lazily (TMusicFonts, scripted drawing).

#include <algorithm>
#include <cstdint>

#include "draw/color_ref.h"

namespace kvt {

// The 12-byte brush record: style, colour, hatch.
struct TLogBrush {
  uint32_t style = 0;
  TColorRef color = 0;
  uint32_t hatch = 0;
  bool operator==(const TLogBrush&) const = default;
};

class TDrawPenSpec {
public:
  // A pen wider than this is no pen a staff can show; scripts asking for more get this.
  static constexpr int kMaxWidth = 10000;

  int Style() const { return style; }
  // The low 2 bits.
  void SetStyle(int value) { style = static_cast<uint8_t>(value & 3); }
  int Width() const { return width; }
  // Clamped to 1..kMaxWidth.
  void SetWidth(int value) { width = std::clamp(value, 1, kMaxWidth); }
  const TLogBrush& Brush() const { return brush; }
  TLogBrush& Brush() { return brush; }
  TColorRef Color() const { return brush.color; }
  void SetColor(TColorRef color) { brush.color = color; }
  // Realised with a geometric pen (caps and joins of its own) when wide or not solid.
  bool IsGeometric() const { return width > 2 || style != 0; }

  bool operator==(const TDrawPenSpec&) const = default;

private:
  uint8_t style = 0;
  int width = 1;
  TLogBrush brush;
};

}  // namespace kvt
