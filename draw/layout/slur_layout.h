#pragma once
// Slurs of a laid-out staff: for each slur that starts (or enters) the laid-out range, the
// points its curve must clear, a quadratic curve fitted over them whose height grows with
// the slur's span, and its drawing.
//
// Record flags: bit 0 grace slur, bits 4-5 = 1 below the notes, bit 6 hidden, bits 7-14 the
// colour of the slur's marker. The list grows by 16 records up to 512; later slurs of a
// staff are not stored. A slur collects at most 120 points; beyond that the last point is
// overwritten.

#include <cstdint>
#include <vector>

#include "draw/device_context.h"
#include "draw/quad_curve.h"

namespace kvt {

class TMusicFonts;
class TStaffDrawInfo;

struct TStaffSlur {
  uint16_t flags = 0;
  uint16_t first = 0;
  uint16_t last = 0;
  TQuadCurve curve;

  bool IsGrace() const { return (flags & 1) != 0; }
  bool IsBelow() const { return ((flags >> 4) & 3) == 1; }
  bool IsHidden() const { return (flags & 0x40) != 0; }
  int ColorIndex() const { return (flags >> 7) & 0xFF; }
};

inline constexpr int kMaxStaffSlurs = 512;
inline constexpr int kMaxSlurPoints = 120;

class TKVStaffSlurs {
public:
  explicit TKVStaffSlurs(int capacity);
  bool Append(const TStaffSlur& slur);
  const TStaffSlur* FindByFirst(int itemIndex) const;
  void Clear() { slurs.clear(); }
  int Count() const { return static_cast<int>(slurs.size()); }
  const TStaffSlur& At(int i) const { return slurs[static_cast<size_t>(i)]; }

private:
  std::vector<TStaffSlur> slurs;
};

// The points of one slur (at most kMaxSlurPoints; a further point replaces the last).
class TSlurPoints {
public:
  void Add(int x, int y);
  const std::vector<TDcPoint>& Points() const { return points; }
  int Count() const { return static_cast<int>(points.size()); }
  TDcPoint& Last() { return points.back(); }

private:
  std::vector<TDcPoint> points;
};

// Role: 1 the slur's first note, 2 its end note, 0 a note between. direction: +1 above,
// -1 below. Returns the number of points added (0, 1 or 2).
int SlurNotePoints(TStaffDrawInfo& layout, int n, int x, int direction, bool grace, int role, TSlurPoints& points);
// A visible expression under the slur: one point over its middle, one step beyond it.
int SlurExpressionPoint(TStaffDrawInfo& layout, int n, int x, int direction, TSlurPoints& points);
// The slur through the note at position n (its first note, or the first note of the layout
// that it continues into). False when it has fewer than two points or is hidden.
bool ComputeSlur(TStaffDrawInfo& layout, TStaffSlur& out, int n, int x);
// Draws every slur of the list that reaches into leftX..rightX.
void DrawSlurs(TMusicFonts& fonts, TStaffDrawInfo& layout, int leftX, int rightX);

}  // namespace kvt
