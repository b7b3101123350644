#pragma once
// TStaffLayoutHost: what a staff layout (TStaffDrawInfo) asks of the layout that owns it
// (the score layout, or a test's fake): the metrics, the draw mode, the staff's place among
// the laid-out staves, and the widths of the item kinds that the staff layout does not
// measure itself (every kind but notes, rests, chords and rest chords).
//
// The host must outlive every staff layout bound to it.

#include <string_view>

#include "draw/layout/layout_metrics.h"

namespace kvt {

class TMusicScore;
class TNotatedItem;
class TStaffDrawInfo;
class TStaffDrawPos;
class TUserObjectDrawHost;

// Draw modes: 0 editor, 1 viewer, 2 print preview, 3 printing, 4 staff-only screen.
enum TDrawMode : int {
  kDrawModeEdit = 0,
  kDrawModeView = 1,
  kDrawModePreview = 2,
  kDrawModePrint = 3,
  kDrawModeStaffOnly = 4,
};

class TStaffLayoutHost {
public:
  virtual ~TStaffLayoutHost() = default;

  virtual const TLayoutMetrics& Metrics() const = 0;
  virtual int GetDrawMode() const = 0;
  // The score laid out; null when none.
  virtual TMusicScore* GetScore() const = 0;
  // Whether the staff layout in `slot` is the first staff of this layout.
  virtual bool IsFirstLayoutStaff(int slot) const = 0;
  // How many groups of lined staves the layout shows.
  virtual int GetLinedGroupCount() const = 0;
  // Width plus dots width of an item that is not a note, rest, chord or rest chord, for its
  // draw position in the layout (never negative).
  virtual int MeasureOtherItem(TStaffDrawInfo& layout, TStaffDrawPos& pos,
                               const TNotatedItem& item) = 0;
  // Width of a lyric syllable in the Staff Lyric font.
  virtual int LyricTextWidth(std::u16string_view text) = 0;
  // The user-object scripts.
  virtual TUserObjectDrawHost& UserObjects() = 0;
  // The slot of the staff being edited (its hidden items take the active hidden colour).
  virtual int GetActiveSlot() const = 0;

  // Hidden items take width and are drawn (hidden-coloured) in the editing modes.
  bool ShowsHiddenItems() const {
    return GetDrawMode() == kDrawModeEdit || GetDrawMode() == kDrawModeStaffOnly;
  }
  bool IsPageOutput() const {
    return GetDrawMode() == kDrawModePreview || GetDrawMode() == kDrawModePrint;
  }
};

}  // namespace kvt
