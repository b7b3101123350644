#pragma once
// TMusicStaff: one staff of a score: display, grouping and playback properties, the ordered
// array of notated items and the staff's lyric lines.
//
// Contract:
// - The staff owns its items and its lyrics and deletes them; it is neither copied nor moved.
//   The score owns its staves.
// - The item array always holds at least two items: index 0 and the last index are the
//   boundary bar lines (a new staff holds a Single bar line and a Section Close bar line). No
//   operation removes either of them: detaching and deleting refuse both ends, and insertion
//   clamps its index into 1..GetLastIndex(), so new items always land between the two.
// - Item indices are 0-based. Reads outside the array give null (or the documented 0 / -1),
//   never an error.
// - Size limit: the staff is full when it holds more than kStaffFullCount items. InsertItem into
//   a full staff is a broken precondition "! IsFull()" (a programming error: editors check
//   GetFreeItemCount first). Callers that insert items coming from outside data (file and clip
//   readers, MIDI import, scripts) use TryInsertItem, which refuses with false instead.
// - Play-order walks (GetPlayStateAt, FindContextItems, FindPrevSameType, GetTimeSigAt) take at
//   most GetPlayStepBudget() steps, so no repeat, ending or jump structure, however damaged,
//   keeps them walking forever.
// - Texts are UTF-16; every setter cuts at its field's size on a character boundary.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "notation/context/instrument_def.h"
#include "notation/items/notated_item.h"
#include "notation/staff/staff_items.h"

namespace kvt {

class TNotatedItem;
class TMusicNote;
class TStaffContextState;
class TStaffLyrics;
class TMidiFileBuf;
class TKVVariant;
class TAuditWalkCache;

// The staff is full above this many items.
inline constexpr int kStaffFullCount = 31901;
// GetFreeItemCount is this minus the item count.
inline constexpr int kStaffItemRoom = 32002;

// Field sizes in UTF-16 units, terminator included.
inline constexpr int kStaffNameUnits = 32;
inline constexpr int kStaffLabelUnits = 32;
inline constexpr int kStaffLabelAbbrUnits = 12;
inline constexpr int kStaffGroupUnits = 16;

// Connection bits.
enum TStaffConnection : uint8_t {
  kStaffBracketWithNext = 1,
  kStaffBraceWithNext = 2,
  kStaffConnectBarsWithNext = 4,
  kStaffLayerWithNext = 8,
  kStaffMultiPartDotPlacement = 16,  // the staff's experimental feature
};

// Staff property indices of GetProperty.
enum TStaffProperty : int {
  kStaffPropName = 0,
  kStaffPropLabel = 1,
  kStaffPropLabelAbbr = 2,
  kStaffPropGroup = 3,
  kStaffPropEndingBar = 4,
  kStaffPropBoundaryTop = 5,
  kStaffPropBoundaryBottom = 6,
  kStaffPropLines = 7,
  kStaffPropBracketWithNext = 8,
  kStaffPropBraceWithNext = 9,
  kStaffPropConnectBarsWithNext = 10,
  kStaffPropLayerWithNext = 11,
  kStaffPropMultiPartDotPlacement = 12,
  kStaffPropColor = 13,
  kStaffPropMuted = 14,
  kStaffPropVolume = 15,
  kStaffPropStereoPan = 16,
  kStaffPropDevice = 17,
  kStaffPropChannel = 18,
};
inline constexpr int kStaffPropertyCount = 19;

class TMusicStaff {
public:
  // Steps a play-order walk may take per item of the staff. A repeat plays its bars at most
  // 255 times, a master repeat and the flow jumps multiply that by a small factor, so real
  // music stays far below this; only a hostile structure reaches it.
  static constexpr int64_t kPlayStepsPerItem = 2048;

  // Name "Staff", Group "Standard", channel 0, device 0, reset instrument, Volume 127,
  // StereoPan 64, EndingBar Section Close, boundaries -12 and 12, 5 lines, colour 0; items: a
  // Single bar line and a Section Close bar line; no lyrics.
  TMusicStaff();
  // Deletes the items from the last to the first, then the lyrics.
  ~TMusicStaff();
  TMusicStaff(const TMusicStaff&) = delete;
  TMusicStaff& operator=(const TMusicStaff&) = delete;

