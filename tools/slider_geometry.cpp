#include "tools/slider_geometry.h"

#include <algorithm>

namespace kvt {

int TSliderRange::Range() const {
  int64_t r = int64_t{maximum} - minimum;
  if (r < 0) r = -r;
  if (r == 0) return 1;
  return static_cast<int>(std::min<int64_t>(r, INT32_MAX));
}

int TSliderRange::Snap(int position, bool snap, int gap) const {
  int lo = std::min(minimum, maximum);
  int hi = std::max(minimum, maximum);
  int64_t p = std::clamp(position, lo, hi);
  if (snap && gap > 0) {
    // Halves are cut toward zero, so the midpoint between two marks goes up.
    p = (p + gap / 2 - minimum) / gap * gap + minimum;
    p = std::clamp<int64_t>(p, lo, hi);
  }
  return static_cast<int>(p);
}

int TSliderRange::OffsetToPos(int offset, int usableLength) const {
  if (usableLength <= 0) return minimum;
  int64_t span = int64_t{maximum} - minimum;  // signed: a reversed range runs backwards
  int64_t p = int64_t{offset} * span / usableLength + minimum;
  int lo = std::min(minimum, maximum);
  int hi = std::max(minimum, maximum);
  return static_cast<int>(std::clamp<int64_t>(p, lo, hi));
}

int TSliderRange::PosToOffset(int position, int usableLength) const {
  if (usableLength <= 0) return 0;
  int64_t span = int64_t{maximum} - minimum;
  if (span == 0) return 0;
  int64_t offset = (int64_t{position} - minimum) * usableLength / span;
  return static_cast<int>(std::clamp<int64_t>(offset, 0, usableLength));
}

}  // namespace kvt
