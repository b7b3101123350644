#pragma once
// Copying and moving files over existing ones. Neither ever removes or truncates the target
// before the new contents are complete: the new file is written beside the target under a
// temporary name, flushed to disk and renamed over it, so the target holds either its old or
// its new contents at every moment.

#include <string>

namespace kvt {

// Copies a regular file over the target (replacing it) with the source's permission bits and
// times. Equal names give false and touch nothing.
bool CopyFileTo(const std::string& source, const std::string& target);

// Moves a file or folder to the target name, replacing an existing target file (rename).
// Across file systems a regular file is copied beside the target as in CopyFileTo, renamed
// over it, and the source is then removed; the result is false when the source cannot be
// removed. Equal names give false and touch nothing.
bool MoveFileReplace(const std::string& source, const std::string& target);

}  // namespace kvt
