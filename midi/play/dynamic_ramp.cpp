#include "midi/play/dynamic_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "notation/items/dynamic_level_data.h"
#include "midi/events/midi_file_buf.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/context/staff_context_state.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {

constexpr int kMainVolume = 7;

void AddVolumeSteps(const TStaffContextState& state, TMidiFileBuf& buffer, int from, int to,
                    int64_t span) {
  const int steps = std::abs(to - from);
  const int dir = to > from ? 1 : -1;
  const double interval = static_cast<double>(span) / steps;
  const int64_t start = std::max<int64_t>(state.GetSongPosition(), 0);
  const int64_t end = start + span;
  int64_t previous = start;
  // Step `steps` would be the target itself, which the next dynamic sends.
  for (int k = 1; k < steps; ++k) {
    const int64_t time = start + static_cast<int64_t>(std::floor(k * interval));
    if (time >= end || time > std::numeric_limits<int32_t>::max()) break;
    if (time <= previous) continue;
    buffer.AddEvent(static_cast<uint32_t>(time),
                    TMidiMsg::Channel(kMidiControlChange, state.GetPort(), state.GetChannel(),
                                      kMainVolume, from + dir * k));
    if (buffer.GetOverflow()) return;
    previous = time;
  }
}

}  // namespace

void LayOutDynamicRamp(const TSimpleNtnIdx& at, TStaffContextState& state, TMidiFileBuf* buffer) {
  state.SetDynamicChanged(false);
  TMusicStaff* staff = at.GetStaff();
  if (!staff) return;

  TSimpleNtnIdx before(at);
  TSimpleNtnIdx after(at);
  if (!before.FindType(kItemDynamic, -1) || !after.FindType(kItemDynamic, 1)) return;
  const TDynamicLevelData* from = before.GetDynamic();
  const TDynamicLevelData* to = after.GetDynamic();
  if (!from || !to) return;

  const int64_t span = TStaffRange(staff, at.GetIndex(), after.GetIndex()).GetDuration();
  if (span <= 0) return;

  if (from->GetVelocity() >= 1 && to->GetVelocity() >= 1 &&
      from->GetVelocity() != to->GetVelocity()) {
    state.StartVelocityRamp(from->GetVelocity(), to->GetVelocity(),
                            static_cast<int>(std::min<int64_t>(span, INT32_MAX)));
  }
  if (buffer && from->HasVolume() && to->HasVolume() && from->GetVolume() != to->GetVolume())
    AddVolumeSteps(state, *buffer, from->GetVolume(), to->GetVolume(), span);
}

}  // namespace kvt
