#pragma once
// TStaffRange: a run of items on one staff (first to last index, both included) with the
// operations the editor applies to a selection: counting and duration, widening to whole bars
// or to a beam or hairpin group, grouping into beams and triplets, ties, note flags and heads,
// colours, durations, accidentals, stems, moving up and down, hiding, muting and deletion.
//
// Contract:
// - A plain value; it does not own the staff, which must outlive it. Any change of the
//   staff's items by others leaves first and last as they were: callers re-set the range.
// - The range is valid when it has a staff and 0 <= first <= last; an empty range has last
//   -1 (or below first). Queries on an invalid range answer 0, false or their documented
//   "nothing" value; edits on it do nothing (and answer false where they answer at all).
// - Indices are always bounded by the staff: SetRange and the widening operations clamp into
//   it, and no edit removes or hides the staff's opening or closing bar line.
// - Edits audit the range afterwards (staff_audit.h) unless their comment says otherwise.
// - Group kinds are kGroupBeam (0) and kGroupTriplet (1) of simple_ntn_idx.h; other kinds
//   count as beams.

#include <cstdint>

namespace kvt {

class TMusicStaff;
class TNotatedItem;
class TSimpleNtnIdx;
struct TServices;

class TStaffRange {
public:
  // No staff; empty.
  TStaffRange() = default;
  // SetStaff(staff), then SetRange(a, b).
  TStaffRange(TMusicStaff* staff, int a, int b);
  // The one item of the index.
  explicit TStaffRange(const TSimpleNtnIdx& idx);
  // The staff of the first index and the items between both indices.
  TStaffRange(const TSimpleNtnIdx& a, const TSimpleNtnIdx& b);

  // --- shape ---
  TMusicStaff* GetStaff() const { return staff; }
  int GetFirst() const { return first; }
  int GetLast() const { return last; }
  // The whole staff: first 0, last the last index (-1 without staff).
  void SetStaff(TMusicStaff* newStaff);
  // first = the smaller, last = the larger; when the smaller is negative the range is empty
  // (first the larger, last the smaller). Both are limited to the last index; without staff
  // last is -1.
  void SetRange(int a, int b);
  bool IsValid() const;
  void Clear() { last = -1; }
  // Items in the range; 0 when not valid.
  int GetCount() const;
  // last -= n.
  void DropLast(int n);

  // The beam (kind 0) or triplet (kind 1) group around the index: from the group's First
  // note to its End note when the song note there is in such a group (searching back only
  // from a Middle or End note, forward only from a First or Middle one); otherwise just the
  // index.
  void InitRunAtIndex(const TSimpleNtnIdx& idx, int kind);
  // From the bar line at or before item i to the item before the next bar line (the last
  // index when none follows).
  void SetToBarAt(int i);
  // Widens to whole bars: a range without last takes last = first; first moves back to the
  // item after the previous bar line unless it stands on a bar line (at least 1, and last at
  // least first); last moves forward to the item before the next bar line unless it stands on
  // one (at most the last index - 1). A staff without items between its boundary bar lines
  // leaves the range empty.
  void ExtendToBars();
  // From item i back and forward over items that keep the hairpin run of the song note at i
  // (TSimpleNtnIdx::IsInHairpinRun); first and last become the outermost song notes reached.
  void SetToHairpinRunAt(int i);

  // --- queries ---
  // Sum of the item durations, saturated to the 32-bit range.
  int32_t GetDuration() const;
  // The number of bytes the clip writer writes for the range (framed, without context lines).
  int32_t GetSerializedSize() const;
  // The highest (smallest) top position and the lowest (largest) bottom position over all
  // items; high starts from the largest int and low from the smallest, so an invalid range
  // leaves them so.
  void GetPositionExtent(int& high, int& low) const;
  // The same over notes and chords only.
  void GetNoteExtent(int& high, int& low) const;
  // The same over the groupable notes of the first item's grace flag, while the items stay
  // beamable for the kind; 0 and 0 when there are none.
  void GetGroupExtent(int kind, int& high, int& low) const;
  // False when two song notes inherit different split-stem directions; otherwise true with
  // dir the common one (0 when none).
  bool GetCommonInheritedStem(int& dir) const;
  // Any song note of the range is in a group of the kind.
  bool ContainsGroup(int kind) const;
  // A group of the kind crosses an edge of the range: the first song note of each grace flag
  // is Middle or End, or the last one of each grace flag is First or Middle.
  bool HasPartialGroupOf(int kind) const;
  // The same over both kinds together.
  bool HasPartialGroup() const;
  // No item has notes, at least one plain rest, and no other item stands between the rests.
  bool IsRestOnlyRun() const;
  // The first index whose item has a member at the staff position; 0 when none.
  int FindMemberAt(int position) const;
  // The outermost staff position the range's song notes reach on the stem side dir (+1 the
  // upper side, -1 the lower side) with their stems, articulations and rests; starts from
  // dir x 1000, keeping the smallest candidate for +1 and the largest for -1.
  int GetStemExtent(int dir) const;

