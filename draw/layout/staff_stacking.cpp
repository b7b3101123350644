#include "draw/layout/staff_stacking.h"

#include <algorithm>
#include <cstdlib>

#include "notation/staff/music_staff.h"

namespace kvt {

namespace {
constexpr int kMaxExtent = 255;

int Extent(int steps) { return std::clamp(std::abs(steps), 0, kMaxExtent); }

// Groups as [first, last] staff ranges.
struct TGroup {
  size_t first;
  size_t last;
};

void Connect(TStackResult& result, std::span<const TStackInput> staves,
             const std::vector<TGroup>& groups) {
  unsigned bracket = 0, brace = 0, connect = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    const TGroup& group = groups[g];
    const TStackInput& end = staves[group.last];
    const bool lastStaff = group.last + 1 == staves.size();
    const bool empty = result.staves[group.last].empty;
    if (!lastStaff) {
      if (end.bracketWithNext) bracket |= 2;
      if (end.braceWithNext) brace |= 2;
      if (end.connectBarsWithNext && (!empty || (connect & 1) != 0)) connect |= 2;
    }
    for (size_t i = group.first; i <= group.last; ++i) {
      result.staves[i].bracketBits = static_cast<uint8_t>(bracket & 3);
      result.staves[i].braceBits = static_cast<uint8_t>(brace & 3);
      result.staves[i].connectBits = static_cast<uint8_t>(connect & 3);
    }
    bracket >>= 1;
    brace >>= 1;
    connect >>= 1;
  }
  // A connection that runs into empty groups and reaches no staff beyond them is dropped, so
  // no bar line hangs below the last shown staff.
  for (size_t g = 0; g < groups.size(); ++g) {
    const TStackedStaff& end = result.staves[groups[g].last];
    if (end.empty || (end.connectBits & kJoinedToNext) == 0) continue;
    size_t next = g + 1;
    while (next < groups.size() && result.staves[groups[next].last].empty) ++next;
    if (next == g + 1) continue;
    const bool reached = next < groups.size() &&
                         (result.staves[groups[next].first].connectBits & kJoinedToPrevious) != 0;
    if (reached) continue;
    for (size_t i = groups[g].first; i <= groups[g].last; ++i)
      result.staves[i].connectBits &= ~kJoinedToNext;
  }
}
}  // namespace

TStackInput StackInputOf(const TMusicStaff& staff) {
  TStackInput input;
  input.lines = staff.GetLines();
  input.upper = Extent(staff.GetBoundaryTop());
  input.lower = Extent(staff.GetBoundaryBottom());
  input.layerWithNext = staff.GetLayerWithNext();
  input.bracketWithNext = staff.GetBracketWithNext();
  input.braceWithNext = staff.GetBraceWithNext();
  input.connectBarsWithNext = staff.GetConnectBarsWithNext();
  return input;
}

TStackResult StackStaves(std::span<const TStackInput> staves, bool layering, int stepHeight) {
  TStackResult result;
  result.staves.resize(staves.size());
  result.firstLinedStaff = static_cast<int>(staves.size()) - 1;
  std::vector<TGroup> groups;
  int64_t total = 0;
  int maxUpper = 0, maxLower = 0;
  for (size_t i = 0; i < staves.size(); ++i) {
    const TStackInput& in = staves[i];
    TStackedStaff& out = result.staves[i];
    const bool withPrevious = i > 0 && result.staves[i - 1].layeredWithNext;
    out.layeredWithNext = layering && in.layerWithNext && i + 1 < staves.size();
    out.layered = withPrevious || out.layeredWithNext;
    out.startsGroup = !withPrevious;
    out.collapsed = in.collapsed;
    if (out.startsGroup) {
      ++result.groups;
      if (in.lines > 0) ++result.linedGroups;
      groups.push_back({i, i});
      maxUpper = maxLower = 0;
    }
    groups.back().last = i;
    if (!in.collapsed) {
      maxUpper = std::max(maxUpper, Extent(in.upper));
      maxLower = std::max(maxLower, Extent(in.lower));
      if (in.lines > 0)
        result.firstLinedStaff = std::min(result.firstLinedStaff, static_cast<int>(i));
    }
    if (out.layeredWithNext) continue;
    // The group ends here: every member takes the group's origin and extents.
    const int64_t origin = total + static_cast<int64_t>(maxUpper) * stepHeight;
    total = origin + static_cast<int64_t>(maxLower) * stepHeight;
    const bool empty =
        maxUpper == 0 && maxLower == 0 &&
        std::all_of(staves.begin() + static_cast<std::ptrdiff_t>(groups.back().first),
                    staves.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    [](const TStackInput& s) { return s.collapsed; });
    for (size_t k = groups.back().first; k <= i; ++k) {
      TStackedStaff& member = result.staves[k];
      member.originY = static_cast<int>(origin);
      member.lineCount = std::clamp(staves[k].lines, 0, 255);
      member.upper = maxUpper;
      member.lower = maxLower;
      member.empty = empty;
    }
  }
  result.totalHeight = static_cast<int>(total);
  Connect(result, staves, groups);
  return result;
}

}  // namespace kvt
