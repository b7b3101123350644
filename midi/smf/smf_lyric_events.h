#pragma once
// The lyrics of an exported MIDI track: the store's events written in order with the
// syllables of one staff placed between them as lyric meta events at the times their notes
// sound.
//
// WriteEventsWithLyrics(out, store, score, staffIndex, endTick):
//   1. waits are let into the store and a wait of length 0 is added at endTick + 1, so that
//      an event follows every note and its syllable is written;
//   2. a play cursor walks the staff note by note in play order (repeats and jumps followed)
//      beside the events; before each event is written, every note whose song position is
//      not after the event's time is looked at: a song note that takes a syllable gets the
//      syllable of its verse (repeat pass - 1, 0 for 0, at most the last lyric line) that
//      matches the number of syllable notes before it in item order;
//   3. each such syllable is one lyric meta event in UTF-8 at the note's time, with a blank
//      after it unless the next syllable continues the word ("-") or the text is 250 bytes or
//      longer; a new line after it adds a lyric "\r", a new verse or the end of the lyric line
//      adds "\r" and then "\n";
//   4. the event is written (a wait writes nothing).
// A staff without lyric lines (or a missing staff) gets its events written plainly. Texts are
// cut at kSMFMaxWideTextBytes on a UTF-8 character boundary, never inside a character.

#include <cstdint>

namespace kvt {

class TSMFOutStream;
class TMidiFileBuf;
class TMusicScore;

void WriteEventsWithLyrics(TSMFOutStream& out, TMidiFileBuf& store, const TMusicScore& score,
                           int staffIndex, uint32_t endTick);

}  // namespace kvt
