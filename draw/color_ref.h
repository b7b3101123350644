#pragma once
// TColorRef: a drawing colour as a 32-bit word 0x00BBGGRR (red in the low byte).

#include <cstdint>

namespace kvt {

using TColorRef = uint32_t;

constexpr TColorRef MakeColorRef(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<TColorRef>(red) | static_cast<TColorRef>(green) << 8 |
         static_cast<TColorRef>(blue) << 16;
}
constexpr uint8_t RedOf(TColorRef color) { return static_cast<uint8_t>(color & 0xFF); }
constexpr uint8_t GreenOf(TColorRef color) { return static_cast<uint8_t>((color >> 8) & 0xFF); }
constexpr uint8_t BlueOf(TColorRef color) { return static_cast<uint8_t>((color >> 16) & 0xFF); }

}  // namespace kvt
