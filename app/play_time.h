#pragma once
// The playing time of a score, as the information report of the converter shows it.

#include <cstdint>
#include <string>

namespace kvt {

class TMusicScore;

// "h:mm:ss" from one hour on, else "m:ss" (59:05, 1:02:03, 0:07). A negative time reads as 0.
std::string FormatPlayTime(int64_t seconds);

// Renders the score with its own player into an event buffer of 16 segments (growing as a
// long score needs) and returns the length in whole seconds, rounded to the nearest one: as
// the editor plays it (asPlayed: up to the end marker after the last staff, with the pauses of
// fermatas, breaths and caesuras) or as the MIDI export writes it (up to the last event, and
// without those pauses, which a MIDI file cannot hold). The player re-audits staves that need it, so the
// score is not const.
int64_t MeasurePlayTime(const TMusicScore& score, bool asPlayed);

}  // namespace kvt
