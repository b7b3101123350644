#pragma once
// SendRetry: sends one message to an output, trying again while the device is not ready: up to
// kMidiSendAttempts attempts with a pause of 1 ms on the clock between them. Used for the
// controller resets and for the silencing and restoring sends, which must not be lost; never
// called with a lock held (it waits).

#include <cstdint>

#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"

namespace kvt {

inline constexpr int kMidiSendAttempts = 1000;

// kDone when the message went out, kNotReady when every attempt failed.
TMidiSendResult SendRetry(TMidiOutPort& port, uint32_t shortMsg, int64_t dueMs,
                          const TMidiClock& clock);

}  // namespace kvt
