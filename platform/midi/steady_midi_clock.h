#pragma once
// TSteadyMidiClock: the sequencer's clock on CLOCK_MONOTONIC, in milliseconds.

#include "midi/devices/midi_clock.h"

namespace kvt {

class TSteadyMidiClock final : public TMidiClock {
public:
  int64_t NowMs() const override;
  void SleepMs(int ms) const override;
};

// CLOCK_MONOTONIC in nanoseconds (what the timer thread and the benchmarks measure with).
int64_t MonotonicNowNs();

}  // namespace kvt