  // --- names ---
  // At most 31 units.
  void SetName(std::u16string_view name);
  const char16_t* GetName() const { return name; }
  // At most 31 units.
  void SetLabel(std::u16string_view label);
  // LabelAbbr unless it is empty or full is true; Label otherwise.
  const char16_t* GetLabel(bool full) const;
  const char16_t* GetFullLabel() const { return label; }
  // At most 11 units.
  void SetLabelAbbr(std::u16string_view abbr);
  const char16_t* GetLabelAbbr() const { return labelAbbr; }
  // At most 15 units.
  void SetGroup(std::u16string_view group);
  const char16_t* GetGroup() const { return group; }
  // Group is exactly "_": callers leave such staves out of staff counts.
  bool IsGroupUnderscore() const;

  // --- playback ---
  bool IsMuted() const { return muted != 0; }
  void SetMuted(bool on) { muted = on ? 1 : 0; }
  int GetChannel() const { return channel; }
  // Limited to 0..15.
  void SetChannel(int c);
  int GetDevice() const { return device; }
  // Negative values become 0.
  void SetDevice(int d);
  const TInstrumentDef& GetInstrument() const { return instrument; }
  TInstrumentDef& GetInstrument() { return instrument; }
  void SetInstrument(const TInstrumentDef& def) { instrument = def; }
  // Negative means "send none"; values above 127 become 127.
  int GetVolume() const { return volume; }
  void SetVolume(int v);
  int GetStereoPan() const { return stereoPan; }
  void SetStereoPan(int p);

  // --- drawing ---
  // TStaffEndBar: 0 Section Close, 1 Master Repeat Close, 2 Single, 3 Double, 4 Open (hidden);
  // other codes are stored as 0. The closing bar line takes the matching style with
  // visibility Default.
  int GetEndingBar() const { return endingBar; }
  void SetEndingBar(int code);
  int GetBoundaryTop() const { return boundaryTop; }
  int GetBoundaryBottom() const { return boundaryBottom; }
  // Top limited to -100..-Lines, bottom to Lines..100.
  void SetBoundaries(int top, int bottom);
  int GetLines() const { return lines; }
  // Limited to 0..255; the boundaries are limited again.
  void SetLines(int n);
  // 0 without lines, else -2 x ((Lines - 1) / 2); -4 with 5 lines.
  int GetTopLinePosition() const;
  // (Lines / 2) x 2; 4 with 5 lines.
  int GetBottomLinePosition() const;
  // Staff colour 0..7 (drawing uses 8 + colour); other values are stored as 0.
  int GetColor() const { return color; }
  void SetColor(int c);

  // --- connections with the next staff (TStaffConnection bits) ---
  uint8_t GetConnectionBits() const { return connection; }
  void SetConnectionBits(uint8_t bits) { connection = bits & 0x1F; }
  bool GetBracketWithNext() const { return (connection & kStaffBracketWithNext) != 0; }
  void SetBracketWithNext(bool on) { SetConnection(kStaffBracketWithNext, on); }
  bool GetBraceWithNext() const { return (connection & kStaffBraceWithNext) != 0; }
  void SetBraceWithNext(bool on) { SetConnection(kStaffBraceWithNext, on); }
  bool GetConnectBarsWithNext() const { return (connection & kStaffConnectBarsWithNext) != 0; }
  void SetConnectBarsWithNext(bool on) { SetConnection(kStaffConnectBarsWithNext, on); }
  bool GetLayerWithNext() const { return (connection & kStaffLayerWithNext) != 0; }
  void SetLayerWithNext(bool on) { SetConnection(kStaffLayerWithNext, on); }
  bool GetMultiPartDotPlacement() const { return (connection & kStaffMultiPartDotPlacement) != 0; }
  void SetMultiPartDotPlacement(bool on) { SetConnection(kStaffMultiPartDotPlacement, on); }

  // --- audit mark ---
  bool GetNeedsAudit() const { return needsAudit != 0; }
  void SetNeedsAudit(bool on) { needsAudit = on ? 1 : 0; }
  // The audit walks kept at bar lines of this staff (audit_walk_cache.h). The insert and
  // removal paths below drop those at and after the index they touch.
  TAuditWalkCache& AuditWalkCache();

  // Property by index (TStaffProperty): texts as owned wide texts, EndingBar as its name,
  // boundaries as their absolute values, flags as yes/no, numbers as integers. False, with the
  // variant unchanged, for an index outside 0..18.
  bool GetProperty(int index, TKVVariant& value) const;

