#pragma once
// The converter's load of its input: the score file load of notation (binary or text), with
// the converter's error messages. A score that loaded only in part (the corrupt status) is
// refused, so no conversion passes damage on silently.

#include <memory>
#include <string>

namespace kvt {

class TMusicScore;
struct TScoreFileHeader;
struct TServices;

// Loads `path`: with binaryInput a binary score file, repaired when a text-mode transfer
// damaged it (ReadScoreFromFileRepairing), `header` receiving its header and load status;
// otherwise a text score file (LoadTextScoreFile), `header` left alone. Returns null and
// appends the converter's error message to `messages` when the input gives no complete score.
std::unique_ptr<TMusicScore> LoadScoreToConvert(bool binaryInput, const std::string& path,
                                                TScoreFileHeader& header, const TServices& services,
                                                std::string& messages);

}  // namespace kvt
