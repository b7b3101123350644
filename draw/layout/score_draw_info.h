#pragma once
// TScoreDrawInfo: the layout of one score for one output (the editor's window or a page's
// system): an ordered list of at most 64 staff layouts, stacked vertically, laid out from
// per-staff starts, lined up so that simultaneous items share an x, broken at a system width
// and justified to it. Layout results live here and in the staff layouts, never in the items.
//
// Contract:
// - The score, the fonts and the user-object host are not owned and must outlive the object.
// - Layout operations measure with the fonts; they open a sizing phase of their own when the
//   fonts are in none, so they may run inside a drawing phase too.
// - Adding a 65th staff does nothing; a staff index outside the score is refused.
// - Any score that loaded lays out in bounded time: every walk is bounded by the position
//   limit of the staff layouts, and the stretch by the width asked for.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "draw/device_context.h"
#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/song_note_drawer.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/layout/staff_layout_host.h"
#include "draw/layout/staff_stacking.h"
#include "draw/user_object_draw_host.h"

namespace kvt {

class TKVBoolArray;
class TKVTNTNPrintData;
class TMusicFonts;
class TMusicScore;

inline constexpr int kMaxLayoutStaves = 64;

class TScoreDrawInfo final : public TStaffLayoutHost {
public:
  TScoreDrawInfo(TMusicScore& score, TMusicFonts& fonts, int drawMode);
  ~TScoreDrawInfo() override;
  TScoreDrawInfo(const TScoreDrawInfo&) = delete;
  TScoreDrawInfo& operator=(const TScoreDrawInfo&) = delete;

  // --- Staves ---
  // No staves in use.
  void ResetLayout();
  // Binds the next staff layout to a score staff; false when 64 are in use or no such staff.
  bool AddStaff(int scoreStaffIndex);
  // A staff of the score by pointer; false when it is not the score's or 64 are in use.
  bool AddStaffByPointer(const TMusicStaff* staff);
  // No staves, then the one given.
  bool StartWithStaff(int scoreStaffIndex);
  // Fill routines: each starts from no staves and adds until the stacked height reaches
  // heightLimit or 64 staves are in use, so the last staff added may end below the limit.
  // Staff indices that the score does not hold are passed over. Answer the staves in use.
  int AddStavesFromList(std::span<const int> scoreStaves, int firstEntry, int heightLimit);
  // Every staff whose bit is set, in score order.
  int AddSelectedStaves(const TKVBoolArray& selection, int heightLimit);
  // Consecutive staves from firstStaff.
  int AddStavesFrom(int firstStaff, int heightLimit);
  int GetStaffCount() const { return inUse; }
  bool IsFull() const { return inUse >= kMaxLayoutStaves; }
  // Null outside 0 .. count - 1.
  TStaffDrawInfo* GetStaffDrawInfo(int i) const;
  // The stacking of staff i (origin, extents, group and connection bits).
  const TStackedStaff& GetStack(int i) const;
  const TStackResult& GetStacking() const { return stacking; }
  // With boundary fitting, each staff's extents are the boundary sizes in effect over its laid
  // out items, and a staff whose items all lie in a collapsed section collapses (never all).
  void Restack(bool fitBoundaries = false);
  int GetTotalHeight() const { return stacking.totalHeight; }
  int GetStepHeight() const;

  // --- Position queries (slot: 0 .. count - 1; other slots answer as noted) ---
  // The score staff of a slot; null outside the range.
  TMusicStaff* GetStaff(int slot) const;
  // The score's index of a slot's staff; -1 outside the range.
  int GetScoreStaffIndex(int slot) const;
  // The slot that shows a score staff (by index or pointer); -1 when none does.
  int FindStaffDrawInfo(int scoreStaffIndex) const;
  int FindStaff(const TMusicStaff* staff) const;
  bool IsFirstStaff(int slot) const { return slot == 0 && inUse > 0; }
  bool IsLastStaff(int slot) const { return slot >= 0 && slot == inUse - 1; }
  // The first slot of the next (direction > 0) or previous (< 0) group of stacked staves;
  // layered staves form one group. -1 when there is none.
  int GetNeighbourStaff(int slot, int direction) const;
  // The slot is layered with another staff and its staff asks for multi-part dot placement.
  bool UsesMultiPartDotPlacement(int slot) const;
  // y of a slot's middle line (0 outside the range).
  int GetStaffY(int slot) const;
  // The staff's band from x 0 to the largest int: origin minus upper extent steps to origin
  // plus lower extent steps (a collapsed staff has no extents). Empty outside the range.
  TDcRect GetStaffBounds(int slot) const;
  // The band over the staff's laid-out width only.
  TDcRect GetBoundsRect(int slot) const;
  // origin + position x step, truncated towards zero.
  int StaffPositionToY(int slot, float position) const;
  // Quotient of 2 x (y - origin) by the staff-line spacing; the remainder goes to *remainder.
  int YToStaffPosition(int slot, int y, int* remainder = nullptr) const;
  // The first staff whose top lies below y or whose band holds y, else the last; -1 without
  // staves.
  int YToStaffIndex(int y) const;
  // x of a cursor's place on a slot's staff (a later bar of a multi-bar rest at its own
  // position): as TStaffDrawInfo::ItemIndexToX when the item is not laid out.
  int CursorToX(int slot, const TLayoutStart& at) const;
  // The tick time at x on a slot's staff; 0 outside the range.
  int64_t XToTimeSlot(int slot, int x) const;
  // Width of the first staff's starting position (a gap at the very start widens it).
  int GetFirstPositionWidth() const;

