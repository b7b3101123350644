#pragma once
// The MIDI import's entry points over import data: the scan that proposes the instruction
// list, and the conversions into a score or one staff.
//
// Ownership: every returned score or staff belongs to the caller. The import data, shell and
// services stay the caller's.

#include <memory>

#include "midi/import/import_data.h"
#include "notation/services/services.h"

namespace kvt {

class TMidiImportShell;
class TMusicScore;
class TMusicStaff;

// Rebuilds the instruction list from the tracks 0-255 that have channel messages: one
// instruction per track (or per channel with extractChannels), split into an upper and a lower
// staff at the lowest pitch + span / 2 when the widest chord spans more than maxChordSize
// semitones.
void ScanImportInstructions(TKVTImportData& data, bool extractChannels, int maxChordSize);

// Executes the instruction list: the conductor's tempos, signatures and keys, a staff per
// instruction, lyric staves (lyricMode 0 none, 1 lyric events, 2 karaoke texts), then the
// finishing passes. Staves past the score's limit are left out, and a track cut short by a
// full staff loses the rest of its events; both are reported to the shell's alert log.
// When the user cancels, the partly built score is returned and cancelled is set: the caller
// deletes it. A score always holds at least one staff.
std::unique_ptr<TMusicScore> ConvertImportToScore(TKVTImportData& data, int lyricMode,
                                                  const TServices& services,
                                                  TMidiImportShell* shell, bool* cancelled);

// The conversion of the one instruction (lyric events on), its staff taken out of the score
// with its upper boundary given back the 4 positions a first staff gets. Null when cancelled.
std::unique_ptr<TMusicStaff> ConvertInstructionToStaff(TKVTImportData& data,
                                                       const TSMFImportInstructions& instruction,
                                                       const TServices& services,
                                                       TMidiImportShell* shell);

}  // namespace kvt
