#pragma once
// TStaffDrawInfo: the layout of one staff inside a score layout. It turns the staff's items
// into draw positions (TStaffDrawPos), one or more per item, each with a width, and answers
// the geometric questions about the staff: the x of an item, the item under an x, the y of a
// staff position. Layout results live here, never in the items.
//
// Contract:
// - The host (TStaffLayoutHost) and the bound staff must outlive the layout; a change to the
//   staff's items leaves the positions stale until the next build.
// - Positions hold at most kMaxDrawPositions entries; a build that would pass it ends early
//   (the system simply ends there). Position 0 is always the staff start.
// - No operation fails on any staff that loaded: counts and widths are bounded, and x sums are
//   64-bit before they are clamped into an int.
// - Builds resume walking the staff from the nearest place an earlier build reached (kept per
//   system start). After the staff's items change, call StaffChanged with the first changed
//   item before the next build (SetStaff forgets everything), so no count from before the
//   edit is reused past it.
// - As a TStaffLayoutView the layout serves the notation indices that walk its positions.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/layout/slur_layout.h"
#include "draw/layout/staff_connects.h"
#include "draw/layout/staff_layout_host.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/index/sd_ntn_idx.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/index/staff_layout_view.h"
#include "notation/items/lyric_text.h"

namespace kvt {

class TMusicStaff;
class TMusicScore;

inline constexpr int kMaxDrawPositions = 2048;
inline constexpr int kDrawPositionGrowth = 256;

// Where a system starts: an item and, inside a multi-bar rest, the bar it resumes at. The
// bar is 32-bit, so rests longer than 255 bars resume where they were split.
struct TLayoutStart {
  int32_t itemIndex = 0;
  int32_t restBar = 0;
  bool operator==(const TLayoutStart&) const = default;
};

// Position predicates that need the staff's items. Alignment classes: 0 none, 1 signature
// expression, 2 clef at a bar's start, 3 key, 4 time signature, 5 bar line or continuation,
// 6 gap, 7 multi-bar rest, 8 note; a hidden position is 0.
int GetAlignClass(const TStaffDrawPos& pos, const TMusicStaff* staff);
// A bar line that counts in the bar numbering, or a multi-bar-rest continuation.
bool IsNumberedBar(const TStaffDrawPos& pos, const TMusicStaff* staff);
// Gaps, grace notes, signature expressions, clefs, keys and time signatures.
bool IsContextItem(const TStaffDrawPos& pos);
// Not other items, boundaries, spacers and forward expressions; notes only when visible.
bool TakesDurationPadding(const TStaffDrawPos& pos);
// Gaps, the staff start, clefs, keys, time signatures, bar lines and numbered endings.
bool StopsBackSpacing(const TStaffDrawPos& pos, const TMusicStaff* staff);

class TStaffDrawInfo final : public TStaffLayoutView {
public:
  TStaffDrawInfo(TStaffLayoutHost& host, int slot);

  // Binds a staff of the host's score (index into its staves); preconditions as the
  // library's: a host score and an existing staff.
  void SetStaff(int scoreStaffIndex);
  // Binds a staff directly (tests and single-staff use); score staff index -1.
  void SetStaffByPointer(TMusicStaff* staff);
  void SetStaffY(int y) { originY = y; }
  // The staff's items from firstChanged on changed: forget the walk's places from there.
  void StaffChanged(int firstChanged = 0);
  int GetStaffY() const { return originY; }
  // Upper and lower extents in steps (magnitudes, 0..255), as the vertical stacking sets them;
  // binding a staff sets its own boundaries.
  void SetExtents(int upper, int lower) {
    upperExtent = std::clamp(upper, 0, 255);
    lowerExtent = std::clamp(lower, 0, 255);
  }
  int GetUpperExtent() const { return upperExtent; }
  int GetLowerExtent() const { return lowerExtent; }
  int GetTopY() const { return PositionToY(static_cast<float>(-upperExtent)); }
  int GetBottomY() const { return PositionToY(static_cast<float>(lowerExtent)); }

  // --- TStaffLayoutView ---
  TMusicStaff* GetStaff() const override { return staff; }
  int GetDrawPosCount() const override { return static_cast<int>(positions.size()); }
  TStaffDrawPos* GetDrawPosAt(int n) override;
  int FindDrawPosOfItem(int itemIndex) const override;
  bool DoesBoundaryApply(const TNotatedItem& boundary) const override;

