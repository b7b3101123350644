#pragma once
// CountBits: the number of set bits of a 32-bit value.

#include <bit>
#include <cstdint>

namespace kvt {

constexpr int CountBits(uint32_t value) { return std::popcount(value); }

}  // namespace kvt
