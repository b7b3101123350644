#pragma once
// Duration, pitch and note-name utilities shared by the staff edits, the MIDI import and the
// drawing code.
//
// Ticks count 768 to the whole note. Every function here takes any int: counts, codes and
// pitches from outside are bounded before they index a table or shift a value.

#include <memory>
#include <string>
#include <vector>

#include "notation/items/song_note.h"

namespace kvt {

class TNotatedItem;
class TTimeSignatureData;

// The shortest duration an item can hold without triplets: a sixty-fourth note. Loops that
// split a length into tied pieces stop once less than this remains.
inline constexpr int kShortestFitTicks = 12;

// value limited to lo..hi, for indices and positions bounded by a staff. An empty interval
// (lo above hi) is a caller's fault: it breaks the precondition "lo <= hi" instead of
// answering an arbitrary value.
int ClampToInterval(int value, int lo, int hi);

// Ticks of a bar: max(beats, 1) x (768 >> exponent). Beats above 128 (more than any time
// signature holds) count as 128; the exponent is limited to 0..7.
int GetBarDuration(int beats, int exponent);
// Ticks of a beat: the bar duration divided by the beats (at least 1, so never by zero); with
// dottedBeats in a compound meter (beats divisible by 3 and beats / 3 at least 2) three times
// that.
int GetBeatDuration(int beats, int exponent, bool dottedBeats);
int GetTimeSigBeatDuration(const TTimeSignatureData& timeSig, bool dottedBeats);
// 768 >> code for code 0 and up (negative codes count as 0); 0 once the shift leaves no tick.
int GetDurationTicks(int code);

// A note with its Tied flag, or a chord with a tied member. Null gives false.
bool IsTied(const TNotatedItem* item);

// Gives a song note (note, rest, chord, rest chord) the longest duration that does not exceed
// `ticks`, trying dotted whole 1152, whole 768, then for each shorter code the dotted value and
// the plain value; with allowTriplets the triplet of each plain value (2/3 of it) comes right
// after that plain value (768, 512, 576, 384, 256, 288 ...). The candidates end at the
// sixty-fourth note (its triplet with allowTriplets): for `ticks` below that, the item takes
// the shortest candidate, so the answer is more than asked and callers see nothing is left.
// The item (and every member, a chord then re-laid out) gets the code, loses both dots, gets
// Dotted for a dotted candidate, and its triplet state becomes None, or First for a triplet
// candidate; a rest loses its explicit tick length. Returns the candidate's ticks; 0 (nothing
// changed) when the item is not a song note.
int SetItemDurationToFit(TNotatedItem* item, int ticks, bool allowTriplets);

// The lengths of tied pieces for `ticks`, each one a duration SetItemDurationToFit gives
// exactly. When note values can add up to ticks exactly: the fewest pieces, the longest piece
// first at each step, plain and dotted values only where they suffice and, with
// allowTriplets, triplet values (512, 256 ... 8) where they do not. Otherwise: the longest
// plain or dotted value not above what is left, again and again while a sixty-fourth still
// fits; the rest is dropped. Counts above kMaxTiedTicks are taken as that.
inline constexpr int kMaxTiedTicks = (1 << 18) - 1;
std::vector<int> TiedPieceLengths(int ticks, bool allowTriplets);
// Where to split `total` ticks near `head` so that note values add up exactly on both sides:
// head itself when they can, else the nearest such point (the earlier of two as near), else
// head. Both counts are taken up to kMaxTiedTicks; allowTriplets as for TiedPieceLengths.
int NearestExactSplit(int head, int total, bool allowTriplets);
// Whether a piece length is a triplet value, which SetItemDurationToFit gives only with
// allowTriplets.
bool IsTripletLength(int ticks);

// A new item to tie on from `item`, handed to the caller:
// - a note: a quarter note at the same position with the same accidental, stem setting and
//   note head, Tied when the source was; the source becomes Tied;
// - a rest: a quarter rest with the same stem setting;
// - a chord: a chord of such copies of each member; the source chord becomes Tied.
// Anything else (null, a rest chord, a non-note) breaks the precondition "Bad Notation".
std::unique_ptr<TNotatedItem> MakeTiedCopy(TNotatedItem* item);

// Sets Tied on the item when it is a note or chord and on each member; returns the member
// count (0 for null).
int TieAll(TNotatedItem* item);

// Staff position of the A below the clef's reference octave: Treble 29, Bass and Drum 17,
// Alto 23, Tenor 21 (others as Bass).
int GetClefBasePosition(int clef);

// A pitch folded by whole octaves into 0..127: above 127 into the top octave (116..127), below
// 0 into the bottom one (0..11); the pitch class stays.
int FoldPitch(int pitch);

// Spells a MIDI pitch on a staff with a clef and a key of `key` sharps (positive) or flats
// (negative): black keys take the letter below with a sharp, or with flats in the key the
// letter above with a flat; with more than 5 flats B is C flat, more than 6 E is F flat; with
// more than 5 sharps F is E sharp, more than 6 C is B sharp. A pitch above 127 folds down by
// whole octaves into the top octave (its pitch class stays). Middle C (60) on a Treble staff
// is position 6. Precondition "pitch >= 0".
void PitchToStaffPosition(int clef, int key, int pitch, int& position, int& accidental);

// "%c%c%d": the letter of the pitch class spelled with sharps, '#' or a blank, pitch / 12 - 1
// (60 is "C 4", 61 "C#4"). Pitches outside 0..127 fold by octaves into that range.
std::string GetMidiNoteName(int pitch);
// The 128 names, each followed by a zero character, and a final zero.
void BuildMidiNoteNames(std::string& buffer);

// Vertical clearance in staff positions between two accidentals (codes 0-4) in one column,
// `first` above `second`: natural then flat 6, natural then natural 5, double sharp then double
// sharp 3; otherwise the first gives 2 for a flat, double flat or double sharp and 3 for a
// sharp or natural, the second 4 for a flat or double flat, 2 for a double sharp and 3 for a
// sharp or natural. Any other code gives 0 in its place.
int GetAccidentalClearance(int first, int second);

}  // namespace kvt
