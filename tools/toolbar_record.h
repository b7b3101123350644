#pragma once
// The saved place of one toolbar: a binary value in the settings section "Toolbars", named by
// the toolbar's title, little-endian:
//
//   offset size field
//   0      2    style word (edge, floating, hidden and look bits)
//   2      2    float position x (signed)
//   4      2    float position y (signed)
//   6      2    chosen floating layout index
//   8      1    index in the dock station
//   9      1    row-start flag
//   10     1    button size in pixels, written only when it is not 18
//
// Records come from a file that people and older versions wrote, so decoding repairs what it
// cannot use instead of trusting it. No Qt: the fuzz target decodes records directly.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kvt {

// Style word bits.
inline constexpr uint16_t TBRS_ALIGN_LEFT = 0x1000;
inline constexpr uint16_t TBRS_ALIGN_TOP = 0x2000;
inline constexpr uint16_t TBRS_ALIGN_RIGHT = 0x4000;
inline constexpr uint16_t TBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr uint16_t TBRS_ALIGN_ANY = 0xF000;
inline constexpr uint16_t TBRS_FLOATING = 0x0010;
inline constexpr uint16_t TBRS_HIDDEN = 0x0020;
inline constexpr uint16_t TBRS_3D = 0x0080;
// Border bits of a dock station's edge style.
inline constexpr uint16_t TBRS_BORDER_LEFT = 0x0100;
inline constexpr uint16_t TBRS_BORDER_TOP = 0x0200;
inline constexpr uint16_t TBRS_BORDER_RIGHT = 0x0400;
inline constexpr uint16_t TBRS_BORDER_BOTTOM = 0x0800;
// Added to a style word below 0x1000, a record of an older layout: top edge, bottom border.
inline constexpr uint16_t kOlderStyleBits = 0x2800;

inline constexpr int kDefaultButtonSize = 18;
inline constexpr int kMinButtonSize = 6;
inline constexpr int kMaxButtonSize = 120;
inline constexpr size_t kToolbarRecordSize = 10;  // 11 with a button size
inline constexpr size_t kToolbarRecordReadLimit = 22;

struct TToolbarRecord {
  uint16_t style = TBRS_ALIGN_TOP;
  int16_t floatX = 10;
  int16_t floatY = 10;
  uint16_t layoutIndex = 0;
  uint8_t dockIndex = 0;
  bool rowStart = false;
  int buttonSize = kDefaultButtonSize;

  bool operator==(const TToolbarRecord&) const = default;
};

// The one edge bit a style keeps: the first of top, bottom, left, right that it holds; top for
// none.
uint16_t SingleEdgeBit(uint16_t style);

// The record's bytes: 10, or 11 when the button size is not 18. A size outside 6..120 is
// written as 18 (not at all).
std::vector<uint8_t> EncodeToolbarRecord(const TToolbarRecord& record);

// Decodes size bytes (only the first 22 are looked at). Fewer than 10 bytes: no record
// (nullopt). Repairs: a float x below 0 or above screenWidth - 10 becomes 10 (the same for y
// with screenHeight); a missing button size or one outside 6..120 becomes 18; a style below
// 0x1000 gets 0x2800 added, and a style with several edge bits keeps only SingleEdgeBit.
std::optional<TToolbarRecord> DecodeToolbarRecord(const uint8_t* bytes, size_t size,
                                                  int screenWidth, int screenHeight);

}  // namespace kvt
