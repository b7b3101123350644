#include "draw/items/clef_placement.h"

#include <array>
#include <cstddef>

namespace kvt {

namespace {
// Treble, Bass, Alto, Tenor, Percussion.
constexpr std::array<TClefPlacement, 5> kPlacements{{
    {2, 4, -8, 9, 2},
    {3, 4, -6, 4, -2},
    {4, 4, -6, 6, 0},
    {4, 2, -8, 4, -2},
    {53, 4, -5, 6, 0},
}};
}  // namespace

const TClefPlacement& GetClefPlacement(int clefType) {
  if (clefType < 0 || clefType >= static_cast<int>(kPlacements.size())) clefType = 0;
  return kPlacements[static_cast<std::size_t>(clefType)];
}

int PulledClefY(int y, int pullY, int sizeIndex) {
  if (sizeIndex != 1) return y;
  return y + (pullY - y) / 3;
}

}  // namespace kvt
