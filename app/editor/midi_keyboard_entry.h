#pragma once
// What a MIDI keyboard's action does in an editing view: durations, dots and the tie change
// the shared insertion state; released keys insert their note or chord at the caret (cut into
// tied pieces at bar ends, see midi_entry_builder.h) and the insertion state is reset by the
// persistent-tools mask; a program change inserts an instrument change. Every insertion first
// checks room for all its items ("Staff Capacity Test", nothing changed), then writes one undo
// entry of kind 7, sub-code 5. An entered note sounds for 200 ms through the host's entered-
// note output when the option says so and nothing plays.
//
// UI thread only; the caller has checked that the view may take input.

#include "midi/import/midi_entry_decoder.h"

namespace kvt {

class TScoreEdit;

inline constexpr int kEnteredNoteSoundMs = 200;

void EnterMidiAction(TScoreEdit& view, const TMidiEntryAction& action);

}  // namespace kvt
