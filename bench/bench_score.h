#pragma once
// The generated score the layout and page benchmarks measure: per four staves a melody with
// lyrics and eighth-note triplets, a melody with ties over the bar lines, a staff of two-note
// chords and a bass staff of three-note chords; a key change and a tempo change halfway, and
// 3/4 in the last quarter of the bars.

#include <memory>

namespace kvt {

class TMusicScore;

std::unique_ptr<TMusicScore> MakeBenchScore(int staves, int bars);

}  // namespace kvt
