#include "notation/items/generic_control.h"

#include <algorithm>
#include <cstdlib>

#include "notation/items/item_position.h"
#include "midi/events/midi_file_buf.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

constexpr int kControllerNumbers[kMpcControllerCount] = {
    -1, 7, 10, 2, -1, 1, 4, 5, 6, 8, 11, 12, 13, 91, 92, 93, 94, 95};

constexpr int64_t kMaxEventTime = INT32_MAX;
constexpr int kMaxPitchBend = 16383;
constexpr int kMinTempo = 4;
constexpr int kMaxTempo = 65535;

// Emits the events of one controller on one port and channel; values are already in range.
class TControllerOutput {
public:
  TControllerOutput(int controller, const TStaffContextState& state, TMidiFileBuf& buffer)
      : controller(controller), port(state.GetPort()), channel(state.GetChannel()),
        buffer(buffer) {}

  // False once the buffer has overflowed: the sweep stops.
  bool Emit(int64_t time, int value) {
    const uint32_t t = static_cast<uint32_t>(time);
    if (controller == kMpcTempo) {
      buffer.AddTempo(t, value);
    } else if (controller == kMpcPitch) {
      buffer.AddEvent(t, TMidiMsg::Channel(kMidiPitchBend, port, channel, value % 128, value / 128));
    } else {
      buffer.AddEvent(t, TMidiMsg::Channel(kMidiControlChange, port, channel,
                                           TGenericControl::GetControllerNumber(controller),
                                           ClampMidiData(value)));
    }
    return !buffer.GetOverflow();
  }

  int ClampValue(int value) const {
    if (controller == kMpcTempo) return ClampInt(value, kMinTempo, kMaxTempo);
    if (controller == kMpcPitch) return ClampInt(value, 0, kMaxPitchBend);
    return ClampMidiData(value);
  }

private:
  int controller;
  int port;
  int channel;
  TMidiFileBuf& buffer;
};

int64_t LaterTime(int64_t from, int32_t units, int unitTicks) {
  const int64_t step = static_cast<int64_t>(std::max(units, 0)) * unitTicks;
  return std::min(from + step, kMaxEventTime);
}

}  // namespace

TGenericControl::TGenericControl()
    : controller(kMpcTempo), style(kMpcAbsolute), timeRes(2), sweepRes(0), pointActive{},
      pointTime{}, pointValue{} {
  SetPos(-8);
  for (int n = 0; n < MaxRawParmSetPoints; ++n) ClearPoint(n);
}

int TGenericControl::GetControllerNumber(int value) {
  return kControllerNumbers[BoundIndex(value, kMpcControllerCount, kMpcTempo)];
}

bool TGenericControl::IsPointActive(int n) const {
  if (n == 0) return true;
  return n > 0 && n < MaxRawParmSetPoints && pointActive[n - 1] != 0;
}

int TGenericControl::GetPointTime(int n) const {
  return (n >= 0 && n < MaxRawParmSetPoints) ? pointTime[n] : 0;
}

int TGenericControl::GetPointValue(int n) const {
  return (n >= 0 && n < MaxRawParmSetPoints) ? pointValue[n] : 0;
}

void TGenericControl::SetPoint(int index, int time, int value) {
  const unsigned n = static_cast<unsigned>(index);
  KVT_PRECONDITION(n < MaxRawParmSetPoints);
  if (n > 0) pointActive[n - 1] = 1;
  pointTime[n] = time;
  pointValue[n] = value;
}

void TGenericControl::ClearPoint(int index) {
  const unsigned n = static_cast<unsigned>(index);
  KVT_PRECONDITION(n < MaxRawParmSetPoints);
  if (n > 0) pointActive[n - 1] = 0;
  pointTime[n] = 0;
  pointValue[n] = 100;
}

int TGenericControl::GetActivePointCount() const {
  int n = 1;
  while (n < MaxRawParmSetPoints && IsPointActive(n)) ++n;
  return n;
}

void TGenericControl::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  // A controller outside the list has no message to send.
  if (controller < 0 || controller >= kMpcControllerCount) return;
  TControllerOutput out(controller, state, *buffer);
  const int unit = DurationUnitTicks(timeRes);
  const int64_t res = std::max(sweepRes, 1);

  int64_t t = LaterTime(std::max(state.GetSongPosition(), 0), pointTime[0], unit);
  int v = out.ClampValue(pointValue[0]);
  if (!out.Emit(t, v)) return;
  int64_t lastEmitted = t;

  for (int i = 1; i < MaxRawParmSetPoints && IsPointActive(i); ++i) {
    const int64_t T = LaterTime(t, pointTime[i], unit);
    const int V = out.ClampValue(pointValue[i]);
    const int64_t span = T - t;
    const int64_t steps = std::abs(static_cast<int64_t>(V) - v) / res;
    if (style == kMpcLinearSweep && span > 0 && steps >= 1) {
      const int dir = V > v ? 1 : -1;
      // Step k lies at t + k * span / steps. Only the first step to reach each later tick is
      // emitted, so the loop jumps straight to it: at most one pass per emitted event.
      int64_t k = 1;
      while (k < steps) {
        const int64_t time = t + k * span / steps;
        if (time >= T) break;
        if (time > lastEmitted) {
          if (!out.Emit(time, static_cast<int>(v + dir * k * res))) return;
          lastEmitted = time;
        }
        const int64_t need = lastEmitted - t + 1;  // offset the next step must reach
        const int64_t kNext = need > 0 ? (need * steps + span - 1) / span : k + 1;
        k = std::max(k + 1, kNext);
      }
    }
    if (V != v) {
      if (!out.Emit(T, V)) return;
      lastEmitted = T;
    }
    t = T;
    v = V;
  }
}

}  // namespace kvt
