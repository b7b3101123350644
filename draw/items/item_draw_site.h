#pragma once
// TItemDrawSite: what measuring and drawing an item asks of the staff it stands in: the music
// fonts of the output, the output's draw mode, the staff's lines, boundaries and connections,
// and the distances and counts that only the staff layout knows. The staff layout answers
// for its own staff; tests answer with fixed values.
//
// Contract:
// - Positions are the staff layout's draw-position indexes; every question about a position
//   outside the layout answers as for a position with nothing around it (distances 0, no
//   bar counted, the staff's first clef).
// - The fonts are in a sizing phase while widths are asked and in a drawing phase while items
//   draw. The site is not owned by the item drawers and outlives each call.

#include "draw/layout/staff_layout_host.h"

namespace kvt {

class TMusicFonts;
class TNotatedItem;
class TStaffDrawPos;

class TItemDrawSite {
public:
  virtual ~TItemDrawSite();

  virtual TMusicFonts& Fonts() = 0;
  // 0 editing, 1 viewer, 2 preview, 3 printing, 4 staff-only screen.
  virtual int DrawMode() const = 0;
  bool HiddenShown() const {
    return DrawMode() == kDrawModeEdit || DrawMode() == kDrawModeStaffOnly;
  }
  bool Editing() const { return DrawMode() == kDrawModeEdit; }

  // --- The staff ---
  virtual bool IsActiveStaff() const = 0;
  // The staff's own colour 0..7.
  virtual int StaffColor() const = 0;
  // The staff is the first of the layout (its marks of system breaks show).
  virtual bool IsFirstStaff() const = 0;
  // Staff positions of the top and bottom lines (both 0 for a staff of one line or none).
  virtual int TopLinePosition() const = 0;
  virtual int BottomLinePosition() const = 0;
  // The staff's upper and lower extents in steps (absolute values).
  virtual int UpperExtent() const = 0;
  virtual int LowerExtent() const = 0;
  // Bar lines join the staff above / below.
  virtual bool ConnectsAbove() const = 0;
  virtual bool ConnectsBelow() const = 0;
  // Number of staff lines.
  virtual int LineCount() const = 0;
  // Index of the staff's last item.
  virtual int LastItemIndex() const = 0;
  // The staff's item at an index; null outside the staff.
  virtual const TNotatedItem* ItemAt(int itemIndex) const = 0;

  // --- Positions ---
  // The draw position at pos; null outside the layout.
  virtual const TStaffDrawPos* DrawPosAt(int pos) const = 0;
  // Distance from pos's x to the bar line before it (backwards, negative or 0) or after it
  // (forwards); edge 0 measures to the bar's left edge, 1 to its right edge.
  virtual int DistanceToBar(int pos, bool forward, int edge) = 0;
  // Distance to the padded neighbour position before or after pos.
  virtual int DistanceToPaddedNeighbour(int pos, bool forward) = 0;
  // The width from pos's x over the positions that run with it (a multi-bar rest's bars).
  virtual int RunWidth(int pos) = 0;
  // The bars of the multi-bar rest at pos laid out in this layout; 0 for none.
  virtual int CountRestPositions(int pos) = 0;
  // The offset from pos's x to the next note, anchored by the justification.
  virtual int AnchorOffset(int pos, int justification) = 0;
  // A note, rest or multi-bar rest precedes the clef at pos in its bar.
  virtual bool ClefAfterNoteInBar(int pos) = 0;
  // The clef type in force at pos.
  virtual int GetClefAt(int pos) = 0;
  // A note, rest, chord or multi-bar rest stands between the bar line before pos and pos.
  virtual bool NoteSincePreviousBar(int pos) = 0;

  // The position an expression placed at `position`, its ink reaching `up` steps above and
  // `down` steps below it, is drawn at: clear of the staff's lyric lines
  // (draw/layout/lyric_band.h). A site without lyrics keeps the position.
  virtual float ExpressionPosition(float position, float up, float down) { return position; }

  // --- User objects ---
  // The width the object's script reports; 0 when it cannot say.
  virtual int MeasureUserObject(int pos) = 0;
  // Lets the object's script draw with its anchor at x.
  virtual void DrawUserObject(int pos, int x) = 0;
};

}  // namespace kvt
