#pragma once
// TPosixMidiTimer: the sequencer's periodic timer: a thread that wakes at absolute times on
// CLOCK_MONOTONIC (clock_nanosleep with TIMER_ABSTIME), so lateness never accumulates. The
// thread asks for the smallest timer slack and for SCHED_FIFO; when the system does not grant
// real-time priority it runs at normal priority without complaint. After a wake more than a
// period late (a stalled machine) the next wake is a period from now: the sequencer catches
// up by itself and a burst of calls would only repeat that work.

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "midi/devices/midi_clock.h"

namespace kvt {

class TPosixMidiTimer final : public TMidiTimer {
public:
  TPosixMidiTimer() = default;
  ~TPosixMidiTimer() override { Stop(); }
  TPosixMidiTimer(const TPosixMidiTimer&) = delete;
  TPosixMidiTimer& operator=(const TPosixMidiTimer&) = delete;

  bool Start(int periodMs, std::function<void()> tick) override;
  void Stop() override;

  // Whether the running (or last) thread got SCHED_FIFO.
  bool IsRealTime() const { return realTime.load(); }
  // Called on the timer thread before each tick with how late the wake was, in nanoseconds
  // (for measurements). Set before Start.
  void SetWakeProbe(std::function<void(int64_t)> probe) { wakeProbe = std::move(probe); }

private:
  void Run(int64_t periodNs);

  std::thread thread;
  std::atomic<bool> stopping{false};
  std::atomic<bool> realTime{false};
  std::function<void()> tick;
  std::function<void(int64_t)> wakeProbe;
};

}  // namespace kvt
