#include "app/kvt_file_repair.h"

#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "notation/binary_score_file.h"
#include "notation/music_score.h"
#include "notation/score_file_header.h"
#include "utils/crlf_repair.h"
#include "utils/file_utils.h"

namespace kvt {

namespace {

// A fresh folder only this user can enter, so no one can swap the repaired copy between
// writing and reading it. Empty when none could be made.
std::string MakePrivateTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = (base != nullptr && base[0] == '/') ? base : "/tmp";
  pattern += "/kvtXXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern;
}

}  // namespace

std::unique_ptr<TMusicScore> LoadKvtFileRepairing(const char* path, TScoreFileHeader& header) {
  std::unique_ptr<TMusicScore> score = ReadScoreFromFile(path, header);
  const bool unreadable = header.status == kScoreFileNotScore || header.status == kScoreFileCorrupt;
  if (!unreadable || !HasCrLfLineEndsOnly(path, false)) return score;

  // From here on the first reading's score is no answer: the repaired copy's is, or none.
  score.reset();
  const std::string folder = MakePrivateTempFolder();
  if (folder.empty()) return nullptr;
  const std::string copy = folder + "/repaired.kvt";
  if (ConvertCrLfToLf(path, copy.c_str())) score = ReadScoreFromFile(copy.c_str(), header);
  RemoveFile(copy);
  RemoveDir(folder);
  return score;
}

}  // namespace kvt
