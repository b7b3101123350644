#pragma once
// MulDiv: number x numerator / denominator with a 64-bit intermediate, rounded half away from
// zero, as the drawing rules state their scalings. -1 when the denominator is 0 or the result
// does not fit 32 bits (the window system's convention, which the callers test for).

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace kvt {

inline int MulDiv(int64_t number, int64_t numerator, int64_t denominator) {
  if (denominator == 0) return -1;
  // Operands of the drawing code stay far below 2^31 each; the product fits 64 bits.
  const __int128 product = static_cast<__int128>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const __int128 magnitude = product < 0 ? -product : product;
  const __int128 divisor = denominator < 0 ? -static_cast<__int128>(denominator) : denominator;
  const __int128 q = (magnitude + divisor / 2) / divisor;
  const __int128 result = negative ? -q : q;
  if (result > std::numeric_limits<int32_t>::max() || result < std::numeric_limits<int32_t>::min()) return -1;
  return static_cast<int>(result);
}

}  // namespace kvt
