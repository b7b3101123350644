#include "app/kvt_file_repair.h"

#include "notation/binary_score_file.h"
#include "notation/music_score.h"
#include "notation/score_file_header.h"

namespace kvt {

std::unique_ptr<TMusicScore> LoadKvtFileRepairing(const char* path, TScoreFileHeader& header) {
  return ReadScoreFromFileRepairing(path, header);
}

}  // namespace kvt
