#include "notation/items/tempo_variance.h"

#include <algorithm>
#include <cstdlib>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

constexpr std::string_view kDisplayTexts[kTempoVarianceStyleCount] = {
    ",", "//", "?", "accel.", "allarg.", "rall.", "ritard.", "rit.", "rubato", "string."};

constexpr int64_t kMaxEventTime = INT32_MAX;

float DefaultPos(int style) {
  switch (style) {
    case kTempoVarBreathMark: return -8.0f;
    case kTempoVarCaesura: return -4.0f;
    case kTempoVarFermata: return -9.0f;
    default: return 8.0f;
  }
}

}  // namespace

TTempoVariance::TTempoVariance(int value)
    : style(static_cast<uint8_t>(value)), pause(0), rampFrom(0), rampTo(0), rampSpan(0) {
  SetPos(DefaultPos(style));
  SetWide(false);
}

std::string_view TTempoVariance::DisplayText(int value) {
  if (value < 0 || value >= kTempoVarianceStyleCount) return "***";
  return kDisplayTexts[value];
}

void TTempoVariance::SetRamp(int from, int to, int span) {
  rampFrom = static_cast<uint16_t>(from);
  rampTo = static_cast<uint16_t>(to);
  rampSpan = span;
}

void TTempoVariance::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int g = 24 * state.GetGraceCount();
  const int64_t start = std::max<int64_t>(state.GetSongPosition(), 0) + g;

  if (HasPause()) {
    if (pause == 0) return;
    const int64_t at = std::min(start + (style == kTempoVarFermata ? 1 : 0), kMaxEventTime);
    buffer->AddWait(static_cast<uint32_t>(at), pause);
    return;
  }
  if (style >= kTempoVarianceStyleCount) return;
  if (g >= rampSpan || rampFrom == rampTo) return;

  const int n = std::abs(static_cast<int>(rampTo) - static_cast<int>(rampFrom));
  const int dir = rampTo > rampFrom ? 1 : -1;
  const double stepTicks = static_cast<double>(rampSpan - g) / n;
  int64_t last = -1;
  for (int k = 1; k < n; ++k) {
    const int64_t at = start + static_cast<int64_t>(k * stepTicks);
    if (at > kMaxEventTime) break;
    // A ramp with more steps than ticks would put several tempos on one tick: only the first
    // step to reach each tick plays.
    if (at <= last) continue;
    buffer->AddTempo(static_cast<uint32_t>(at), rampFrom + dir * k);
    if (buffer->GetOverflow()) return;
    last = at;
  }
}

}  // namespace kvt
