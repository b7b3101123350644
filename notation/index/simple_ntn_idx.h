#pragma once
// TSimpleNtnIdx: a cursor over one staff's item array, and the base of the notation index
// family (relative, drawing, neighbourhood, audit, error-finding and transposing indices).
//
// Contract:
// - The index keeps a staff, an item index and the item at that index (null without staff).
//   It owns nothing: the staff must outlive the index, and any change of the staff's items
//   leaves the index stale until SetStaff, Refresh or Reset.
// - Five virtual operations move it: Reset, SetIndex, Next, Prev, CanMove. Derived indices
//   keep running information in step with every move; the search operations below move only
//   through these, so derived state stays right whatever operation moved the index.
// - Every search steps in direction dir (negative back, otherwise forward) while CanMove(dir)
//   and answers true at the first item that passes its test, false at the staff end; it does
//   not test the item it starts on. Searches are bounded by the staff's length.
// - Indices are copied by value (the copy walks on its own).
// - Type codes are those of notated_item.h.

#include <cstdint>

namespace kvt {

class TMusicStaff;
class TNotatedItem;
class TSongNote;
class TMusicNote;
class TRestNote;
class TClefData;
class TKeyData;
class TBarLineData;
class TSpecialEnding;
class TPatchData;
class TTimeSignatureData;
class TTempoData;
class TDynamicLevelData;
class TChordData;
class TRestChord;
class TSustainPedal;
class TFlowDirection;
class TGenericControl;
class TTempoVariance;
class TDynamicVariance;
class TPerformanceStyle;
class TTextExpression;
class TNtnGeneralExpression;
class TKVTUserObject;
class TStaffSpacer;
class TMultiMeasureRest;
class TStaffSizer;
class TNotationMarker;
class TStaffLayoutView;
class TStaffDrawPos;

// A run of chord members: members first .. first + count - 1.
struct TMemberRange {
  int first = 0;
  int count = 0;
};

// Group kinds of the group tests.
enum TNtnGroupKind : int { kGroupBeam = 0, kGroupTriplet = 1 };

class TSimpleNtnIdx {
public:
  // What a search test answers for the item reached (see FindIf).
  enum class TFindStep { kContinue, kFound, kStop };

  // No staff: every move fails and the item is null.
  TSimpleNtnIdx() = default;
  // At item 0 of the staff.
  explicit TSimpleNtnIdx(TMusicStaff* staff);
  // At item 0, then SetIndex(i).
  TSimpleNtnIdx(TMusicStaff* staff, int i);
  // On the layout's staff, at the draw position's item when the position stands for an item
  // (not the staff start), else at item 0.
  TSimpleNtnIdx(TStaffLayoutView& layout, const TStaffDrawPos& drawPos);
  TSimpleNtnIdx(const TSimpleNtnIdx&) = default;
  TSimpleNtnIdx& operator=(const TSimpleNtnIdx&) = default;
  virtual ~TSimpleNtnIdx();

  // --- the five virtual operations ---
  // Back to item 0 (derived indices clear their running information).
  virtual void Reset();
  // Moves to item i. A negative i moves to item 0 and a target past the last index to the
  // last index; both answer false, as does a missing staff.
  virtual bool SetIndex(int i);
  // False at the last index; else one item forward.
  virtual bool Next();
  // False at index 0; else one item back.
  virtual bool Prev();
  // Back (dir negative): the index is above 0; forward: below the last index.
  virtual bool CanMove(int dir) const;

  // --- position ---
  TMusicStaff* GetStaff() const { return staff; }
  int GetIndex() const { return index; }
  TNotatedItem* GetItem() const { return item; }
  // Attaches at item 0 (through Reset).
  void SetStaff(TMusicStaff* newStaff);
  // Reset and SetIndex back to the same index: recomputes the derived state after an edit.
  void Refresh();
  bool IsAtStart() const { return !CanMove(-1); }
  bool IsAtEnd() const { return !CanMove(1); }
  bool IsAtEitherEnd() const { return IsAtStart() || IsAtEnd(); }
  bool GoFirst() { return SetIndex(0); }
  bool GoLast();
  // Prev when dir is negative, else Next.
  bool Step(int dir) { return dir < 0 ? Prev() : Next(); }
  // Ticks from the staff start to the start of the current item.
  int32_t GetTickTime() const;
  // Negative, 0 or positive as this index stands before, at or after other: by index on one
  // staff, by tick time across staves.
  int Compare(const TSimpleNtnIdx& other) const;
  // Score-text name of the current item's kind; "" without an item.
  const char* GetTypeName() const;

