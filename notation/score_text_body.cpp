#include "notation/score_text_body.h"

#include "notation/music_score.h"
#include "notation/score_file_header.h"
#include "utils/stream.h"

namespace kvt {

// TEXT-BODY-PENDING: the score text reader and writer are not in this tree yet.
std::unique_ptr<TMusicScore> ReadScoreTextBody(TKRVStream& stream, TScoreFileHeader& header,
                                               bool& corrupt) {
  corrupt = false;
  return nullptr;
}

void WriteScoreTextBody(TKRVStream& stream, const TMusicScore& score) {}

}  // namespace kvt
