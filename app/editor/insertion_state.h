#pragma once
// TInsertionState: the values new notes and rests take, shared by every editing view of the
// program (the application keeps one): note head, colour, duration, the note flag bits,
// accidental, stem and the triplet flag. The toolbars, the status bar and the piano bar show
// them; the editing commands read and change them.
//
// TSelectionSummary: what the selected items offer and share, filled when the status is
// refreshed; the enablers of the attribute, duration, note-head, accidental, colour and stem
// commands read it.

#include <cstdint>

namespace kvt {

// Accidental choices of the insertion state (the notes' accidental codes, then none).
inline constexpr int kInsertSharp = 0;
inline constexpr int kInsertFlat = 1;
inline constexpr int kInsertNatural = 2;
inline constexpr int kInsertDoubleSharp = 3;
inline constexpr int kInsertDoubleFlat = 4;
inline constexpr int kInsertNoAccidental = 5;

struct TInsertionState {
  int noteHead = 0;         // 0..13
  int color = 0;            // 0 default, 1..7 highlight colours
  int duration = 2;         // duration code, 0 whole .. 6 sixty-fourth
  uint16_t attributes = 0;  // note flag bits (song_note.h)
  int accidental = kInsertNoAccidental;
  int stem = 0;             // 0 automatic, 1 up, 2 down
  bool triplet = false;

  bool operator==(const TInsertionState&) const = default;
};

// Bits of the "PersistentNoteTools" option: the tools that stay set after an entry.
enum TPersistentNoteTool : int {
  kKeepAccidental = 0,
  kKeepArticulation = 1,
  kKeepDots = 2,
  kKeepColor = 3,
  kKeepNoteHead = 4,
  kKeepSlur = 5,
  kKeepTie = 6,
  kKeepStem = 7,
  kKeepGrace = 8,
  kKeepHairpin = 9,
};

// After a note, rest, chord member or MIDI entry: clears what the persistent-tools mask does not
// keep.
void ResetAfterEntry(TInsertionState& state, int persistentMask);
// The colour an entered note takes: the current one only while the persistent-tools mask keeps
// the colour between entries, else the default.
int EntryColor(const TInsertionState& state, int persistentMask);

struct TSelectionSummary {
  bool valid = false;          // a selection was summarised
  uint16_t offeredAttributes = 0;  // flag bits some selected item can take
  uint16_t sharedAttributes = 0;   // flag bits some selected item has (shown checked)
  bool offersDurations = false;
  int commonDuration = -1;     // -1 when mixed or none
  bool offersNoteHeads = false;
  int commonNoteHead = -1;
  bool offersAccidentals = false;
  int commonAccidental = -1;
  bool offersColors = false;
  int commonColor = -1;
  bool offersStems = false;
  int commonStem = -1;
  bool offersBeam = false;
  bool offersTriplet = false;
};

}  // namespace kvt
