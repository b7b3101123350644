#include "draw/layout/staff_connects.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kvt {

int TStaffConnect::LineYAt(int x) const {
  const double y = startY + (static_cast<double>(x) - startX) * static_cast<double>(slope);
  if (!std::isfinite(y)) return startY;
  return static_cast<int>(std::clamp(std::trunc(y), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

TKVStaffConnects::TKVStaffConnects(int capacity) {
  records.reserve(static_cast<size_t>(std::clamp(capacity, 0, kMaxStaffConnects)));
}

bool TKVStaffConnects::Append(const TStaffConnect& record) {
  if (Count() >= kMaxStaffConnects) return false;
  if (records.size() == records.capacity())
    records.reserve(std::min<size_t>(records.capacity() + 16, kMaxStaffConnects));
  records.push_back(record);
  return true;
}

const TStaffConnect* TKVStaffConnects::FindByFirst(int itemIndex) const {
  for (const TStaffConnect& r : records)
    if (r.first == itemIndex) return &r;
  return nullptr;
}

const TStaffConnect* TKVStaffConnects::FindCovering(int graceClass, int itemIndex) const {
  for (const TStaffConnect& r : records)
    if (r.GraceClass() == graceClass && r.first <= itemIndex && itemIndex <= r.last) return &r;
  return nullptr;
}

}  // namespace kvt
