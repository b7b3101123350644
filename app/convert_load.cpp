#include "app/convert_load.h"

#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"

namespace kvt {

namespace {

// Said after the corrupt message when that is why: a score never comes near the limit.
constexpr char kTooLargeText[] = "The score text goes on past 256 MB and was not read further.\n";

std::unique_ptr<TMusicScore> LoadBinary(const std::string& path, TScoreFileHeader& header,
                                        const TServices& services, std::string& messages) {
  TScoreLoadResult result = ReadScoreFromFileRepairing(path.c_str(), header, services);
  if (result.score != nullptr && result.status != TLoadStatus::kCorrupt) return std::move(result.score);
  messages += "Error: The file \"" + path;
  switch (result.status) {
    case TLoadStatus::kNotScore:
      messages += "\" does not appear to be a valid Tarlowmede Razadove file.";
      break;
    case TLoadStatus::kCorrupt:
      messages += "\" appears to be corrupt.\n";
      if (result.textTooLarge) messages += kTooLargeText;
      break;
    default:
      messages += "\" appears to be from a new version of Tarlowmede Razadove.";
      break;
  }
  return nullptr;
}

std::unique_ptr<TMusicScore> LoadText(const std::string& path, const TServices& services,
                                      std::string& messages) {
  TScoreLoadResult result = LoadTextScoreFile(path, services);
  if (!result.fileOpened) {
    messages += "Error: The file \"" + path + "\" could not be opened.";
    return nullptr;
  }
  if (result.score == nullptr) {
    messages += "Error: The file \"" + path + "\" could not be processed.";
    return nullptr;
  }
  if (result.status == TLoadStatus::kCorrupt) {
    messages += "Error: The file \"" + path + "\" appears to be corrupt.\n";
    if (result.textTooLarge) messages += kTooLargeText;
    return nullptr;
  }
  return std::move(result.score);
}

}  // namespace

std::unique_ptr<TMusicScore> LoadScoreToConvert(bool binaryInput, const std::string& path,
                                                TScoreFileHeader& header, const TServices& services,
                                                std::string& messages) {
  // A partial score is no conversion: what is missing would be missing silently.
  return binaryInput ? LoadBinary(path, header, services, messages) : LoadText(path, services, messages);
}

}  // namespace kvt
