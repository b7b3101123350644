#include "draw/quad_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kvt {
namespace {

int ToInt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, static_cast<double>(std::numeric_limits<int>::min()),
                                     static_cast<double>(std::numeric_limits<int>::max())));
}

}  // namespace

double TQuadCurve::SafeDivide(double a, double b) {
  if (std::abs(b) < 0.0001) b = std::signbit(b) ? -0.0001 : 0.0001;
  return a / b;
}

bool TQuadCurve::ContainsX(int x) const { return x >= std::min(sx, ex) && x <= std::max(sx, ex); }

bool TQuadCurve::StrictlyContainsX(int x) const { return x > std::min(sx, ex) && x < std::max(sx, ex); }

void TQuadCurve::Reverse() {
  std::swap(sx, ex);
  std::swap(sy, ey);
}

TDcPoint TQuadCurve::PointAt(double t) const {
  const double ax = sx + (double(cx) - sx) * t, ay = sy + (double(cy) - sy) * t;
  const double bx = cx + (double(ex) - cx) * t, by = cy + (double(ey) - cy) * t;
  return {ToInt(ax + (bx - ax) * t), ToInt(ay + (by - ay) * t)};
}

int TQuadCurve::SolveX(int x, double& t1, double& t2) const {
  const double a = double(sx) + ex - 2.0 * cx;
  const double b = 2.0 * cx - 2.0 * sx;
  const double c = double(sx) - x;
  if (a == 0) {
    t1 = -SafeDivide(c, b);
    return t1 >= 0 && t1 <= 1 ? 1 : 0;
  }
  const double root = std::sqrt(std::abs(b * b - 4 * a * c));
  t1 = (-b + root) / (2 * a);
  t2 = (-b - root) / (2 * a);
  if (!(t1 >= 0 && t1 <= 1)) return 0;
  return t2 != t1 && t2 >= 0 && t2 <= 1 ? 2 : 1;
}

int TQuadCurve::YAtX(int x) const {
  double t1 = 0, t2 = 0;
  if (SolveX(x, t1, t2) > 0) return PointAt(t1).y;
  return x < sx ? sy : ey;
}

int TQuadCurve::PassThrough(int x, int y, int direction) {
  if (!StrictlyContainsX(x)) return 0;
  double t = 0, t2 = 0;
  if (SolveX(x, t, t2) != 1) return 0;
  const int at = PointAt(t).y;
  const int d = direction < 0 ? -1 : 1;
  // Already beyond y in the direction (above means a smaller y).
  if ((double(y) - at) * d >= 0) return 1;
  const double u = 1 - t;
  double control = (y - t * t * ey - u * u * sy) / (2 * t * u);
  // Near an end the exact control runs off towards infinity; one span beyond the points is
  // as far as a curve of this size can use.
  const double reach = std::abs(double(ex) - sx) + 1;
  const double low = std::min({double(sy), double(ey), double(y)}) - reach;
  const double high = std::max({double(sy), double(ey), double(y)}) + reach;
  if (!std::isfinite(control)) control = d > 0 ? low : high;
  cy = ToInt(std::clamp(control, low, high));
  return 1;
}

void TQuadCurve::FitOver(std::span<const TDcPoint> points, int height, int direction) {
  if (points.empty()) return;
  const int d = direction < 0 ? -1 : 1;
  sx = points.front().x;
  sy = points.front().y;
  ex = points.back().x;
  ey = points.back().y;
  cx = ToInt((double(sx) + ex) / 2);
  cy = ToInt((double(sy) + ey) / 2);
  PassThrough(cx, ToInt(double(cy) - double(d) * height), d);

  double m = SafeDivide(double(cy) - sy, double(cx) - sx + 1);
  double l = SafeDivide(double(cy) - ey, double(cx) - ex + 1);
  for (size_t i = 1; i + 1 < points.size(); ++i) {
    const TDcPoint& p = points[i];
    if (!StrictlyContainsX(p.x)) continue;
    if ((double(sy) - p.y) * d > 0) {
      const double slope = SafeDivide(double(p.y) - sy, double(p.x) - sx + 1);
      if ((slope - m) * d < 0) m = slope;
    }
    if ((double(ey) - p.y) * d > 0) {
      const double slope = SafeDivide(double(p.y) - ey, double(p.x) - ex + 1);
      if ((slope - l) * d > 0) l = slope;
    }
  }
  if (m - l > 0) {
    const double crossing = (double(ey) - sy + m * sx - l * ex) / (m - l);
    if (std::isfinite(crossing)) cx = ToInt(std::clamp(crossing, double(std::min(sx, ex)), double(std::max(sx, ex))));
  }
  for (size_t i = 1; i + 1 < points.size(); ++i) PassThrough(points[i].x, points[i].y, d);
}

void TQuadCurve::ToCubicBezier(TDcPoint out[4]) const {
  auto part = [](int from, int to, int num) {
    return ToInt(double(from) + std::trunc((double(to) - from) * num / 3));
  };
  out[0] = {sx, sy};
  out[1] = {part(sx, cx, 2), part(sy, cy, 2)};
  out[2] = {part(cx, ex, 1), part(cy, ey, 1)};
  out[3] = {ex, ey};
}

}  // namespace kvt
