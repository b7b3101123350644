#pragma once
// TQuadCurve: a quadratic curve (start, control, end) in device pixels, the shape of slurs.
// Layout fits it over the points a slur must clear; drawing converts it to cubic Bezier
// points. Direction arguments: +1 for a curve above its points (device y grows downwards, so
// "above" means smaller y), -1 below.
//
// Every operation works in double and clamps its results into the 32-bit fields: no input
// overflows or divides by zero, and fitting keeps the control point within the curve's reach
// (its y at most one span beyond the points, its x within the ends).

#include <cstdint>
#include <span>

#include "draw/device_context.h"

namespace kvt {

class TQuadCurve {
public:
  TQuadCurve() = default;
  TQuadCurve(int sx, int sy, int cx, int cy, int ex, int ey)
      : sx(sx), sy(sy), cx(cx), cy(cy), ex(ex), ey(ey) {}

  // a / b, with b replaced by 0.0001 (keeping its sign) when its magnitude is below that.
  static double SafeDivide(double a, double b);

  bool ContainsX(int x) const;          // ends included
  bool StrictlyContainsX(int x) const;  // ends excluded
  void Reverse();
  // The point at parameter t, each coordinate truncated.
  TDcPoint PointAt(double t) const;
  // The parameters at which the curve has that x: 0, 1 or 2 of them, in t1 then t2.
  int SolveX(int x, double& t1, double& t2) const;
  // The y at x; left of the start the start y, else (no solution) the end y.
  int YAtX(int x) const;
  // Moves the control y so that the curve passes through (x, y), unless the curve is already
  // beyond y in the direction there. 0 when x is not strictly inside or the solution is not
  // single, else 1.
  int PassThrough(int x, int y, int direction);
  // Fits the curve over the points (start = first, end = last) rising `height` above the
  // chord in the direction and clearing every inner point. Nothing for no points.
  void FitOver(std::span<const TDcPoint> points, int height, int direction);
  // Start, the two cubic control points, end.
  void ToCubicBezier(TDcPoint out[4]) const;

  int sx = 0, sy = 0, cx = 0, cy = 0, ex = 0, ey = 0;

  bool operator==(const TQuadCurve&) const = default;
};

}  // namespace kvt
