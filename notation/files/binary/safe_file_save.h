#pragma once
// Saving a file without ever risking the old one.
//
// SaveFileSafely writes the new contents into a temporary file beside the target (same
// folder, so the final rename never crosses file systems), and only when every layer of that
// write succeeded (the body writer's own result, the buffered file's final flush and close,
// and the flush of the data to disk) does it rotate the backups and rename the temporary file
// over the target. On any failure the temporary file is removed and the target keeps its old
// contents; when the rename itself fails after a backup was made, the backup is moved back.
//
// The new file takes the permission bits of the file it replaces (a new file those that the
// process's file-creation mask allows).

#include <functional>
#include <string>

namespace kvt {

class TKRVStream;

// Backups made when a file is replaced (see utils/backup_file.h for the naming and rotation).
struct TSaveBackups {
  bool enabled = false;
  std::string folder;     // empty: beside the file
  std::string extension;  // empty: ".bak"
  int keep = 0;           // numbered backups kept
};

// Writes the body through `writeBody`, which gets a buffered file stream over the temporary
// file and returns whether its own writing succeeded (a compressing filter's End included).
// True only when the body, the file's close, the flush to disk, the backup and the rename all
// succeeded.
bool SaveFileSafely(const std::string& path, const TSaveBackups& backups,
                    const std::function<bool(TKRVStream& file)>& writeBody);

// Flushes the file or folder at `path` to disk (fsync); false when it cannot be opened or the
// flush fails.
bool FlushPathToDisk(const std::string& path);

}  // namespace kvt
