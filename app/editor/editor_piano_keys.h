#pragma once
// The piano bar's keys from the editor's place on a staff: the keys the notes of a range of
// items sound, and the key and accidental a note at the caret's vertical position would take.
// Pitches follow the running state of the play-order walk up to the range (clef, key
// signature, accidentals in force, transposition).

#include <vector>

namespace kvt {

class TMusicStaff;

// The sounding keys (0..127, ascending, each once) of every note and chord member among the
// items first..last; empty when the range holds no note or lies outside the staff.
std::vector<int> NoteKeysOfItems(const TMusicStaff& staff, int first, int last);

struct TCaretKey {
  int key = 0;         // 0..127
  int accidental = 0;  // the accidental code implied by the key signature and the bar
};

// A note at the vertical staff position before item `caretIndex`.
TCaretKey CaretKeyAt(const TMusicStaff& staff, int caretIndex, int caretPos);

}  // namespace kvt
