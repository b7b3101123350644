#pragma once
// What a MIDI keyboard enters at the editor's caret: the running state there, the note or
// chord made of the released keys, the tied pieces of an item longer than the room left in
// its bar, and the instrument change of a program change. No editor state: the editor hands
// in the note settings and the staff, and inserts what comes back.
//
// Each key becomes a note: moved an octave for an octave-shifting clef (down for a clef that
// sounds an octave up), the transposition in force subtracted unless ignoreTransposition, folded
// into 0..127 (above 127 into 116..127, below 0 into 0..11), then spelled by the key
// signature's preference. Notes join the chord from the lowest key up; a note that meets a
// member's staff position is respelled a letter up, then down, until it fits, else it is
// dropped. A chord left with one note is that note. Accidentals the running state already
// implies become "none" (unless another member of the chord stands on the same letter).

#include <memory>
#include <vector>

#include "notation/context/staff_context_state.h"

namespace kvt {

class TMusicNote;
class TMusicStaff;
class TNotatedItem;
class TPatchData;

// At most this many tied pieces are made of one entered item.
inline constexpr int kMaxEntryPieces = 120;

// The values a new note takes (the editor's insertion state).
struct TEntryNoteSettings {
  int duration = 2;  // duration code 0..6
  int flags = 0;     // note flag word
  int noteHead = 0;  // 0..13
  int color = 0;     // 0..7
  int stem = 0;      // 0 automatic, 1 up, 2 down
};

// The running state before item `caret` of the staff (any int; limited to the staff): clef,
// key, accidentals in force, the staff's port and channel, and the transposition in force (that
// of the last instrument change before the caret, else the staff's instrument).
TStaffContextState EntryStateAt(const TMusicStaff& staff, int caret);

// The written pitch of a played key under the state (0..127).
int EntryPitchForKey(int key, const TStaffContextState& state, bool ignoreTransposition);

// The note or chord of the keys (any ints, lowest first or not); null without keys.
std::unique_ptr<TMusicNote> BuildEntryItem(const std::vector<int>& keys,
                                           const TEntryNoteSettings& settings,
                                           const TStaffContextState& state,
                                           bool ignoreTransposition);

// The item as inserted at `caret`: alone when it fits in the room left in its bar (the bar
// length of the time signature in force less the time since the bar line before the caret,
// taken modulo the bar length), else cut there and then at every further bar length into tied
// pieces, at most kMaxEntryPieces (what lies beyond is dropped). The last piece keeps the
// item's own tie. Grace notes and anything without a duration stay whole.
std::vector<std::unique_ptr<TNotatedItem>> SplitEntryItem(std::unique_ptr<TNotatedItem> item,
                                                          const TMusicStaff& staff, int caret);

// An instrument change that carries the instrument in force at the caret with the stored
// patch value patchPlus1 (1..128).
std::unique_ptr<TPatchData> BuildEntryProgramChange(const TMusicStaff& staff, int caret,
                                                    int patchPlus1);

}  // namespace kvt
