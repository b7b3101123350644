#pragma once
// The note tools of the editing view: durations (101-107, 108/109 stepping with wrap),
// accidentals (96-100), note heads (241-254, the cycle 240), attributes (114-125, 225, 230,
// 231, and 14 for the dot), beam 113, triplet 115, stems 111/112, colour 289 and the selector
// popups of accidentals, durations and note heads (84, 85, 86). Without a
// selection a tool changes the insertion state that new notes take; with one it edits the
// selected items under one undo entry (kind 7 sub-code 4), beeping when none can take it.

#include <cstdint>

namespace kvt {

class TCommandTable;
class TScoreEdit;
struct TInsertionState;

// The attribute bit a command toggles; -1 for other ids.
int AttributeBitOfCommand(int id);
// The insertion state's attributes with the bit toggled: a set bit is cleared; a clear one is
// set with the exclusions of the note flags (song_note.h WithNoteFlag).
uint16_t ToggleInsertionAttribute(uint16_t attributes, int bit);
// The accidental code of commands 96-100; -1 for other ids.
int AccidentalOfCommand(int id);
// Command 14: the dot (119), or the double dot (120) when the buttons are paired and a dot or
// double dot is set now.
int DotCommandFor(const TInsertionState& state, bool buttonsPaired);

void RegisterNoteToolCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
