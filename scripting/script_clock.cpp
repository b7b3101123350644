#include "scripting/script_clock.h"

#include <chrono>

namespace kvt {

int64_t ScriptClockNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace kvt
