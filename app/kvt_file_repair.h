#pragma once
// Loading a binary score file that a text-mode transfer may have damaged (every LF turned
// into CR LF).

#include <memory>

namespace kvt {

class TMusicScore;
struct TScoreFileHeader;

// Reads the binary score file. When the reader finds no valid file (status 3) or a corrupt
// one (status 7) and every LF of the file follows a CR, the file is taken for a text-mode
// copy: a repaired copy (each CR LF back to LF) is written to a temporary file of its own
// (mode 0600, under $TMPDIR or /tmp with the prefix "kvt"), read instead, and removed. When
// the copy cannot be made the result is null. Returns the score (null when none) with the load status in `header`.
std::unique_ptr<TMusicScore> LoadKvtFileRepairing(const char* path, TScoreFileHeader& header);

}  // namespace kvt
