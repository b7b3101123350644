#pragma once
// TMidiOutDevice: one configured output port of the device manager, open on a device of the
// catalog or closed. Device id 0, the built-in synthesizer, is one output shared by the whole
// manager (TSharedSynth): opened on first need and kept open until the manager ends; ids above
// kMidiMapperId stand for the "mapper" and take the same synthesizer.
//
// Used from the UI thread; the TMidiOutPort it hands out (GetPort) stays valid until Close.

#include <memory>

#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"
#include "midi/events/midi_msg.h"

namespace kvt {

inline constexpr int kMidiMapperId = 64;

// The one synthesizer output of a manager.
class TSharedSynth {
public:
  explicit TSharedSynth(TMidiDeviceCatalog& catalog) : catalog(catalog) {}
  // Opens the synthesizer when it is not open yet; null when it does not open.
  TMidiOutPort* Get();

private:
  TMidiDeviceCatalog& catalog;
  std::unique_ptr<TMidiOutPort> port;
};

class TMidiOutDevice {
public:
  TMidiOutDevice(TMidiDeviceCatalog& catalog, TSharedSynth& synth, const TMidiClock& clock)
      : catalog(catalog), synth(synth), clock(clock) {}

  // True when open: at once when already open on id; otherwise closes and opens id.
  bool Open(int id);
  // Closes; the shared synthesizer itself stays open.
  void Close();
  bool IsOpen() const { return port != nullptr; }
  int GetId() const { return id; }
  // The open output; null when closed.
  TMidiOutPort* GetPort() const { return port; }

  // kNotReady only when open and the device was not ready; a closed device takes everything.
  TMidiSendResult Send(TMidiMsg msg);
  // Send, tried up to kMidiSendAttempts times while the device is not ready.
  TMidiSendResult SendRetry(TMidiMsg msg);
  // On every channel, the reset controller table by SendRetry: the full one (then pitch bend
  // centre) or the notes-off one.
  void ResetControllers(bool full);

private:
  TMidiDeviceCatalog& catalog;
  TSharedSynth& synth;
  const TMidiClock& clock;
  std::unique_ptr<TMidiOutPort> owned;  // null for the shared synthesizer
  TMidiOutPort* port = nullptr;
  int id = -1;
};

}  // namespace kvt
