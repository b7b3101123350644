#include "notation/items/tempo_data.h"

#include <algorithm>
#include <cstdint>

#include "midi/events/midi_file_buf.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Quarter notes per base note as a fraction: Eighth 1/2, Eighth Dotted 3/4, Quarter 1,
// Quarter Dotted 3/2, Half 2, Half Dotted 3.
struct TRatio {
  int num;
  int den;
};
constexpr TRatio kQuartersPerBase[kTempoBaseCount] = {{1, 2}, {3, 4}, {1, 1},
                                                     {3, 2}, {2, 1}, {3, 1}};

int Saturate(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

const TRatio& RatioOf(int base) { return kQuartersPerBase[BoundIndex(base, kTempoBaseCount, kTempoQuarter)]; }

}  // namespace

TTempoData::TTempoData(int t, int b) : tempo(kMinTempo), base(kTempoQuarter) {
  SetTempo(t, b);
  SetPos(-10);
  SetWide(false);
}

void TTempoData::SetTempo(int t, int b) {
  base = static_cast<uint8_t>(b);
  tempo = std::max(t, kMinTempo);
}

void TTempoData::SetText(std::u16string_view value) {
  text.assign(value.substr(0, Utf16PrefixLength(value, kMaxTempoTextUnits)));
}

int TTempoData::QuarterTempo(int t, int b) {
  const TRatio& r = RatioOf(b);
  return std::max(Saturate(static_cast<int64_t>(t) * r.num / r.den), kMinTempo);
}

int TTempoData::FromQuarterTempo(int q, int b) {
  const TRatio& r = RatioOf(b);
  return Saturate(static_cast<int64_t>(q) * r.den / r.num);
}

int TTempoData::ConvertTempo(int t, int from, int to) {
  return FromQuarterTempo(QuarterTempo(t, from), to);
}

void TTempoData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int32_t position = state.GetSongPosition();
  buffer->AddTempo(static_cast<uint32_t>(position < 0 ? 0 : position), GetQuarterTempo());
}

}  // namespace kvt