  // --- searches ---
  bool FindType(int type, int dir);
  // Note, rest, chord or rest chord.
  bool FindSongNote(int dir);
  // Song note or multi-bar rest; the second form passes grace notes over.
  bool FindDurationItem(int dir);
  bool FindNonGraceDurationItem(int dir);
  // Bar line or multi-bar rest.
  bool FindBarBoundary(int dir);
  // Dynamic or dynamic variance.
  bool FindDynamicMark(int dir);
  bool FindSongNoteWithGrace(bool graceBit, int dir);
  // Note, chord, or rest chord with a chord part.
  bool FindItemWithNotes(int dir);
  // Song note that takes a lyric syllable.
  bool FindLyricNote(int dir);
  bool FindNoteWithMemberAt(int position, int dir);
  // As FindSongNote / FindItemWithNotes, but false at an ending or flow mark, and, moving
  // back, at a bar line whose style is not Single.
  bool FindSongNoteInBar(int dir);
  bool FindNotesInBar(int dir);
  // User object of the type name (any when null) that has the named parameter (any when null).
  bool FindUserObject(int dir, const char* typeName, const char* property);
  // User object of a class (TUserObjectClass).
  bool FindUserObjectOfKind(int kind, int dir);
  // ":clef" at a clef, ":key" at a key, the type name of a user object of class 1 (staff
  // signature); null otherwise. The text stays valid while the item lives.
  const char* GetClefKeyTag() const;
  bool FindTaggedItem(int dir);
  // The note that continues (forward) or starts (back) a tie at a staff position; see the
  // .cpp for where the search stops.
  bool FindTieTarget(int position, int accidental, bool passHidden, int dir);
  // Moves to the end (forward) or start (back) of the slur of the current song note; true
  // when it stops on that note, false when a repeat, a later ending, a gap or the staff end
  // stops it first.
  bool FindSlurEnd(int dir);

  // --- groups (kind: kGroupBeam or kGroupTriplet) ---
  bool IsInGroupOf(int kind) const;
  bool IsInGroupWithGrace(bool graceBit, int kind) const;
  bool IsGroupState(bool graceBit, int kind, int state) const;
  // In a beam or a triplet.
  bool HasGroupState() const;
  // State First or Middle / Middle or End.
  bool IsGroupOpening(int kind) const;
  bool IsGroupClosing(int kind) const;
  // The current song note, or for a grace note or any other item the previous normal song
  // note, is First or Middle in a triplet.
  bool IsInsideTriplet() const;
  // A song note, and for beams not a rest or rest chord.
  bool IsGroupable(int kind) const;
  // Whether the current item may stand inside a group of the grace flag (see the .cpp).
  bool IsBeamable(bool graceBit, bool allowAll) const;
  static bool IsItemBeamable(const TNotatedItem* item, bool graceBit, bool allowAll);
  // Moves while the next item is beamable, until the group's First state (back) or End state
  // (forward) is reached; true when it stands on that state.
  bool GoToGroupEnd(bool graceBit, int kind, int dir);
  bool FindGroupedNote(int dir);
  bool FindGroupMember(bool graceBit, int kind, int dir);
  bool FindGroupState(bool graceBit, int kind, int state, int dir);
  // Song note whose group-state mask (TSongNote::GetGroupStateMask) has a bit of stateBits.
  bool FindNoteWithGroupState(int stateBits, int dir);

