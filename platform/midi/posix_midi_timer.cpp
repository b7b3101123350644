#include "platform/midi/posix_midi_timer.h"

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <time.h>

#include "platform/midi/steady_midi_clock.h"

namespace kvt {

namespace {

constexpr int64_t kNsPerSecond = 1000000000;

timespec ToTimespec(int64_t ns) {
  return timespec{static_cast<time_t>(ns / kNsPerSecond), static_cast<long>(ns % kNsPerSecond)};
}

// A middle real-time priority: above ordinary threads, below the audio server's.
bool TryRealTime() {
  sched_param param{};
  const int low = sched_get_priority_min(SCHED_FIFO);
  const int high = sched_get_priority_max(SCHED_FIFO);
  if (low < 0 || high < low) return false;
  param.sched_priority = low + (high - low) / 4;
  return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace

bool TPosixMidiTimer::Start(int periodMs, std::function<void()> newTick) {
  if (thread.joinable() || periodMs <= 0 || !newTick) return false;
  tick = std::move(newTick);
  stopping = false;
  const int64_t periodNs = static_cast<int64_t>(periodMs) * 1000000;
  try {
    thread = std::thread([this, periodNs] { Run(periodNs); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void TPosixMidiTimer::Stop() {
  if (!thread.joinable()) return;
  stopping = true;
  thread.join();
  tick = nullptr;
}

void TPosixMidiTimer::Run(int64_t periodNs) {
  // The kernel may otherwise defer a wake by its default slack of 50 us.
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  realTime = TryRealTime();
  int64_t next = MonotonicNowNs() + periodNs;
  while (!stopping.load()) {
    const timespec at = ToTimespec(next);
    if (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) continue;
    if (stopping.load()) break;
    const int64_t now = MonotonicNowNs();
    if (wakeProbe) wakeProbe(now - next);
    tick();
    next += periodNs;
    if (now - next > periodNs) next = now + periodNs;
  }
}

}  // namespace kvt
