#pragma once
// The sequencer's sense of time, injectable so that tests run it on a fake clock:
// TMidiClock: a monotonic millisecond clock (64-bit, never wraps);
// TMidiTimer: calls a function periodically on a thread of its own;
// TMidiUiPost: hands a function to the UI thread, to run there later (queued, never inline).

#include <cstdint>
#include <functional>

namespace kvt {

class TMidiClock {
public:
  virtual ~TMidiClock() = default;
  virtual int64_t NowMs() const = 0;
  // Waits about ms milliseconds (retry pauses of a device that is not ready).
  virtual void SleepMs(int ms) const = 0;
};

class TMidiTimer {
public:
  virtual ~TMidiTimer() = default;
  // Starts calling tick every periodMs; false when it cannot run. Not called while running.
  virtual bool Start(int periodMs, std::function<void()> tick) = 0;
  // Stops and waits until no call of tick runs any more; harmless when not running. Never
  // called from inside tick.
  virtual void Stop() = 0;
};

class TMidiUiPost {
public:
  virtual ~TMidiUiPost() = default;
  // Thread-safe. The function runs later on the UI thread (or is dropped at exit).
  virtual void Post(std::function<void()> call) = 0;
};

}  // namespace kvt
