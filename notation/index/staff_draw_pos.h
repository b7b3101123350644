#pragma once
// TStaffDrawPos: one draw position of a laid-out staff: a packed record that the staff layout
// fills, one or more per item, and that the editor and the notation indices read.
//
// This header holds the record's data and the accessors the notation indices need; the staff
// layout adds its measuring operations around it. Layout of the record (no gaps):
//   32-bit block: bit 0 hidden, bit 1 auto-inserted, bit 2 width pending, bits 3-10 draw kind,
//                 bits 11-18 accidental columns, bits 19-26 head columns
//   item index (16-bit unsigned), counter (16-bit unsigned), width (32-bit signed),
//   time slots (32-bit signed)
// The width is 32-bit: long syllables and texts on large pages pass 16 bits.
// The counter is the bar counter of a bar line or multi-bar-rest position, the syllable
// counter of a note position; a multi-bar-rest position visited after its first bar carries
// the bar inside the rest instead.

#include <cstdint>

namespace kvt {

// Draw kinds.
enum TDrawPosKind : int {
  kDrawOther = 0,
  kDrawSizer = 1,
  kDrawGap = 2,
  kDrawGapEnd = 3,
  kDrawMultiBarRest = 4,
  kDrawSpacer = 5,
  kDrawUserObject = 6,
  kDrawMarker = 7,
  kDrawStaffStart = 8,
  kDrawForwardExpression = 9,
  kDrawEnding = 10,
  kDrawGraceNote = 11,
  kDrawSignatureExpression = 12,
  kDrawClef = 13,
  kDrawKey = 14,
  kDrawTimeSig = 15,
  kDrawNote = 16,
  kDrawMultiBarRestContinuation = 17,
  kDrawBarLine = 18,
};

class TStaffDrawPos {
public:
  // Everything cleared, kind 0, width pending.
  void Reset() {
    flags = kWidthPendingBit;
    itemIndex = 0;
    counter = 0;
    width = 0;
    timeSlots = 0;
  }

  bool IsHidden() const { return (flags & 1u) != 0; }
  void SetHidden(bool on) { SetFlag(1u, on); }
  bool IsAutoInsert() const { return (flags & 2u) != 0; }
  void SetAutoInsert(bool on) { SetFlag(2u, on); }
  bool IsWidthPending() const { return (flags & kWidthPendingBit) != 0; }
  TDrawPosKind GetKind() const { return static_cast<TDrawPosKind>((flags >> 3) & 0xFFu); }
  void SetKind(TDrawPosKind kind) {
    flags = (flags & ~(0xFFu << 3)) | ((static_cast<uint32_t>(kind) & 0xFFu) << 3);
  }

  int GetItemIndex() const { return itemIndex; }
  void SetItemIndex(int index) { itemIndex = static_cast<uint16_t>(index); }
  int GetCounter() const { return counter; }
  void SetCounter(int value) { counter = static_cast<uint16_t>(value); }
  int GetWidth() const { return width; }
  void SetWidth(int w) {
    width = w;
    SetFlag(kWidthPendingBit, false);
  }
  // Adds to the width; the sum saturates instead of wrapping.
  void AddWidth(int w) {
    const int64_t sum = static_cast<int64_t>(width) + w;
    width = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : (sum < INT32_MIN ? INT32_MIN : sum));
  }
  // Width 0, marked for recomputation.
  void ClearWidth() {
    width = 0;
    SetFlag(kWidthPendingBit, true);
  }
  int GetAccidentalColumns() const { return static_cast<int>((flags >> 11) & 0xFFu); }
  void SetAccidentalColumns(int n) { SetField(11, n); }
  int GetHeadColumns() const { return static_cast<int>((flags >> 19) & 0xFFu); }
  void SetHeadColumns(int n) { SetField(19, n); }
  int32_t GetTimeSlots() const { return timeSlots; }
  void SetTimeSlots(int32_t ticks) { timeSlots = ticks; }

  bool IsStaffStart() const { return GetKind() == kDrawStaffStart; }
  bool IsMultiBarRest() const {
    return GetKind() == kDrawMultiBarRest || GetKind() == kDrawMultiBarRestContinuation;
  }
  // Bar counter of a bar line or multi-bar-rest position; 0 for other kinds.
  int GetBarCounter() const { return IsMultiBarRest() || GetKind() == kDrawBarLine ? counter : 0; }
  // The bar inside a multi-bar rest that this position stands for: the counter of a later
  // bar's position (auto-inserted) or of a continuation; 0 for the rest's own position and
  // for every other kind.
  int GetMultiBarRestBar() const {
    if (GetKind() == kDrawMultiBarRestContinuation) return counter;
    return GetKind() == kDrawMultiBarRest && IsAutoInsert() ? counter : 0;
  }

private:
  static constexpr uint32_t kWidthPendingBit = 4u;
  void SetFlag(uint32_t bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); }
  // An 8-bit field at `shift`; values outside 0..255 are clamped.
  void SetField(int shift, int value) {
    const uint32_t v = static_cast<uint32_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
    flags = (flags & ~(0xFFu << shift)) | (v << shift);
  }

  uint32_t flags = kWidthPendingBit;
  uint16_t itemIndex = 0;
  uint16_t counter = 0;
  int32_t width = 0;
  int32_t timeSlots = 0;
};

}  // namespace kvt
