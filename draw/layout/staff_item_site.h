#pragma once
// TStaffItemSite: the item drawers' view (TItemDrawSite) of one staff of a score layout: the
// staff layout's positions, the score layout's stacking and mode, and its fonts. Made for one
// measuring or drawing walk; the score layout outlives it.

#include "draw/items/item_draw_site.h"

namespace kvt {

class TScoreDrawInfo;
class TStaffDrawInfo;
class TMusicStaff;

class TStaffItemSite final : public TItemDrawSite {
public:
  TStaffItemSite(TScoreDrawInfo& score, TStaffDrawInfo& layout);

  TMusicFonts& Fonts() override;
  int DrawMode() const override;
  bool IsActiveStaff() const override;
  int StaffColor() const override;
  bool IsFirstStaff() const override;
  int TopLinePosition() const override;
  int BottomLinePosition() const override;
  int UpperExtent() const override;
  int LowerExtent() const override;
  bool ConnectsAbove() const override;
  bool ConnectsBelow() const override;
  int LineCount() const override;
  int LastItemIndex() const override;
  const TNotatedItem* ItemAt(int itemIndex) const override;
  const TStaffDrawPos* DrawPosAt(int pos) const override;
  int DistanceToBar(int pos, bool forward, int edge) override;
  int DistanceToPaddedNeighbour(int pos, bool forward) override;
  int RunWidth(int pos) override;
  int CountRestPositions(int pos) override;
  int AnchorOffset(int pos, int justification) override;
  bool ClefAfterNoteInBar(int pos) override;
  int GetClefAt(int pos) override;
  bool NoteSincePreviousBar(int pos) override;
  int MeasureUserObject(int pos) override;
  void DrawUserObject(int pos, int x) override;
  float ExpressionPosition(float position, float up, float down) override;

private:
  TScoreDrawInfo* score;
  TStaffDrawInfo* layout;
  int slot;
};

}  // namespace kvt