  // --- lyrics ---
  // Null until made.
  TStaffLyrics* GetLyrics() { return lyrics.get(); }
  const TStaffLyrics* GetLyrics() const { return lyrics.get(); }
  // The lyrics, made on first use.
  TStaffLyrics& MakeLyrics();
  // Empties every lyric line (the lines and their settings stay).
  void ClearLyrics();

  // --- item access ---
  // Null outside 0..GetLastIndex().
  // Every walk over a staff calls this per item: kept inline.
  TNotatedItem* GetItem(int i) const {
    return i < 0 || static_cast<size_t>(i) >= items.size() ? nullptr
                                                            : items[static_cast<size_t>(i)].get();
  }
  TNotatedItem* GetLastItem() const;
  int GetItemCount() const { return static_cast<int>(items.size()); }
  int GetLastIndex() const { return GetItemCount() - 1; }
  bool IsFull() const { return GetItemCount() > kStaffFullCount; }
  int GetFreeItemCount() const { return kStaffItemRoom - GetItemCount(); }
  // The items in order; valid until the items change.
  TStaffItemSpan GetItems() const { return TStaffItemSpan(items.data(), items.size()); }

  // Inserts before index i, clamped to 1..GetLastIndex(); the staff owns the item. Returns the
  // index the item took. Precondition "! IsFull()"; item not null.
  int InsertItem(std::unique_ptr<TNotatedItem> item, int i);
  // The checked form for items from outside data: when the staff is full (or item is null)
  // returns false and leaves the item with the caller; otherwise inserts as InsertItem, takes
  // the item (item becomes null) and returns true.
  bool TryInsertItem(std::unique_ptr<TNotatedItem>& item, int i);
  // InsertItem, then, for a song note with an automatic stem, the stems of its beam group
  // are set automatically, and the staff is audited two bar lines either side of it.
  int InsertItemAndAudit(std::unique_ptr<TNotatedItem> item, int i);
  // Inserts where the running time reaches `ticks`, summing durations from index 1; an item
  // that reaches past `ticks` is first split there (SplitItemAtTime: exactly at the tick where
  // note values allow, the pieces adding up to the item's whole duration).
  // Returns the index the item took. Precondition "! IsFull()".
  int InsertItemAtTime(std::unique_ptr<TNotatedItem> item, int32_t ticks);
  // InsertItemAtTime with the stem and audit steps of InsertItemAndAudit.
  int InsertItemAtTimeAndAudit(std::unique_ptr<TNotatedItem> item, int32_t ticks);
  // Removes and returns the item at i without deleting it; null for index 0, the last index
  // and indices outside the array.
  std::unique_ptr<TNotatedItem> DetachItem(int i);
  // DetachItem, then an audit two bar lines either side of where the item stood.
  std::unique_ptr<TNotatedItem> DetachItemAndAudit(int i);
  // Deletes the item at i; false (nothing changes) for i of 0 or less and for the last index
  // or more.
  bool DeleteItem(int i);
  // Deletes the items first..last from the last down. Nothing when first is 0 or less; last is
  // limited to the item before the closing bar line, so the closing bar line always stays.
  void DeleteItems(int first, int last);
  // Adds delta to the width of the spacer at i, or else at i - 1; returns the change applied
  // (0 without a spacer).
  int AdjustSpacer(int delta, int i);