  // Common values for the property display (each false when there is nothing to report).
  // Head shape of every member; 14 when mixed.
  bool GetCommonNoteHead(int& shape) const;
  // Colour of every item and member (members without their own colour count as the item's);
  // 8 when mixed.
  bool GetCommonColor(int& color) const;
  // Duration code of every song note; false when they differ.
  bool GetCommonDurationCode(int& code) const;
  // Accidental of every member; false when they differ.
  bool GetCommonAccidental(int& code) const;
  // Stem setting of every song note (0 when they differ); false when a beam group crosses the
  // range's edge or an item with two durations that is not a rest is present.
  bool GetCommonStem(int& dir) const;
  // Shortest and longest duration code over rest parts and first and last members.
  bool GetDurationCodeRange(int& shortest, int& longest) const;
  // Whether the flag bit applies to any item of the range; anySet when an item or member has
  // it.
  bool GetFlagState(int bit, bool& anySet) const;

  // --- edits ---
  // Whether the range can be grouped as a beam (0) or triplet (1).
  bool CanGroup(int kind) const;
  // Groups the range: First at its start, End at its end, Middle between; beams also set one
  // stem direction. False (nothing changed) when CanGroup fails.
  bool Beam(int kind);
  // Beam without the audit, for an edit that groups many ranges and audits them itself.
  bool GroupUnaudited(int kind);
  // Ungroups every group of the kind that has a note in the range.
  bool Ungroup(int kind);
  // Ties every member that has a continuation in the range, or unties them when one was
  // tied. False when the range crosses a clef, key, repeat close or later ending, when a
  // continuation would change its accidental, or when no member has a continuation.
  bool ToggleTies();
  // Sets the flag bit on every item it applies to, or clears it everywhere when any had it.
  // False when the bit applies to nothing (ties: ToggleTies).
  bool ToggleFlag(int bit);
  // Every member gets the head shape (0..13).
  void SetNoteHead(int shape);
  // Every member's head shape advances cyclically to the next shape allowed by mask (bit n
  // allows shape n).
  void CycleNoteHeads(int mask);
  // Every item gets the colour and every member loses its own; colours above 7 (and negative
  // ones) are refused with false.
  bool SetColor(int color);
  // Every song note and all its members get the duration code.
  void SetDurationCode(int code);
  // One user object: the step goes to the services' user-object host; one text expression:
  // its size moves by steps x 10 (5..400); otherwise each song note's code becomes
  // code - steps (0..6), and its members' too when it has more than one member or is a rest.
  void ShiftDurations(int steps, const TServices& services);
  // Every member gets the accidental code.
  void SetAccidental(int code);
  // Every song note gets the stem setting (0 automatic, 1 up, 2 down); with 0 an item whose
  // stem is bound by its structure (TSongNote::IsGroupBound) is left alone.
  void SetStem(int dir);
  // Each song note that is not Middle or End of a beam gets its group's automatic stems.
  void AutoStemGroups();
  // Moves by steps: one spacer, marker, user object, clef or bar line changes itself (see the
  // .cpp); otherwise members and markers move by steps, or expressions by steps x 0.5, or
  // plain rests' vertical offsets by steps.
  void ShiftUpDown(int steps);
  // Visibility Never for every item between the boundary bar lines.
  void HideItems();
  // Every note and chord gets its Muted option.
  void MuteNotes();
  // Keeps the first plain rest, deletes the other rests, and makes it a whole rest without
  // dots lasting `ticks` (the bar length the rests filled). Not audited: its caller audits.
  void MergeRestsToWholeBar(int ticks);
  // Deletes the items first..last (never the boundary bar lines) and empties the range.
  void Delete();
  // Delete, then audits around the old first index.
  void DeleteAndAudit();

private:
  // The item at i when i lies in the range; null otherwise.
  TNotatedItem* ItemAt(int i) const;
  // The staff's last index; -1 without staff.
  int LastIndex() const;
  // Audits the range's items (after an edit).
  void AuditRange();

  TMusicStaff* staff = nullptr;
  int32_t first = 0;
  int32_t last = -1;
};

}  // namespace kvt
