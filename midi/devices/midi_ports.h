#pragma once
// The MIDI devices as the sequencer and the device manager see them: an open output port, an
// open input port and the catalog that lists and opens them. The built-in synthesizer and the
// ALSA sequencer ports implement them in platform/; tests give fakes.
//
// Threads: an output is used from the UI thread, the timer thread and the input thread at once,
// so every implementation synchronises itself, and Send never waits for the device (a device
// that cannot take the message now answers kNotReady; the caller decides whether to retry).
// An input delivers on a thread of its own until it is destroyed; its destructor returns only
// after the last delivery has ended.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kvt {

enum class TMidiSendResult {
  kDone,      // sent, or dropped for good (the caller moves on)
  kNotReady,  // the device could not take it now; the same message may be tried again
};

class TMidiOutPort {
public:
  virtual ~TMidiOutPort() = default;
  // Sends the short message in the low three bytes of shortMsg. dueMs is the time on the
  // sequencer's clock at which the message should sound; a device that schedules (the
  // synthesizer) plays it then plus its fixed latency, others send at once.
  virtual TMidiSendResult Send(uint32_t shortMsg, int64_t dueMs) = 0;
  // Forgets every message it has scheduled but not yet sounded. Devices that do not schedule
  // have nothing to drop.
  virtual void DropScheduled() {}
};

// Where an input delivers what arrives: one call per short message (status in the low byte),
// on the input's own thread.
class TMidiInputSink {
public:
  virtual ~TMidiInputSink() = default;
  virtual void OnShortMessage(uint32_t shortMsg) = 0;
};

// An open input port; destroying it closes it (see the thread rule above).
class TMidiInPort {
public:
  virtual ~TMidiInPort() = default;
};

// The installed devices. Output id 0 is the built-in synthesizer, listed first; ids past the
// list (the "mapper") open the synthesizer too. Names are unique, valid UTF-8 and at most
// kMidiDeviceNameBytes bytes (see device_names.h). Used from the UI thread only.
class TMidiDeviceCatalog {
public:
  virtual ~TMidiDeviceCatalog() = default;
  virtual std::vector<std::string> GetOutputNames() = 0;
  virtual std::vector<std::string> GetInputNames() = 0;
  // Null when the device does not open.
  virtual std::unique_ptr<TMidiOutPort> OpenOutput(int id) = 0;
  // Null when the device does not open. The sink must outlive the returned port.
  virtual std::unique_ptr<TMidiInPort> OpenInput(int id, TMidiInputSink& sink) = 0;
  // The soundfont the user chose for the synthesizer (empty: the system's default); takes
  // effect at the synthesizer's next opening.
  virtual void SetSoundFont(const std::string& path) {}
};

}  // namespace kvt
