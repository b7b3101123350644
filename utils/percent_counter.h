#pragma once
// TPercentCounter: progress of a task of `total` steps as a percentage from 0 to 100.

#include <cstdint>

namespace kvt {

class TPercentCounter {
public:
  // A total of 0 counts as 1.
  explicit TPercentCounter(uint32_t total);

  // Adds one step and returns Percent().
  int Step();
  // Below a total of 0xC00001: done * 100 / total. Above: done / (total / 100) + 1, which
  // stays exact for large totals. A result above 100 gives 100.
  int Percent() const;

private:
  uint32_t total;
  uint32_t done = 0;
};

}  // namespace kvt
