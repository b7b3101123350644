#include "midi/devices/send_retry.h"

namespace kvt {

TMidiSendResult SendRetry(TMidiOutPort& port, uint32_t shortMsg, int64_t dueMs,
                          const TMidiClock& clock) {
  for (int attempt = 0; attempt < kMidiSendAttempts; ++attempt) {
    if (attempt > 0) clock.SleepMs(1);
    if (port.Send(shortMsg, dueMs) == TMidiSendResult::kDone) return TMidiSendResult::kDone;
  }
  return TMidiSendResult::kNotReady;
}

}  // namespace kvt