  // y of the top line of the first (direction < 0) or the bottom line of the last (> 0) staff
  // that has lines and is not collapsed; 0 without one.
  int GetSystemEdgeY(int direction) const;

  // --- Modes ---
  void SetDrawMode(int mode) { drawMode = mode; }
  // Attaches the page renderer this layout draws for (not owned); outside the page modes the
  // mode becomes printing.
  bool AttachPrintData(TKVTNTNPrintData* print);
  TKVTNTNPrintData* GetPrintData() const { return printData; }
  void SetActiveStaff(int i) { activeStaff = i; }
  int GetActiveStaff() const { return activeStaff; }
  // The editor's "Layering in Edit Mode" setting.
  void SetLayering(bool on) { layering = on; }
  // Layered staves share one origin when the score allows layering and either the mode is
  // not editing or the setting is on.
  bool IsLayeringActive() const;
  void ToggleNoJustify() { noJustify = !noJustify; }
  bool IsNoJustify() const { return noJustify; }
  void SetUserObjectHost(TUserObjectDrawHost& host) { userObjects = &host; }
  // Not owned; must outlive the layout. The standard drawer until another is installed.
  void SetSongNoteDrawer(TSongNoteDrawer& drawer) { songNotes = &drawer; }
  TSongNoteDrawer& SongNotes() const { return *songNotes; }
  TMusicFonts& Fonts() const { return *fonts; }

  // --- Layout ---
  // The editor's layout: each staff from the first item at or after tick firstTime, with a
  // few bars of lead-in, until width is used.
  void LayoutStaves(int64_t firstTime, int width);
  // Each staff in use from its start (missing starts: the staff's beginning).
  void LayoutStavesFromItems(std::span<const TLayoutStart> starts, int width);
  // Each staff from where its previous layout ended.
  void LayoutStavesContinued(int width);
  std::vector<TLayoutStart> GetLayoutEnds() const;
  // Lines up simultaneous items over all staves.
  void AlignStaves();
  // Breaks the system at width and justifies it; answers the staves in use.
  int BreakAndJustify(int width);
  // The widest staff's total width.
  int GetNaturalWidth() const;

  // --- Drawing (the fonts in a drawing phase) ---
  // Every staff in order, the staff `drawnLast` (-1 none) last so that it lies on top;
  // collapsed staves other than the first are skipped.
  void Draw(int spanRight, int leftX, int yOffset, int drawnLast = -1);
  // The label of each group, centred in a column of labelWidth from x at its middle line; a
  // brace run whose groups all carry the same label shows it once, centred between the run's
  // top and bottom lines. Empty groups show none.
  void DrawStaffLabels(int x, int yOffset, int labelWidth);
  // Room for brackets and braces left of the system.
  int GetBracketWidth() const;
  // The widest label (full names or abbreviations) in Staff Bold; with brace room 4 spaces
  // more for a braced staff, and 3 spaces added.
  int GetStaffLabelWidth(bool braceRoom, bool fullNames) const;
  // The label drawn for staff i.
  std::u16string GetStaffLabel(int i) const;
  // The label of the group that starts at slot `first`: its first member's label that is not
  // empty, collapsed members passed over.
  std::u16string GetGroupLabel(int first) const;
  // More than one lined group, or any bracket.
  bool NeedsSystemLine() const;
  // The first staff holds a NewSystem boundary with NewPage before its first timed bar ends.
  bool StartsWithNewPage() const;

  // --- TStaffLayoutHost ---
  const TLayoutMetrics& Metrics() const override { return metrics; }
  int GetDrawMode() const override { return drawMode; }
  TMusicScore* GetScore() const override { return score; }
  bool IsFirstLayoutStaff(int slot) const override { return slot == 0; }
  int GetLinedGroupCount() const override { return stacking.linedGroups; }
  int MeasureOtherItem(TStaffDrawInfo& layout, TStaffDrawPos& pos,
                       const TNotatedItem& item) override;
  int LyricTextWidth(std::u16string_view text) override;
  TUserObjectDrawHost& UserObjects() override { return *userObjects; }
  int GetActiveSlot() const override { return activeStaff; }

private:
  void Break(int width, std::vector<int64_t>& endTimes);
  void Stretch(int width);

  TMusicScore* score;
  TMusicFonts* fonts;
  TKVTNTNPrintData* printData = nullptr;
  TMusicFontsMetrics metrics;
  TNullUserObjectDrawHost nullUserObjects;
  TUserObjectDrawHost* userObjects;
  TStandardSongNoteDrawer standardSongNotes;
  TSongNoteDrawer* songNotes = &standardSongNotes;
  int drawMode;
  int activeStaff = 0;
  bool layering = false;
  bool noJustify = false;
  int inUse = 0;
  std::vector<std::unique_ptr<TStaffDrawInfo>> staves;
  TStackResult stacking;
};

}  // namespace kvt