  // --- searches ("forward" is dir +1, "back" -1; any other dir counts as +1) ---
  // Steps from `from` by dir while inside 1..GetLastIndex()-1 and stops at the first item of
  // the type code; otherwise the index reached (which may lie outside the array).
  int FindNextOfType(TNotatedItemType type, int from, int dir) const;
  // FindNextOfType for bar lines.
  int FindPrevBar(int from, int dir) const;
  // FindPrevBar limited to 1..GetLastIndex().
  int FindBarClamped(int from, int dir) const;
  // The next song note (note, chord, rest, rest chord), else the index reached limited to
  // 0..GetLastIndex().
  int FindNextSongNote(int from, int dir) const;
  // The next note or chord, else the index reached (not limited).
  int FindNextMusicNote(int from, int dir) const;
  // The member at staff position pos of the next note or chord that has one; null when none.
  TMusicNote* FindNoteWithMemberAt(int from, int pos, int dir) const;
  // The index of bar line n counting from 0 (index 0 is bar line 0); the last index when the
  // staff has fewer; 0 for n of 0 or less.
  int FindBarByNumber(int n) const;
  // The index of the item that starts at tick time target, walking from the item fromIndex
  // that starts at fromTicks: 0 for a target of 0 or less; fromIndex when fromTicks equals the
  // target. Forward, the index reached when the running time first reaches the target (or
  // the last index); backward, the index just after the first item found to start before the
  // target (0 when the walk runs past index 1). fromIndex is limited to 0..GetLastIndex().
  int FindIndexAtTime(int32_t target, int fromIndex, int32_t fromTicks) const;
  // startTicks plus the durations of items from..to-1, or minus those of to..from-1 when to lies
  // before from. to is limited to the last index (and from to 0..last index); a to of 0 or
  // less gives 0. With from 0 and startTicks 0: the tick time at which item `to` starts.
  int32_t GetDurationBetween(int to, int from, int32_t startTicks) const;
  int CountItemsOfType(TNotatedItemType type) const;
  // Whether any item is a note or chord.
  bool HasMusicNotes() const;
  // Clef code 0 (Treble) when the sum over every note and chord of (its largest member staff
  // position - 8) is 0 or less; otherwise 4 (Drum) on channel 9, else 1 (Bass).
  int SuggestClef() const;

  // --- play-order walks (each step asks the item for the next index, then applies it) ---
  // The largest number of steps of one walk: kPlayStepsPerItem per item, at least
  // kPlayStepsPerItem.
  int64_t GetPlayStepBudget() const;
  // Resets the state and walks from item 0 until index i is reached (the state is then as it
  // stands before item i), the walk leaves the staff or the step budget is spent. True when i
  // was reached.
  bool GetPlayStateAt(int i, TStaffContextState& state) const;
  // The same walk with a fresh state, recording the index of the last clef, time signature and
  // key passed; -1 for each that was not met. Null pointers are allowed.
  void FindContextItems(int i, int* clef, int* timeSig, int* key) const;
  // The nearest item before i of item i's type, scanning back and stopping at an ending; when
  // that finds none, the last item of the type passed on the play-order walk to i. -1 when
  // none (or when i is outside the array).
  int FindPrevSameType(int i) const;
  // The time signature in force at i: the nearest time signature scanning back from i - 1; at
  // an ending, the one in force in play order. 4/4 (beats 4, exponent 2) when none.
  void GetTimeSigAt(int i, int& beats, int& beatExponent) const;
  // Resets the state and loads the channel, the device (as port) and the instrument's
  // transposition.
  void InitContextState(TStaffContextState& state) const;
  // InitContextState, then at time 0 on the staff's port and channel: the instrument's bank,
  // program and bend range (as an instrument change performs them), a centred pitch bend when
  // the instrument has a patch or a bend range, control change 7 with Volume when it is 0 or
  // more and control change 10 with StereoPan when it is 0 or more. A null store gets nothing.
  void EmitStaffSetup(TMidiFileBuf* eventStore, TStaffContextState& state) const;

private:
  void SetConnection(uint8_t bit, bool on);
  int ClampInsertIndex(int i) const;
  // One walk in play order from item 0: calls visit(index) for each item before applying it;
  // stops when visit returns false, the walk leaves the staff or the budget is spent. Returns
  // the last index reached.
  template <typename Visit>
  int WalkPlayOrder(TStaffContextState& state, Visit visit) const;

  std::unique_ptr<TStaffLyrics> lyrics;
  std::vector<std::unique_ptr<TNotatedItem>> items;
  char16_t name[kStaffNameUnits] = {};
  char16_t label[kStaffLabelUnits] = {};
  char16_t labelAbbr[kStaffLabelAbbrUnits] = {};
  char16_t group[kStaffGroupUnits] = {};
  int32_t muted = 0;
  int32_t channel = 0;
  int32_t device = 0;
  TInstrumentDef instrument;
  int32_t volume = 127;
  int32_t stereoPan = 64;
  int32_t endingBar = 0;
  int32_t boundaryTop = -12;
  int32_t boundaryBottom = 12;
  uint8_t connection = 0;
  uint8_t color = 0;
  uint8_t lines = 5;
  int32_t needsAudit = 0;
  std::unique_ptr<TAuditWalkCache> auditWalkCache;
};

}  // namespace kvt
