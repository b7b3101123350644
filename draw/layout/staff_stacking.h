#pragma once
// The vertical stacking of a system's staves: which staves form a group (layered staves share
// one origin), each group's origin from the largest extents of its members, the total height,
// and the bracket, brace and connected-bar-line bits that join neighbouring groups.
//
// Units: extents in steps, y in logical units (one step = stepHeight). Pure function of its
// input; any counts and extents are accepted (extents are clamped to 0..255 steps, as the
// staff layout stores them, so the height cannot overflow for 64 staves).

#include <cstdint>
#include <span>
#include <vector>

namespace kvt {

class TMusicStaff;

struct TStackInput {
  int lines = 5;
  int upper = 0;  // extents in steps (absolute values of the staff's boundaries)
  int lower = 0;
  bool collapsed = false;
  bool layerWithNext = false;
  bool bracketWithNext = false;
  bool braceWithNext = false;
  bool connectBarsWithNext = false;
};

// Bits of a connection pair: joined to the previous group, joined to the next.
inline constexpr uint8_t kJoinedToPrevious = 1;
inline constexpr uint8_t kJoinedToNext = 2;

struct TStackedStaff {
  int originY = 0;    // y of the middle line
  int lineCount = 0;  // the staff's own lines
  int upper = 0;      // the group's extents
  int lower = 0;
  bool startsGroup = true;
  bool layered = false;
  bool layeredWithNext = false;
  bool collapsed = false;
  bool empty = false;
  uint8_t bracketBits = 0;
  uint8_t braceBits = 0;
  uint8_t connectBits = 0;
};

struct TStackResult {
  std::vector<TStackedStaff> staves;
  int groups = 0;
  int linedGroups = 0;
  int firstLinedStaff = 0;
  int totalHeight = 0;
};

// The stack input of a staff: its lines, boundaries and connection flags.
TStackInput StackInputOf(const TMusicStaff& staff);

TStackResult StackStaves(std::span<const TStackInput> staves, bool layering, int stepHeight);

}  // namespace kvt
