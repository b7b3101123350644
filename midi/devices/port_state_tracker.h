#pragma once
// TPortStateTracker: what one output port has been told, so that a pause, a stop or a move of
// the play position can silence the port and later bring it back to the same state.
//
// It holds, in fixed arrays (no allocation while tracking):
// - the sounding notes: up to 128 note-on messages;
// - the controller and program state: up to 256 messages, one per command and channel (and
//   controller for control changes); a new program change goes to the end, after the bank
//   selects it depends on;
// - up to 64 registered or non-registered parameter values set by data entry (CC 6 / 38),
//   keyed by the parameter selected on the channel at the time (CC 98-101);
// - per channel the parameter currently selected.
// System messages and other record kinds are not tracked. Full arrays drop the new entry.

#include <array>
#include <cstdint>
#include <vector>

#include "midi/events/midi_msg.h"

namespace kvt {

class TPortStateTracker {
public:
  static constexpr int kMaxNotes = 128;
  static constexpr int kMaxControls = 256;
  static constexpr int kMaxParams = 64;

  void Clear();
  void Track(TMidiMsg msg);

  // Appends the messages that silence the port: sustain off on each channel whose tracked
  // sustain is down, then every sounding note with velocity 0. Channel-mode messages beyond
  // these are the sequencer's business.
  void AppendSilence(std::vector<TMidiMsg>& out) const;
  // Appends the messages that restore the port: each parameter (selection, then data entry),
  // then the controllers and programs in their order, then the sounding notes again.
  void AppendRestore(std::vector<TMidiMsg>& out) const;

  int GetNoteCount() const { return noteCount; }
  int GetControlCount() const { return controlCount; }
  int GetParamCount() const { return paramCount; }

private:
  struct TParam {
    bool nonRegistered = false;
    int channel = 0;
    int msb = 0;
    int lsb = 0;
    int dataMsb = -1;  // -1: no data entry received
    int dataLsb = -1;
  };

  void TrackNoteOn(TMidiMsg msg);
  void TrackNoteOff(TMidiMsg msg);
  void TrackSelection(TMidiMsg msg);
  void TrackDataEntry(TMidiMsg msg);
  void TrackControl(TMidiMsg msg);

  std::array<TMidiMsg, kMaxNotes> notes{};
  int noteCount = 0;
  std::array<TMidiMsg, kMaxControls> controls{};
  int controlCount = 0;
  std::array<TParam, kMaxParams> params{};
  int paramCount = 0;
  // Per channel: bit 0 non-registered selected, bits 1-7 NRPN LSB, 8-14 NRPN MSB, 15-21 RPN
  // MSB, 22-28 RPN LSB.
  std::array<uint32_t, 16> selection{};
};

}  // namespace kvt
