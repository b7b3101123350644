#pragma once
// TTimeSignatureData (type code 5, "TimeSig"): beats per bar (1-128), the beat value as a
// power of two (exponent 0 whole ... 5 thirty-second) and a drawing style.

#include "notation/items/notated_item.h"

namespace kvt {

enum TTimeSigStyle : int {
  kTimeSigStandard = 0,
  kTimeSigCommon = 1,     // drawn as C, 4/4
  kTimeSigAllaBreve = 2,  // drawn as cut C, 2/2
};

class TTimeSignatureData : public TNotatedItem {
public:
  // SetSignature(beats, exponent); Standard style.
  explicit TTimeSignatureData(int beats = 4, int exponent = 2);

  static constexpr TNotatedItemType kType = kItemTimeSig;

  TNotatedItemType GetType() const override { return kType; }
  int GetTopPos() const override { return -4; }
  int GetBottomPos() const override { return 4; }
  // The state's beats and beat exponent become this signature's.
  void ApplyToContext(TStaffContextState& state) const override;
  // A time signature record at the song position, unless the song position is not 0 and the
  // state already has these beats and this exponent.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  int GetBeats() const { return beats; }
  int GetBeatExponent() const { return beatExponent; }
  // 2 to the exponent.
  int GetBeatValue() const { return 1 << beatExponent; }
  // Beats and exponent are taken as magnitudes; beats above 127 become 128 and 0 becomes 1;
  // an exponent above 4 becomes 5.
  void SetSignature(int beats, int exponent);
  int GetStyle() const { return style; }
  // Masked to 4 bits; Common also sets 4/4 and AllaBreve 2/2.
  void SetStyle(int style);
  // Ticks of one bar: beats x (768 >> exponent).
  int GetBarTicks() const { return GetBeats() * (768 >> GetBeatExponent()); }

  // 0-5 for the beat values 1, 2, 4, 8, 16, 32; 2 for anything else.
  static int ExponentOf(int denominator);

private:
  uint16_t beats : 8;
  uint16_t beatExponent : 4;
  uint16_t style : 4;
};

}  // namespace kvt
