#include "app/kvt_file_repair.h"

#include "notation/files/binary/binary_score_file.h"
#include "notation/staff/music_score.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/services/services.h"

namespace kvt {

std::unique_ptr<TMusicScore> LoadKvtFileRepairing(const char* path, TScoreFileHeader& header) {
  return ReadScoreFromFileRepairing(path, header, TServices{}).score;
}

}  // namespace kvt
