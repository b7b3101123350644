#include "utils/backup_file.h"

#include "utils/file_move.h"
#include "utils/file_utils.h"
#include "utils/path_utils.h"

#include <limits>

namespace kvt {

std::string MakeBackupName(const std::string& base, const std::string& backupExtension, int k) {
  if (k < 2) return base + backupExtension;
  size_t extension = GetExtensionOffset(base);
  return base.substr(0, extension) + ".q" + std::to_string(k - 1) + base.substr(extension) +
         backupExtension;
}

namespace {

// The backup extension in use.
std::string BackupExtensionOf(const std::string& backupExtension) {
  return backupExtension.empty() ? std::string(".bak") : backupExtension;
}

// The path the backup names are made from: the file itself, or its name in `folder`.
std::string BackupBaseOf(const std::string& path, const std::string& folder) {
  if (folder.empty()) return path;
  std::string base = folder;
  AppendPathComponent(base, GetFileNamePart(path));
  return base;
}

}  // namespace

std::string MakeNewestBackupName(const std::string& path, const std::string& folder,
                                 const std::string& backupExtension) {
  return MakeBackupName(BackupBaseOf(path, folder), BackupExtensionOf(backupExtension), 1);
}

bool MakeBackupFile(const std::string& path, const std::string& folder,
                    const std::string& backupExtension, int keep) {
  if (!FileExists(path)) return true;
  const std::string extension = BackupExtensionOf(backupExtension);
  const std::string base = BackupBaseOf(path, folder);
  const std::string newest = MakeBackupName(base, extension, 1);

  if (keep > 0) {
    int target = 0;
    int oldest = 1;
    TFileTime oldestTime = std::numeric_limits<TFileTime>::max();
    for (int k = 1; k <= keep; ++k) {
      std::string name = MakeBackupName(base, extension, k);
      if (!FileExists(name)) {
        target = k;
        break;
      }
      TFileTime time;
      if (GetFileWriteTime(name, time) && time < oldestTime) {
        oldestTime = time;
        oldest = k;
      }
    }
    if (target == 0) target = oldest;
    // The newest backup makes room for the file; if it cannot move, replacing it would lose
    // it, so nothing moves at all.
    if (target > 1 && !MoveFileReplace(newest, MakeBackupName(base, extension, target))) {
      return false;
    }
  }
  return MoveFileReplace(path, newest);
}

}  // namespace kvt
