#pragma once
// Note entry of the editing view: 128 Note, 129 Rest, 130 Chord Member, 131 Bar Line,
// 212 Remove Chord Note, 159 (nothing) and 110 (reset the insertion state). New notes and rests
// take the insertion state's values; after an entry the state keeps only what the
// "PersistentNoteTools" mask keeps, and an entered note sounds briefly when the options ask.

namespace kvt {

class TCommandTable;
class TScoreEdit;

// How long an entered note sounds, and how loud.
inline constexpr int kEnteredNoteMs = 200;
inline constexpr int kEnteredNoteVelocity = 100;

// Sounds the notes of the item at `index` of the active staff through the host's entered-note
// output, when the options play added notes and the score does not play.
void SoundEnteredItem(TScoreEdit& view, int index);

void RegisterNoteEntryCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
