#pragma once
// The finishing passes of a MIDI import: a staff built by TMidiImportConverter gets the
// conductor's time and key signatures, a clef, bar lines, explicit accidentals, beat-aligned
// durations, consolidated rests and beams; the score gets staves of one length, boundaries
// around the notes, and the conductor's tempos.
//
// Both stop at the services' cancel test. Items are inserted only while the staff keeps
// kImportFreeSlots free slots.

#include <vector>

#include "midi/import/import_instructions.h"
#include "notation/services/services.h"

namespace kvt {

class TMusicScore;
class TMusicStaff;

// Finishes staff S against the conductor staff K (which may be S itself) with instruction I.
// False when the user cancelled.
bool FinishImportStaff(TMusicStaff& staff, const TMusicStaff& conductor,
                       const TSMFImportInstructions& instruction, const TServices& services);

// Finishes the score whose first staff is the conductor; instructions[i] is the instruction of
// staff i + 1 (lyric staves have the default instruction). The conductor leaves the score, and
// comes back as its last staff, hidden, only when it holds tempos that could not move to the
// first staff. False when the user cancelled.
bool FinishImportScore(TMusicScore& score, const std::vector<TSMFImportInstructions>& instructions,
                       const TServices& services);

}  // namespace kvt
