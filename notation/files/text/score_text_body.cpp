#include "notation/files/text/score_text_body.h"

#include "notation/staff/music_score.h"
#include "notation/items/notated_item.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "utils/stream.h"

namespace kvt {

// The text reader reports with the container's status numbers.

std::unique_ptr<TMusicScore> ReadScoreTextBody(TKRVStream& stream, TScoreFileHeader& header,
                                               bool& corrupt, const TServices& services) {
  TScoreTextLoadInfo info;
  std::unique_ptr<TMusicScore> score = ReadScoreText(stream, &info, kScoreTextModeFile, services);
  if (info.codePage > 0) header.codePage = info.codePage;
  corrupt = score && info.status == kScoreFileCorrupt;
  return score;
}

void WriteScoreTextBody(TKRVStream& stream, const TMusicScore& score) { WriteScoreText(stream, score); }

}  // namespace kvt
