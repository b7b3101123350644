#pragma once
// Whole-staff edits: operations that rework a whole staff, or the neighbourhood of one item,
// while keeping the notation consistent: removal of redundant items, merging notes into chords
// and taking members out, grouping and stems, tied durations and splitting at beats and bars,
// re-barring, automatic beaming, accidental audits and transposition. The editor, the MIDI
// import and the scripting host call them.
//
// Contract shared by every edit:
// - Indices are item indices of the staff; any int is accepted (out-of-range indices find no
//   item). Ticks count 768 to the whole note.
// - No edit removes the staff's opening or closing bar line.
// - Edits that change items audit the changed span afterwards (staff_audit.h).
// - Edits that insert stop quietly as soon as the staff is full and keep what was done.
// - Items handed in move to the staff only when the edit says it took them; items handed out
//   are the caller's.

#include <cstdint>
#include <memory>
#include <vector>

namespace kvt {

class TMusicStaff;
class TMusicNote;
class TNotatedItem;
struct TServices;

// Moves the items into the staff before index `at` (limited to 1 .. the last index), in order,
// and audits around them once (an edit that inserts several items: a paste, a selector entry,
// tied pieces). Answers how many went in: fewer than all only when the staff filled up; the
// items that did not go in are dropped.
int InsertItemsAndAudit(TMusicStaff& staff, std::vector<std::unique_ptr<TNotatedItem>> items,
                        int at);

// Deletes items that repeat what is already in force: per kind (key, bar line, ending,
// instrument, time signature, tempo, dynamic) an item equal to the one in force from before
// the last song note, and the earlier of two items of one kind with no song note between them;
// then the first of two adjacent sustain-pedal marks of one status (Released, then Down).
// Returns the item count.
int RemoveRedundantItems(TMusicStaff& staff);

// Adds `note` to the song note at i (note entry). On success the staff takes the note (note
// becomes null), the staff is audited around i and the answer is true. On refusal (no song
// note at i, the chord or rest chord refuses the note) the answer is false, the note stays the
// caller's exactly as it was, and the staff is unchanged.
bool MergeNoteAt(TMusicStaff& staff, std::unique_ptr<TMusicNote>& note, int i);
// Takes the member at the staff position out of the chord or rest chord at i and hands it to
// the caller; a rest chord left without notes becomes a plain rest, a chord left with one
// member becomes that member (keeping the chord's visibility). Null when the item is not a
// song note or has no member there (or the member cannot be taken out).
std::unique_ptr<TMusicNote> RemoveMemberAt(TMusicStaff& staff, int i, int position);

// Clears the beam (kind 0) or triplet (kind 1) group that holds the item at i. False when
// the item is in no such group.
bool Ungroup(TMusicStaff& staff, int kind, int i);
// Gives the beam group of the note at i (or the item alone outside a group) one stem
// direction: dir 0 automatic, positive up, negative down. False when the note inherits a
// split-stem direction that an explicit dir contradicts, or when i holds no song note.
bool SetGroupStemDirection(TMusicStaff& staff, int dir, int i);

// Whether the item at b continues the item at a as a tie (or as another rest after a rest).
bool CanContinueTied(const TMusicStaff& staff, int a, int b);
// The item's duration plus that of each following item that continues it.
int32_t GetTiedRunDuration(const TMusicStaff& staff, int i);
// Deletes the items of the tied run at i but the last, which moves to index i.
void CollapseTiedRun(TMusicStaff& staff, int i);
// Gives the song note at i the longest fitting duration and inserts tied copies after it for
// the remainder (remainders below a sixty-fourth note are dropped). Preconditions: an item
// exists at i, and it is a song note.
void SetDurationWithTies(TMusicStaff& staff, int i, int32_t ticks);
// When the song note at i starts at `start` and reaches past `boundary`, re-expresses it as
// tied pieces up to the boundary and pieces for the remainder, each side exact in the fewest
// pieces note values allow (triplet values where plain and dotted ones cannot be exact). When
// no note values end exactly at the boundary, the split falls at the nearest tick where they
// do. Rest chords are not split. Returns the tick where the pieces meet (boundary when nothing
// was split).
int32_t SplitItemAtTime(TMusicStaff& staff, int i, int32_t start, int32_t boundary);
// Re-expresses every song note's tied run in beat-aligned, tied durations of the time
// signature in force; a note followed by rests takes their ticks up to the next beat when that
// is less than restLimit.
void NormalizeDurations(TMusicStaff& staff, bool dottedBeats, int32_t restLimit);
// Every bar that holds only rests standing together and fills exactly the bar length of its
// time signature becomes one whole rest of that length; then the whole staff is audited.
void ConsolidateBarRests(TMusicStaff& staff);
// For ticks of 192 or more: deletes every item from the first that starts at or after that
// time up to the closing bar line (which stays).
void TruncateAtTime(TMusicStaff& staff, int32_t ticks);

// Re-bars the staff by its time signatures (4/4 until the first), splitting notes that cross
// a bar end into tied pieces, deleting misplaced Single bar lines and, with padLastBar,
// filling the last bar with rests.
void AutoInsertBarLines(TMusicStaff& staff, bool padLastBar);
// Beams the notes of each beat (compound meters by dotted beats with dottedBeats), then runs
// of grace notes.
void AutoBeam(TMusicStaff& staff, bool dottedBeats);
// AutoBeam for a staff audited as a whole just before (nothing changed since): beams every
// group without auditing it, then audits the whole staff once. Gives the staff AutoBeam gives,
// in one audit walk; a staff not audited beforehand may come out differently.
void AutoBeamAuditedStaff(TMusicStaff& staff, bool dottedBeats);

// Every member's automatic accidental becomes the one the running context gives it.
void MakeAccidentalsExplicit(TMusicStaff& staff);
// Audits the staff, makes accidentals explicit, then returns each member to automatic where
// its accidental is implied by the key, the bar and the ties.
void AuditAccidentals(TMusicStaff& staff);
// The index of the first item after `from` whose chord the accidental audit cannot spell
// cleanly (adjacent members within a semitone, see the .cpp); 0 when none.
int FindSpellingConflict(TMusicStaff& staff, int from);
// Makes accidentals explicit, respells every song note under its running context, then
// audits accidentals.
void NormalizeChords(TMusicStaff& staff);

// Transposes every key, song note and user object (through the services' user-object host; none
// without one) by `semitones`; `steps` is the key-spelling preference (negative prefers flat
// keys, positive sharp keys). With keepSounding, every instrument item's transposition and the
// staff instrument's are reduced by the semitones.
void Transpose(TMusicStaff& staff, int semitones, int steps, bool keepSounding,
               const TServices& services);
// The first index after `from` whose item cannot be transposed exactly; 0 when none.
int FindUntransposableItem(TMusicStaff& staff, int semitones, int steps, int from);

}  // namespace kvt
