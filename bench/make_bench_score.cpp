// make_bench_score: writes the benchmarks' generated score as a text score file, so that the
// page program can be timed on it. Usage: make_bench_score STAVES BARS OUT.kvttxt
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench_score.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_bench_score STAVES BARS OUT.kvttxt\n");
    return 1;
  }
  const int staves = std::atoi(argv[1]);
  const int bars = std::atoi(argv[2]);
  if (staves < 1 || staves > 64 || bars < 1 || bars > 100000) {
    std::fprintf(stderr, "make_bench_score: 1 to 64 staves, 1 to 100000 bars\n");
    return 1;
  }
  std::unique_ptr<kvt::TMusicScore> score = kvt::MakeBenchScore(staves, bars);
  if (!kvt::SaveTextScoreFile(argv[3], *score)) {
    std::fprintf(stderr, "make_bench_score: %s cannot be written\n", argv[3]);
    return 1;
  }
  return 0;
}
