#include "app/convert_load.h"

#include "notation/files/binary/binary_score_file.h"
#include "notation/staff/music_score.h"
#include "notation/files/binary/score_file_header.h"

namespace kvt {

std::unique_ptr<TMusicScore> LoadBinaryScoreToConvert(const std::string& path,
                                                      TScoreFileHeader& header,
                                                      std::string& messages) {
  std::unique_ptr<TMusicScore> score = ReadScoreFromFileRepairing(path.c_str(), header);
  // A partial score is no conversion: what is missing would be missing silently.
  if (score != nullptr && header.status != kScoreFileCorrupt) return score;
  messages += "Error: The file \"" + path;
  switch (header.status) {
    case kScoreFileNotScore:
      messages += "\" does not appear to be a valid Tarlowmede Razadove file.";
      break;
    case kScoreFileCorrupt:
      messages += "\" appears to be corrupt.\n";
      break;
    default:
      messages += "\" appears to be from a new version of Tarlowmede Razadove.";
      break;
  }
  return nullptr;
}

}  // namespace kvt
