#include "app/shell/score_resource.h"

#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/staff/music_score.h"
#include "utils/path_utils.h"

namespace kvt {

std::unique_ptr<TMusicScore> LoadScoreResource(const std::string& folder, const std::string& name) {
  if (folder.empty() || name.empty() || name == "." || name == ".." ||
      name.find('/') != std::string::npos)
    return nullptr;
  std::string path = folder;
  AppendPathComponent(path, name);
  TScoreFileHeader header;
  TScoreLoadResult result = ReadScoreFromFile(path.c_str(), header, TServices());
  switch (result.status) {
    case TLoadStatus::kLoaded:
    case TLoadStatus::kOlder: return std::move(result.score);
    default: return nullptr;  // a template that loads in part is no template
  }
}

}  // namespace kvt