  // Searches back for a notation marker with a target bit of `target` (TMarkerTarget),
  // stopping at a bar line, note, rest, chord, rest chord or multi-bar rest.
  bool FindMarkerFor(int target);
  // Stem direction (+1 up, -1 down) that a split-stem item imposes on the current note; 0
  // when none (see the .cpp).
  int GetInheritedStemDirection() const;

  // 1 crescendo, 2 diminuendo, 0 none: a song note's hairpin flag or a dynamic variance's
  // direction.
  int GetHairpin() const;
  // Not a dynamic or dynamic variance, and not a song note with another hairpin than kind.
  bool IsInHairpinRun(int kind) const;

  // The note or chord itself, or a rest chord's part; null otherwise.
  TMusicNote* GetChordPart() const;
  // The members of the chord part on the stem side dir (+1 up, -1 down): the voice of that
  // stem in a split-stem chord, else every member. Empty without a chord part.
  TMemberRange GetStemSide(int dir) const;

  bool IsOnBarBoundary() const;
  bool IsOnDurationItem() const;
  // The current ending when its ending set is not empty; null otherwise.
  TSpecialEnding* GetPlayedEnding() const;
  // The real position of an expression, user object or marker; the staff position otherwise
  // (0 without an item).
  float GetItemPos() const;

  // --- kind accessors: the current item as that kind, or null ---
  TNtnGeneralExpression* GetExpression() const;
  TMusicNote* GetNoteOrChord() const;
  // Rest or rest chord.
  TRestNote* GetRest() const;
  // The item's notes: a note or chord, or a rest chord's part (the same as GetChordPart).
  TMusicNote* GetNotePart() const;
  TSongNote* GetSongNote() const;
  TClefData* GetClef() const;
  TKeyData* GetKey() const;
  TBarLineData* GetBarLine() const;
  TSpecialEnding* GetEnding() const;
  TPatchData* GetPatch() const;
  TTimeSignatureData* GetTimeSig() const;
  TTempoData* GetTempo() const;
  TDynamicLevelData* GetDynamic() const;
  TMusicNote* GetNote() const;
  TRestNote* GetRestNote() const;
  TChordData* GetChord() const;
  TSustainPedal* GetSustainPedal() const;
  TFlowDirection* GetFlow() const;
  TGenericControl* GetGenericControl() const;
  TTempoVariance* GetTempoVariance() const;
  TDynamicVariance* GetDynamicVariance() const;
  TTextExpression* GetText() const;
  TRestChord* GetRestChord() const;
  TKVTUserObject* GetUserObject() const;
  TStaffSpacer* GetSpacer() const;
  TMultiMeasureRest* GetMultiMeasureRest() const;
  TStaffSizer* GetStaffSizer() const;
  TNotationMarker* GetMarker() const;
  // A tempo variance of style above 2 (the gradual changes); null otherwise.
  TTempoVariance* GetTempoVarianceAbove2() const;

protected:
  // The staff's last index; -1 without staff.
  int LastIndex() const;
  // The item at i of the index's staff; null outside.
  TNotatedItem* ItemAt(int i) const;
  // Places the index at i (already bounded) without any derived bookkeeping.
  void Place(int i);
  // Duration of the other part of a split-stem item: a rest chord's chord part, or the
  // second-duration voice of a chord; 0 for anything else.
  static int GetOtherPartDuration(const TNotatedItem& item);
  // Sets the staff without moving (derived constructors Reset afterwards).
  void AttachStaff(TMusicStaff* newStaff) { staff = newStaff; }

  // Steps in direction dir while CanMove(dir); true when test answers kFound, false when it
  // answers kStop or the staff ends. test(const TNotatedItem&) sees every item reached.
  template <typename Test>
  bool FindIf(int dir, Test test);

private:

  TMusicStaff* staff = nullptr;
  int32_t index = 0;
  TNotatedItem* item = nullptr;
};

template <typename Test>
bool TSimpleNtnIdx::FindIf(int dir, Test test) {
  while (CanMove(dir)) {
    if (!Step(dir) || !item) return false;
    const TFindStep step = test(*item);
    if (step == TFindStep::kFound) return true;
    if (step == TFindStep::kStop) return false;
  }
  return false;
}

}  // namespace kvt
