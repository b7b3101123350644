#pragma once
// The two loaders of the converter. Each appends the converter's error message to `messages`
// and returns null when the input gives no complete score; a score that loaded only in part
// (the corrupt status) is refused as well, so no conversion passes damage on silently.

#include <memory>
#include <string>

namespace kvt {

class TMusicScore;
struct TScoreFileHeader;

// A binary score file, repaired when a text-mode transfer damaged it (ReadScoreFromFileRepairing).
// `header` receives the file's header and load status.
std::unique_ptr<TMusicScore> LoadBinaryScoreToConvert(const std::string& path,
                                                      TScoreFileHeader& header,
                                                      std::string& messages);

// A text score file, plain or gzip-compressed, read in the file mode (a header line is
// required); text cut before its end line, or compressed data that breaks off, is corrupt.
std::unique_ptr<TMusicScore> LoadTextScoreToConvert(const std::string& path, std::string& messages);

}  // namespace kvt
