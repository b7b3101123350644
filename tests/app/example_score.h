#pragma once
// The example piece that ships in examples/: a short song for voice and piano, built here in
// code so that the committed score text can always be made again (make_example_score) and
// checked against the text writer (example_score_test).
//
// Three staves (Voice, Piano RH, Piano LH) in 4/4, C major, "Andante" at 96 quarter notes a
// minute: one bar of introduction, then a repeated section of two bars with a first ending
// (bar 4) and a second ending (bar 5). The voice has one lyric line of 11 syllables; the
// dynamics are mf at the start, p for the piano in the repeated section and f at the second
// ending. Played: bars 1 2 3 4 2 3 5, 28 beats, 17.5 seconds.

#include <memory>

namespace kvt {

class TMusicScore;

namespace example {

inline constexpr int kTempo = 96;
inline constexpr int kVoiceChannel = 0;
inline constexpr int kRightHandChannel = 1;
inline constexpr int kLeftHandChannel = 2;
// Notes sounded per staff in play order.
inline constexpr int kVoiceNotesPlayed = 17;
inline constexpr int kRightHandNotesPlayed = 27;
inline constexpr int kLeftHandNotesPlayed = 12;

std::unique_ptr<TMusicScore> MakeExampleScore();

}  // namespace example
}  // namespace kvt
