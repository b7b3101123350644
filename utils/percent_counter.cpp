#include "utils/percent_counter.h"

namespace kvt {

TPercentCounter::TPercentCounter(uint32_t total) : total(total == 0 ? 1 : total) {}

int TPercentCounter::Step() {
  if (done != UINT32_MAX) ++done;
  return Percent();
}

int TPercentCounter::Percent() const {
  uint64_t percent;
  if (total < 0xC00001) {
    percent = static_cast<uint64_t>(done) * 100 / total;
  } else {
    // total / 100 is at least 0x1EB85 here, never 0.
    percent = done / (total / 100) + 1;
  }
  return percent > 100 ? 100 : static_cast<int>(percent);
}

}  // namespace kvt
