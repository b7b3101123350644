// Walks of a staff in play order, the context state of a staff and its playback set-up.

#include <algorithm>

#include "midi/events/midi_file_buf.h"
#include "notation/items/item_cast.h"
#include "midi/events/midi_msg.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/items/patch_data.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/time_signature_data.h"

namespace kvt {

int64_t TMusicStaff::GetPlayStepBudget() const {
  return kPlayStepsPerItem * std::max<int64_t>(1, GetItemCount());
}

template <typename Visit>
int TMusicStaff::WalkPlayOrder(TStaffContextState& state, Visit visit) const {
  // Items take the staff to search it for repeat and jump targets; they only read it.
  auto* self = const_cast<TMusicStaff*>(this);
  const int64_t budget = GetPlayStepBudget();
  int i = 0;
  for (int64_t steps = 0; steps < budget && i >= 0 && i <= GetLastIndex(); ++steps) {
    if (!visit(i)) return i;
    const TNotatedItem* item = items[static_cast<size_t>(i)].get();
    const int next = item->GetNextPlayIndex(state, self, i);
    item->ApplyToContext(state);
    i = next;
  }
  return i;
}

bool TMusicStaff::GetPlayStateAt(int i, TStaffContextState& state) const {
  state.Reset();
  bool reached = false;
  WalkPlayOrder(state, [&](int index) {
    if (index != i) return true;
    reached = true;
    return false;
  });
  return reached;
}

void TMusicStaff::FindContextItems(int i, int* clef, int* timeSig, int* key) const {
  int found[3] = {-1, -1, -1};
  TStaffContextState state;
  WalkPlayOrder(state, [&](int index) {
    if (index == i) return false;
    switch (items[static_cast<size_t>(index)]->GetType()) {
      case kItemClef: found[0] = index; break;
      case kItemTimeSig: found[1] = index; break;
      case kItemKey: found[2] = index; break;
      default: break;
    }
    return true;
  });
  if (clef) *clef = found[0];
  if (timeSig) *timeSig = found[1];
  if (key) *key = found[2];
}

int TMusicStaff::FindPrevSameType(int i) const {
  const TNotatedItem* item = GetItem(i);
  if (!item) return -1;
  const int type = item->GetType();
  for (int j = i - 1; j >= 0; --j) {
    const int t = items[static_cast<size_t>(j)]->GetType();
    if (t == type) return j;
    if (t == kItemEnding) break;
  }
  int last = -1;
  TStaffContextState state;
  WalkPlayOrder(state, [&](int index) {
    if (index == i) return false;
    if (items[static_cast<size_t>(index)]->GetType() == type) last = index;
    return true;
  });
  return last;
}

void TMusicStaff::GetTimeSigAt(int i, int& beats, int& beatExponent) const {
  beats = 4;
  beatExponent = 2;
  auto take = [&](int index) {
    const TNotatedItem* item = GetItem(index);
    if (!item || item->GetType() != kItemTimeSig) return;
    const auto* sig = ItemAs<TTimeSignatureData>(item);
    beats = sig->GetBeats();
    beatExponent = sig->GetBeatExponent();
  };
  for (int j = std::min(i, GetItemCount()) - 1; j >= 0; --j) {
    const int type = items[static_cast<size_t>(j)]->GetType();
    if (type == kItemTimeSig) {
      take(j);
      return;
    }
    if (type == kItemEnding) {
      // Behind an ending the signature in force depends on the way play came here.
      int timeSig = -1;
      FindContextItems(i, nullptr, &timeSig, nullptr);
      take(timeSig);
      return;
    }
  }
}

void TMusicStaff::InitContextState(TStaffContextState& state) const {
  state.Reset();
  state.SetChannel(channel);
  state.SetPort(device);
  state.SetTransposition(instrument.GetTransposition());
}

void TMusicStaff::EmitStaffSetup(TMidiFileBuf* eventStore, TStaffContextState& state) const {
  InitContextState(state);
  if (!eventStore) return;
  const TPatchData patch(&instrument);
  patch.Perform(state, eventStore);
  const int port = state.GetPort();
  const int ch = state.GetChannel();
  if (instrument.HasPatch() || instrument.HasBendRange())
    eventStore->AddEvent(0, TMidiMsg::Channel(kMidiPitchBend, port, ch, 0, 64));
  if (volume >= 0) eventStore->AddEvent(0, TMidiMsg::Channel(kMidiControlChange, port, ch, 7, volume));
  if (stereoPan >= 0)
    eventStore->AddEvent(0, TMidiMsg::Channel(kMidiControlChange, port, ch, 10, stereoPan));
}

}  // namespace kvt
