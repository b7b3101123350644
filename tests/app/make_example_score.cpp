// Writes the example score as score text: make_example_score examples/example.kvttxt
// The binary form beside it is made from that with: kvt2 -convert example.kvttxt example.kvt

#include <cstdio>

#include "notation/staff/music_score.h"
#include "utils/atomic_file_write.h"
#include "notation/files/text/score_text_writer.h"
#include "tests/app/example_score.h"
#include "utils/stream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_example_score <output.kvttxt>\n", stderr);
    return 2;
  }
  std::unique_ptr<kvt::TMusicScore> score = kvt::example::MakeExampleScore();
  const bool written =
      kvt::WriteFileAtomically(argv[1], kvt::TSaveBackups{}, [&](kvt::TKRVStream& file) {
        kvt::WriteScoreText(file, *score);
        return !file.IsError();
      });
  if (!written) {
    std::fprintf(stderr, "make_example_score: %s could not be written\n", argv[1]);
    return 1;
  }
  return 0;
}
