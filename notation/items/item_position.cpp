#include "notation/items/item_position.h"

#include <algorithm>
#include <cmath>

namespace kvt {

float RoundItemPos(double x) {
  if (!std::isfinite(x)) return 0.0f;
  x = std::clamp(x, -kMaxItemPos, kMaxItemPos);
  return static_cast<float>(std::floor(x * 100.0 + 0.5) * 0.01);
}

int ItemPosToInt(float pos) {
  if (!std::isfinite(pos)) return 0;
  return static_cast<int>(std::clamp(static_cast<double>(pos), -kMaxItemPos, kMaxItemPos));
}

int HundredthsFromReal(double x, int lo, int hi) {
  if (!std::isfinite(x)) return lo;
  const double h = std::trunc((x + 0.006) * 100.0);
  if (h <= lo) return lo;
  if (h >= hi) return hi;
  return static_cast<int>(h);
}

}  // namespace kvt