  const TStaffDrawPos* PositionAt(int n) const;
  int GetStaffIndex() const { return scoreStaffIndex; }
  int GetSlot() const { return slot; }
  TStaffLayoutHost& GetHost() const { return *host; }
  TMusicScore* GetScore() const { return host->GetScore(); }
  const TLayoutMetrics& Metrics() const { return host->Metrics(); }
  bool ShowsHiddenItems() const { return host->ShowsHiddenItems(); }

  // --- Geometry ---
  int GetStepHeight() const;
  // origin + position x step, truncated towards zero.
  int PositionToY(float position) const;
  int YToPosition(int y) const;
  // The top or bottom line's staff position (direction < 0 up, > 0 down); the first position
  // outside the staff on that side (+/-999 without lines).
  int GetOuterLinePosition(int direction) const;
  int GetFirstOuterPosition(int direction) const;

  // --- Positions ---
  // Sum of the widths before position n (n = count gives the total).
  int XOfPosition(int n) const;
  int GetTotalWidth() const { return XOfPosition(GetDrawPosCount()); }
  int WidthBetween(int from, int to) const;
  // x of an item; INT_MAX after the laid-out range, -2147483646 before it.
  int ItemIndexToX(int itemIndex) const;
  int XToItemIndex(int x) const;
  int GetFirstCaretIndex() const;
  int GetLastCaretIndex() const;
  bool FirstPositionTimeless() const;
  // Numbered bars passed before the nearest caret stop to position n (forwards first): at the
  // staff start, the bars before the system.
  int GetSystemBarCounter(int n) const;
  bool IsCaretStop(const TStaffDrawPos& pos) const;

  // --- Layout ---
  bool IsItemVisible(const TNotatedItem& item) const;
  // Lays out from the first item at or after tick `firstTime`, with three bars of lead-in,
  // until `width` is used (then to the third following bar line).
  void BuildPositions(int64_t firstTime, int width);
  // Lays out one system from `start` until `width` is full, ending at a bar line or
  // multi-bar rest once a note was placed; at least one item is always placed.
  void BuildPositionsFrom(const TLayoutStart& start, int width);
  // Drops the positions after the first one whose running time passes `ticks`.
  void TruncateAt(int64_t ticks);
  // Drops trailing positions back to the last bar line or continuation.
  void CloseSystem();
  // Where the next system starts.
  TLayoutStart GetLayoutEnd() const;
  bool ReachedStaffEnd() const { return reachedEnd; }

  // Widens note positions so that each lyric syllable, with its hyphen, fits before the next
  // syllable (centred under the head with the alignment "Standard Rules"). Run by the builds.
  void SpaceLyrics();

  // The width an item takes at a position: its width plus its dots width.
  int MeasureItem(TStaffDrawPos& pos, const TNotatedItem& item);
  // The width of the item drawn at position n alone (no space after it); 0 for the start.
  int GetFullWidth(int n);
  int GetTailWidth(int n) const;
  // The larger of the position's width and its item's width plus dots.
  int GetDrawnWidth(int n);
  // x of an item plus its lead width.
  int ItemIndexToDrawnX(int itemIndex) const;
  // Position of the item, or -1.
  int FindPosition(int itemIndex) const { return FindDrawPosOfItem(itemIndex); }
  int GetLastPosition() const { return GetDrawPosCount() - 1; }
  // The next note, rest or chord position after n; -1 when none.
  int NextNotePosition(int n) const;
  // Running time (ticks) at the start of position n.
  int64_t TimeSlotAt(int n) const;
  int64_t XToTimeSlot(int x) const;
  // The first position whose running time reaches ticks; -1 past the end.
  int ItemAtTimeSlot(int64_t ticks) const;
  int64_t TimeSlotOfItem(int itemIndex) const;
  bool IsLaidOutToEnd() const { return reachedEnd; }
  // The item and chord member (0 for other items) whose head box holds (x, y); false if none.
  bool HitTestMember(int x, int y, int& itemIndex, int& member);

