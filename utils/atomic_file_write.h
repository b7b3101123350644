#pragma once
// Replacing a file without ever risking the old one: the one writer behind every file the
// program saves (scores, exports, MIDI files, reports, settings).
//
// WriteFileAtomically(path, backups, writeBody):
// - A symbolic link at `path` is followed (a chain of links too; a relative link is read
//   relative to the folder that holds it) and the file at its end is replaced; the links stay
//   as they are. A link whose end does not exist yet makes that file. A loop of links fails.
// - The new contents go into a temporary file in the folder of that real target, so the
//   final rename never crosses file systems. Its hidden name holds the target's name and the
//   writing process's id; temporary files of the same target whose process no longer runs
//   (a save killed midway) are removed before a new one is made.
// - Only when every layer of that write succeeded (the body writer's own result, the buffered
//   file's final flush and close, the flush to disk) does it take the target's permission bits
//   (a new file: `newFileMode` less the process's file-creation mask), rotate the backups and
//   rename the temporary file over the target; the folder is then flushed to disk too.
// - On any failure the temporary file is removed and the target keeps its old contents; when
//   the rename fails after a backup was made, the backup is moved back. The result is false.
// - Once the rename succeeded the result is true: the new contents are in place, and a folder
//   that cannot be flushed only weakens the guarantee that the new name survives a crash.
//
// TFileReplacement is the step below it, for writers that fill the temporary file themselves
// (the copy of utils/file_move.h): a temporary file beside a given target, renamed over it or
// removed. It follows no link.

#include <functional>
#include <string>

namespace kvt {

class TKRVStream;

// Permission bits of a new file before the file-creation mask: anyone may read it.
inline constexpr unsigned kNewFileMode = 0666;
// The same for a file only its owner may read (settings).
inline constexpr unsigned kPrivateFileMode = 0600;

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
// succeeded. An empty path gives false.
bool WriteFileAtomically(const std::string& path, const TSaveBackups& backups,
                         const std::function<bool(TKRVStream& file)>& writeBody,
                         unsigned newFileMode = kNewFileMode);

// Flushes the file or folder at `path` to disk (fsync); false when it cannot be opened or the
// flush fails.
bool FlushPathToDisk(const std::string& path);

// A new, empty temporary file beside a target, under a hidden name no other file has. It
// replaces the target in one rename (Commit) or is removed when the object goes away.
class TFileReplacement {
public:
  // Makes the temporary file in the folder of `target` (taken as given: a link there is
  // replaced, not followed) with `newFileMode` less the file-creation mask. IsValid() tells
  // whether it could be made.
  TFileReplacement(std::string target, unsigned newFileMode);
  // Removes the temporary file unless Commit renamed it; errno is kept.
  ~TFileReplacement();
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;

  bool IsValid() const { return !temp.empty(); }
  const std::string& TempPath() const { return temp; }
  const std::string& Target() const { return target; }

  // Renames the temporary file over the target, then flushes the folder to disk. The caller
  // has written, closed and flushed the file first. False (errno from the rename) when it is
  // not valid or the rename fails.
  bool Commit();

private:
  std::string target;
  std::string temp;  // empty when none was made, or once it was renamed
};

}  // namespace kvt
