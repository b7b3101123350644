#pragma once
// Scores that ship with the program (templates) are files in the program's data folder; the
// program reads them as any binary score file.

#include <memory>
#include <string>

namespace kvt {

class TMusicScore;

// The score in the file `name` of `folder` (the data folder, or its Template folder). Null when
// the name is not a plain file name (empty, "." or "..", or holding '/'), the file is missing
// or it does not load whole. Any thread; the score is the caller's.
std::unique_ptr<TMusicScore> LoadScoreResource(const std::string& folder, const std::string& name);

}  // namespace kvt
