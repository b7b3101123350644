#pragma once
// The coordinate range the drawing operations accept. Coordinates from layout stay far inside
// it; anything from outside (scripts, damaged scores) is clamped into it on entry, so the sums
// of a coordinate and a few derived lengths (each bounded by the largest space) never
// overflow 32 bits.

#include <algorithm>
#include <cstdint>

namespace kvt {

inline constexpr int kCoordLimit = 100'000'000;

inline int ClampCoord(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kCoordLimit, kCoordLimit)); }

}  // namespace kvt
