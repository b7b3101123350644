#pragma once
// Where play from the caret starts.

#include <cstdint>

namespace kvt {

class TMusicStaff;

// The song position (ticks) play starts from for a caret before item `caret` of the staff:
// playStart 0 the caret item's position; 1 the start of its bar; n >= 2 n - 1 bar lengths (of
// the time signature in force there) before the start of that bar, never below 0. The caret is
// limited to the staff's items; a null staff gives 0.
int32_t PlayStartTick(TMusicStaff* staff, int caret, int playStart);

}  // namespace kvt
