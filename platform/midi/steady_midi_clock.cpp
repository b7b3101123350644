#include "platform/midi/steady_midi_clock.h"

#include <time.h>

#include <cerrno>

namespace kvt {

int64_t MonotonicNowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t TSteadyMidiClock::NowMs() const { return MonotonicNowNs() / 1000000; }

void TSteadyMidiClock::SleepMs(int ms) const {
  if (ms <= 0) return;
  timespec span{ms / 1000, static_cast<long>(ms % 1000) * 1000000};
  // clock_nanosleep returns the error instead of setting errno; a signal only shortens the
  // pause, which a retry pause tolerates.
  clock_nanosleep(CLOCK_MONOTONIC, 0, &span, nullptr);
}

}  // namespace kvt
