#pragma once
// The arithmetic of the sliders, apart from any window: range, snapping, positions and
// points, and the hit codes. A reversed range (minimum above maximum) is held the same way
// as the ordered one, and a slider with no room to move (client no longer than the thumb)
// maps every point to the minimum rather than dividing by zero.

#include <cstdint>

namespace kvt {

// Scroll-bar notification codes the slider sends to its parent.
inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbThumbPosition = 4;
inline constexpr int kSbThumbTrack = 5;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;
inline constexpr int kSbEndScroll = 8;
inline constexpr int kSbStartDrag = 9;  // sent once before the first thumb track of a drag
inline constexpr int kSbNone = -1;

struct TSliderRange {
  int minimum = 0;
  int maximum = 100;

  // maximum - minimum, or minimum - maximum when the minimum is larger, or 1 when equal.
  int Range() const;
  // Clamped into the range (either order), then snapped to multiples of gap counted from the
  // minimum when snap is on and the gap is positive.
  int Snap(int position, bool snap, int gap) const;
  // Position for an offset along the usable length (client length minus thumb length).
  int OffsetToPos(int offset, int usableLength) const;
  // Offset of the thumb's leading edge for a position.
  int PosToOffset(int position, int usableLength) const;
};

}  // namespace kvt
