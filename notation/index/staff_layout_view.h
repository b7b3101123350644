#pragma once
// TStaffLayoutView: the questions the notation indices ask of a staff's layout: which staff it
// lays out, its draw positions, the draw position of an item, and whether a boundary item
// applies to it. The staff layout in draw/ answers them over its own results; the notation
// model stores none of them.
//
// Contract:
// - An index given a view keeps a pointer to it and owns nothing: the view must outlive the
//   index. Rebuilding the layout leaves positions handed out earlier and the indices over
//   them stale until they attach again.
// - Positions are numbered 0 .. GetDrawPosCount() - 1; position 0 is the staff start.
// - No question fails: a view with nothing to say answers as the null view below.

namespace kvt {

class TMusicStaff;
class TNotatedItem;
class TStaffDrawPos;

class TStaffLayoutView {
public:
  virtual ~TStaffLayoutView() = default;

  // The staff the layout is bound to; null when none.
  virtual TMusicStaff* GetStaff() const = 0;
  // Number of draw positions in use.
  virtual int GetDrawPosCount() const = 0;
  // Position n; null outside 0 .. count - 1. The position stays the layout's.
  virtual TStaffDrawPos* GetDrawPosAt(int n) = 0;
  // The draw position of item `itemIndex`; -1 when the layout has none for it.
  virtual int FindDrawPosOfItem(int itemIndex) const = 0;
  // Whether a boundary item (TStaffSizer) takes effect in this layout.
  virtual bool DoesBoundaryApply(const TNotatedItem& boundary) const = 0;
};

// No layout: no staff, no draw positions, and every boundary applies.
class TNullStaffLayoutView final : public TStaffLayoutView {
public:
  TMusicStaff* GetStaff() const override { return nullptr; }
  int GetDrawPosCount() const override { return 0; }
  TStaffDrawPos* GetDrawPosAt(int) override { return nullptr; }
  int FindDrawPosOfItem(int) const override { return -1; }
  bool DoesBoundaryApply(const TNotatedItem&) const override { return true; }
};

}  // namespace kvt
