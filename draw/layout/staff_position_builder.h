#pragma once
// TStaffPositionBuilder: fills a staff layout's draw positions from its staff, one build at a
// time: the positions of each item, the space between kinds of positions, the padding of
// notes and rests at each bar line, and where a system ends.
//
// Contract: built on a bound TStaffDrawInfo for one build call and then dropped. Every walk is
// bounded by the staff's length and the position limit (kMaxDrawPositions).

#include <cstdint>

#include "draw/layout/staff_draw_info.h"

namespace kvt {

class TStaffPositionBuilder {
public:
  explicit TStaffPositionBuilder(TStaffDrawInfo& layout);

  void Build(int64_t firstTime, int width);
  void BuildFrom(const TLayoutStart& start, int width);

  // The gap the kind pair (previous spacing position, new position n) asks for, added to the
  // previous position less the widths between.
  void ApplyKindGap(int n);
  // Pads the notes and rests of the bar that ends before position `end`.
  void PadBar(int end);

private:
  bool HasRoom() const;
  // Appends and fills the position of the cursor's item; false when the array is full.
  bool PlaceItem(const TRelNtnIdx& cursor, int64_t& addedWidth);
  void FillPosition(TStaffDrawPos& pos, const TRelNtnIdx& cursor, int itemIndex, bool autoInsert);
  void ApplyMultiBarRestView(TStaffDrawPos& pos, const TRelNtnIdx& cursor, int n);
  int GapFor(const TStaffDrawPos& p, const TStaffDrawPos& n) const;
  int Padding(const TStaffDrawPos& pos) const;
  void AddSignatures(const TLayoutStart& start, const TRelNtnIdx& cursor);
  void Finish(const TRelNtnIdx& cursor, bool atEnd);
  TStaffDrawPos& NewPosition();
  // Adds to a placed position's width, keeping the running total.
  void AddWidthTo(TStaffDrawPos& pos, int width);

  TStaffDrawInfo& layout;
  TMusicStaff& staff;
  const TLayoutMetrics& metrics;
  bool showHidden;
  int unit;
  int64_t total = 0;  // sum of the widths placed so far
};

}  // namespace kvt
