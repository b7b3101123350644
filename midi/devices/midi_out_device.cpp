#include "midi/devices/midi_out_device.h"

#include "midi/devices/send_retry.h"

namespace kvt {

namespace {

struct TControlValue {
  int controller;
  int value;
};

// Reset all controllers, local control, modulation, volume, sustain, pan, expression, then the
// pitch-bend range of two semitones through registered parameter 0.
constexpr TControlValue kFullReset[] = {{120, 0}, {121, 0}, {1, 0},   {7, 127},
                                        {64, 0},  {10, 64}, {11, 127}, {101, 0},
                                        {100, 0}, {6, 2},   {38, 0}};
constexpr TControlValue kNotesOffReset[] = {{123, 0}};

}  // namespace

TMidiOutPort* TSharedSynth::Get() {
  if (!port) port = catalog.OpenOutput(0);
  return port.get();
}

bool TMidiOutDevice::Open(int newId) {
  if (port && id == newId) return true;
  Close();
  if (newId == 0 || newId > kMidiMapperId) {
    port = synth.Get();
  } else {
    owned = catalog.OpenOutput(newId);
    port = owned.get();
  }
  id = port ? newId : -1;
  return port != nullptr;
}

void TMidiOutDevice::Close() {
  owned.reset();
  port = nullptr;
  id = -1;
}

TMidiSendResult TMidiOutDevice::Send(TMidiMsg msg) {
  if (!port) return TMidiSendResult::kDone;
  return port->Send(msg.GetShortMessage(), clock.NowMs());
}

TMidiSendResult TMidiOutDevice::SendRetry(TMidiMsg msg) {
  if (!port) return TMidiSendResult::kDone;
  return kvt::SendRetry(*port, msg.GetShortMessage(), clock.NowMs(), clock);
}

void TMidiOutDevice::ResetControllers(bool full) {
  for (int channel = 0; channel < 16; ++channel) {
    if (full) {
      for (const TControlValue& c : kFullReset)
        SendRetry(TMidiMsg::Channel(kMidiControlChange, 0, channel, c.controller, c.value));
      SendRetry(TMidiMsg::Channel(kMidiPitchBend, 0, channel, 0x00, 0x40));
    } else {
      for (const TControlValue& c : kNotesOffReset)
        SendRetry(TMidiMsg::Channel(kMidiControlChange, 0, channel, c.controller, c.value));
    }
  }
}

}  // namespace kvt
