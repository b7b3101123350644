#include "notation/items/staff_sizer.h"

#include <algorithm>

#include "notation/items/item_position.h"

namespace kvt {

namespace {

int NewSizeValue(int v) {
  if (v < 0) return 0;
  return v > 100 ? 99 : v;
}

}  // namespace

TStaffSizer::TStaffSizer() : style(kSizerReset), data1(0), data2(0) {}

void TStaffSizer::SetStyle(int newStyle) {
  style = newStyle;
  switch (style) {
    case kSizerNewSize:
      data1 = 8;
      data2 = 0;
      break;
    case kSizerGap:
      SetGapWord(200);
      break;
    case kSizerNewSystem:
      data1 = static_cast<uint8_t>(data1 & ~1);
      break;
    default:
      break;
  }
}

int TStaffSizer::GetUpper() const { return style == kSizerNewSize ? data1 : 0; }

int TStaffSizer::GetLower() const { return style == kSizerNewSize ? data2 : 0; }

void TStaffSizer::SetNewSize(int upper, int lower) {
  const int u = NewSizeValue(upper);
  const int l = NewSizeValue(lower);
  data1 = static_cast<uint8_t>(u == 0 && l == 0 ? 8 : u);
  data2 = static_cast<uint8_t>(l);
}

void TStaffSizer::SetGapWord(int word) {
  data1 = static_cast<uint8_t>(word & 0xFF);
  data2 = static_cast<uint8_t>((word >> 8) & 0xFF);
}

int TStaffSizer::GetGapWidth() const { return style == kSizerGap ? (GapWord() & kMaxGapWidth) : 0; }

void TStaffSizer::SetGapWidth(int width) {
  SetGapWord((GapWord() & 0x8000) | std::clamp(width, 0, kMaxGapWidth));
}

void TStaffSizer::SetGapWidthReal(double x) { SetGapWidth(HundredthsFromReal(x, 0, kMaxGapWidth)); }

bool TStaffSizer::HasSystemConnections() const {
  return style == kSizerGap && (GapWord() & 0x8000) != 0;
}

void TStaffSizer::SetSystemConnections(bool on) {
  if (style != kSizerGap) return;
  SetGapWord(on ? (GapWord() | 0x8000) : (GapWord() & kMaxGapWidth));
}

bool TStaffSizer::IsNewPage() const { return style == kSizerNewSystem && (data1 & 1) != 0; }

void TStaffSizer::SetNewPage(bool on) {
  data1 = static_cast<uint8_t>(on ? (data1 | 1) : (data1 & ~1));
}

}  // namespace kvt
