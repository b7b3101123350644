#pragma once
// The gradual dynamic change of a staff walk: a crescendo or diminuendo (a note marked with a
// hairpin, or a dynamic variance of the crescendo, decrescendo or diminuendo kind) runs from
// the dynamic before it to the dynamic after it.
//
// LayOutDynamicRamp is called by the score player at such an item, before the item performs,
// when the running state's dynamic-changed flag is set. It clears the flag (so the next
// hairpin item of the same run lays out nothing), finds the nearest dynamic before the item
// and the nearest after it in item order, and takes the span as the total duration of the
// items from the item to the next dynamic. With both dynamics and a span above 0:
//   - velocity: when both give a velocity of at least 1 and they differ, the state's velocity
//     ramp starts towards the next one over the span;
//   - main volume: when both send a volume and they differ, control change 7 messages on the
//     state's port and channel step one value at a time from the first volume towards the
//     second, step k at start + floor(k x span / steps); a step that falls on or before the
//     previous step's time is passed over, and the series ends before the time start + span
//     and before the second volume (that value comes from the next dynamic itself).
// A null buffer gets no messages (the velocity ramp still starts).

namespace kvt {

class TSimpleNtnIdx;
class TStaffContextState;
class TMidiFileBuf;

void LayOutDynamicRamp(const TSimpleNtnIdx& at, TStaffContextState& state, TMidiFileBuf* buffer);

}  // namespace kvt
