#include "notation/items/clef_data.h"

#include "notation/items/packed_field.h"

namespace kvt {

namespace {

constexpr int kTopPos[kClefTypeCount] = {-6, -4, -5, -7, -4};
constexpr int kBottomPos[kClefTypeCount] = {7, 3, 5, 3, 4};

}  // namespace

TClefData::TClefData(int type) : clefType(0), octaveShift(0), autoSysOff(0) {
  SetClefType(type);
}

void TClefData::SetClefType(int type) { clefType = MaskBits(type, 8); }

int TClefData::GetOctaveShift() const { return SignExtend(octaveShift, 7); }

void TClefData::SetOctaveShift(int shift) { octaveShift = MaskBits(shift, 7); }

int TClefData::ClefIndex() const { return BoundIndex(GetClefType(), kClefTypeCount, kClefTreble); }

int TClefData::GetTopPos() const {
  return kTopPos[ClefIndex()] - (GetOctaveShift() == kOctaveShiftUp ? 2 : 0);
}

int TClefData::GetBottomPos() const {
  return kBottomPos[ClefIndex()] + (GetOctaveShift() == kOctaveShiftDown ? 2 : 0);
}

void TClefData::ApplyToContext(TStaffContextState& state) const {
  // The state keeps 2 bits of octave shift: anything but up or down is no shift.
  const int shift = GetOctaveShift();
  state.SetClef(GetClefType(),
                (shift == kOctaveShiftUp || shift == kOctaveShiftDown) ? shift : kOctaveShiftNone);
}

}  // namespace kvt
