#pragma once
// Helpers for the packed fields of the notated items. Every item field is a small bit field
// read and written only through its accessors; the accessors use these helpers so that a value
// from outside (a file, the clipboard, a script) is cut to the field's width or clamped to its
// range before it is stored, and never spills into a neighbouring field.
//
// Usage in an item class (C++ bit fields of unsigned type hold the raw bits):
//   void SetStemDir(int v) { stemDir = MaskBits(v, 2); }          // mask to the width
//   void SetVertOffset(int v) { vertOffset = ClampInt(v, -2001, 2001); }
//   int GetSigned() const { return SignExtend(raw, 12); }          // signed field stored raw

#include <cstdint>

namespace kvt {

// The low `width` bits of value (width 1 to 32).
constexpr uint32_t MaskBits(int value, int width) {
  return width >= 32 ? static_cast<uint32_t>(value)
                     : static_cast<uint32_t>(value) & ((uint32_t{1} << width) - 1u);
}

// The largest unsigned value a field of `width` bits holds (width 1 to 31).
constexpr int MaxUnsigned(int width) { return static_cast<int>((uint32_t{1} << width) - 1u); }

// Reads the low `width` bits of raw as a two's-complement signed number (width 1 to 31).
constexpr int SignExtend(uint32_t raw, int width) {
  const uint32_t masked = raw & ((uint32_t{1} << width) - 1u);
  const uint32_t sign = uint32_t{1} << (width - 1);
  return static_cast<int>(masked ^ sign) - static_cast<int>(sign);
}

// value limited to lo..hi (lo <= hi).
constexpr int ClampInt(int value, int lo, int hi) {
  return value < lo ? lo : (value > hi ? hi : value);
}

// value limited to the range of a signed field of `width` bits: saturates instead of wrapping.
constexpr int SaturateSigned(int value, int width) {
  return ClampInt(value, -(1 << (width - 1)), (1 << (width - 1)) - 1);
}

// value limited to the range of an unsigned field of `width` bits.
constexpr int SaturateUnsigned(int value, int width) {
  return ClampInt(value, 0, MaxUnsigned(width));
}

// A MIDI data byte (note, velocity, controller, value, program): always 0 to 127.
constexpr int ClampMidiData(int value) { return ClampInt(value, 0, 127); }

// An index taken from data, bounded to a table of `count` entries: out-of-range values give
// `fallback` (which must itself lie inside the table).
constexpr int BoundIndex(int index, int count, int fallback) {
  return (index >= 0 && index < count) ? index : fallback;
}

}  // namespace kvt
