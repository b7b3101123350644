#pragma once
// Backups of a file before it is replaced.
//
// The newest backup of "a.kvt" is "a.kvt.bak"; older ones are "a.q1.kvt.bak",
// "a.q2.kvt.bak", ... (the number before the file's own extension, the backup extension
// last). Number 1 (".bak") always holds the newest backup; the numbered ones hold older
// backups in no fixed order.

#include <string>

namespace kvt {

// The name of backup number k (from 1) of `base`: below 2 the base and the backup extension;
// from 2 on ".q<k-1>" inserted before the base's own extension.
std::string MakeBackupName(const std::string& base, const std::string& backupExtension, int k);

// The name of the newest backup (number 1) of the file at `path`, with `folder` and the
// backup extension as MakeBackupFile takes them.
std::string MakeNewestBackupName(const std::string& path, const std::string& folder,
                                 const std::string& backupExtension);

// Moves the file at `path` to its newest backup name, keeping at most `keep` backups.
// - A path that names no existing file gives true at once and changes nothing.
// - The backups live beside the file, or in `folder` when it is not empty.
// - An empty backup extension means ".bak".
// - keep <= 0: the file replaces backup number 1.
// - keep n: the first free number of 1..n, or when all exist the one with the oldest
//   last-write time, receives backup number 1 (when it is not number 1 itself); then the
//   file becomes number 1.
// Moves replace existing files and work across file systems (MoveFileReplace). False when a
// move fails; when the rotation fails the file and the backups are left as they were.
bool MakeBackupFile(const std::string& path, const std::string& folder,
                    const std::string& backupExtension, int keep);

}  // namespace kvt