  // --- Queries for the item drawing ---
  // Distance from position n to the nearest bar line in a direction (> 0 forwards): to its
  // near edge, its far edge (edge != 0 in the walk's direction) or, with edge 0, to the side
  // of its repeat dots. With stopAtContext a clef, key, time signature, gap or grace position
  // ends the walk; continuations count as bar lines with countContinuations.
  int DistanceToBar(int n, int direction, int edge, bool stopAtContext, bool countContinuations);
  // Widths of position n and the following positions of the same item (or, when hidden items
  // are not shown, positions that take no duration padding), less 1.5 units when larger.
  int RunWidth(int n) const;
  // Distance to the next position that takes duration padding (backwards: only a bar line or
  // continuation, from its drawn right edge; else 0).
  int DistanceToPaddedNeighbour(int n, int direction);
  // Offset from position n to the next note, rest, bar line or multi-bar rest for placing
  // an expression: anchor 0 left, 1 centre, 2 right.
  int AnchorOffset(int anchor, int n);
  bool ClefAfterNoteInBar(int n) const;
  // Clef kind in force at position n; defaultClef when none is known.
  int GetClefAt(int n, int defaultClef) const;
  // The nearest preceding notation marker position with the target (0 articulation, 1 slur,
  // 2 triplet), stopping at a note, rest, multi-bar rest or bar line; -1 when none.
  int FindMarkerBefore(int n, int target) const;
  int FindRestStart(int n) const;
  int CountRestPositions(int n) const;
  bool FollowedByVisibleSpacer(int n) const;
  int MeasureUserObject(int n);
  void DrawUserObject(int n, int x);
  // The name when hidden items are shown or the layout starts at the staff's beginning,
  // else the abbreviation when there is one.
  const char16_t* GetStaffLabel() const;

  // Boundary fitting for the vertical stacking: the boundary sizes in effect at the notes,
  // rests, chords, bar lines and multi-bar rests from the first to the last caret stop (the
  // first one's sizes raised to the largest met later), and whether every one of them lies in
  // a collapsed section (also when there is no caret stop).
  void FitBoundaries(bool& collapsed, int& upper, int& lower);

  // Beam lines and tuplet brackets of the laid-out range, rebuilt before the staff is drawn.
  TKVStaffConnects& Beams() { return beams; }
  TKVStaffConnects& Brackets() { return brackets; }
  TKVStaffSlurs& Slurs() { return slurs; }
  // The note-head lead of a note position: accidental columns plus a left-shifted head.
  int GetLeadWidth(const TStaffDrawPos& pos) const;

private:
  friend class TStaffPositionBuilder;

  TStaffLayoutHost* host;
  int slot;
  int scoreStaffIndex = -1;
  TMusicStaff* staff = nullptr;
  int originY = 0;
  int upperExtent = 0;
  int lowerExtent = 0;
  std::vector<TStaffDrawPos> positions;
  // Where the build ended (the cursor's place after the last item placed).
  TLayoutStart layoutEnd;
  bool reachedEnd = false;
  // The build stopped at the position limit, inside a bar.
  bool endedByLimit = false;
  // Places the walk reached (where builds ended), by item index; a build seeks from the
  // nearest one before its start. A place is used only while its item still stands there.
  std::vector<TRelNtnIdx> checkpoints;
  void AddCheckpoint(const TRelNtnIdx& at);
  // Boundary states the fitting reached at the end of a system, by item index, with the
  // visibility they were walked under (boundary items may be shown on some staves only);
  // the fitting of a later system goes on from the nearest one, so it costs the same at any
  // bar. Dropped with the walk's places.
  struct TBoundaryPlace {
    TSDNtnIdx at;
    int visibility = 0;
  };
  std::vector<TBoundaryPlace> boundaryPlaces;
  int BoundaryVisibility() const;
  TSDNtnIdx BoundaryCursor(int targetIndex);
  void AddBoundaryPlace(const TSDNtnIdx& at);
  TRelNtnIdx ResumeCursor(int targetIndex, int64_t targetTicks = -1) const;
  // One syllable cursor per lyric line, kept between builds.
  std::array<TLyricSyllableIter, 8> syllableCursors;
  std::array<const TLyricText*, 8> syllableLines{};
  // The signature items (clef, key, staff-signature objects) met before scannedTo, by name in
  // the order first met, with the last item of each name.
  struct TSignatureScan {
    int scannedTo = 1;
    std::vector<std::string> names;
    std::vector<int> lastItem;
  } signatures;
  // The scan as it stood at earlier system starts, by scannedTo: a system before the scan's
  // end goes on from the nearest one instead of scanning from the staff's start.
  std::vector<TSignatureScan> signatureScans;
  TSignatureScan SignatureScanBefore(int stop) const;
  void KeepSignatureScan(const TSignatureScan& scan);
  // Running x at the start of each position; rebuilt when positions may have changed.
  mutable std::vector<int64_t> xCache;
  mutable bool xDirty = true;
  void MarkChanged() { xDirty = true; }
  // Position n for measuring and the scripts' questions, which leave its width alone.
  TStaffDrawPos* PositionForMeasure(int n) {
    return n >= 0 && n < GetDrawPosCount() ? &positions[static_cast<size_t>(n)] : nullptr;
  }
  TKVStaffConnects beams{32};
  TKVStaffConnects brackets{16};
  TKVStaffSlurs slurs{16};
};

}  // namespace kvt
