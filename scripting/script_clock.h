#pragma once
// The clock of script deadlines: milliseconds of the monotonic clock, 64 bits wide, so a
// deadline never wraps and never moves with the wall clock.

#include <cstdint>

namespace kvt {

int64_t ScriptClockNowMs();

}  // namespace kvt
