#include "notation/items/time_signature_data.h"

#include "midi/events/midi_file_buf.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

// |v| without the overflow of negating the smallest int.
int Magnitude(int v) { return v >= 0 ? v : (v == INT32_MIN ? INT32_MAX : -v); }

}  // namespace

TTimeSignatureData::TTimeSignatureData(int beatCount, int exponent)
    : beats(4), beatExponent(2), style(kTimeSigStandard) {
  SetSignature(beatCount, exponent);
}

void TTimeSignatureData::SetSignature(int beatCount, int exponent) {
  const int b = Magnitude(beatCount);
  const int e = Magnitude(exponent);
  beats = static_cast<uint16_t>(b > 127 ? 128 : (b == 0 ? 1 : b));
  beatExponent = static_cast<uint16_t>(e > 4 ? 5 : e);
}

void TTimeSignatureData::SetStyle(int newStyle) {
  style = static_cast<uint16_t>(MaskBits(newStyle, 4));
  if (style == kTimeSigCommon) SetSignature(4, 2);
  if (style == kTimeSigAllaBreve) SetSignature(2, 1);
}

int TTimeSignatureData::ExponentOf(int denominator) {
  switch (denominator) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    case 16: return 4;
    case 32: return 5;
    default: return 2;
  }
}

void TTimeSignatureData::ApplyToContext(TStaffContextState& state) const {
  state.SetTimeSig(GetBeats(), GetBeatExponent());
}

void TTimeSignatureData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int32_t position = state.GetSongPosition();
  if (position != 0 && state.GetTimeSigBeats() == GetBeats() &&
      state.GetTimeSigBeatExponent() == GetBeatExponent())
    return;
  buffer->AddTimeSignature(static_cast<uint32_t>(position < 0 ? 0 : position), GetBeats(),
                           GetBeatExponent());
}

}  // namespace kvt
