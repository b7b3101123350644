#pragma once
// Real-number positions and widths of items, shared by markers, expressions, user objects,
// spacers and boundaries.
//
// A real staff position is kept to hundredths (floor(x * 100 + 0.5) * 0.01). Values from
// files and scripts may be huge or not numbers at all: a non-finite value becomes 0 and a
// finite one is limited to +-kMaxItemPos steps, so converting the position to an integer is
// always defined.

namespace kvt {

inline constexpr double kMaxItemPos = 10000.0;

// x rounded to hundredths; non-finite 0; limited to -kMaxItemPos..kMaxItemPos.
float RoundItemPos(double x);

// The position as an integer (truncated toward zero). Defined for every float: non-finite
// values give 0 and the result never exceeds kMaxItemPos in magnitude.
int ItemPosToInt(float pos);

// A width in hundredths of a unit from a real width: the integer part of (x + 0.006) * 100,
// limited to lo..hi; a non-finite x gives lo.
int HundredthsFromReal(double x, int lo, int hi);

// Ticks of one duration unit by its code: 0 whole 768, 1 half 384, 2 quarter 192, 3 eighth
// 96, 4 sixteenth 48, 5 thirty-second 24, 6 sixty-fourth 12; any other code 192.
constexpr int DurationUnitTicks(int code) {
  return (code >= 0 && code <= 6) ? (768 >> code) : 192;
}

}  // namespace kvt
