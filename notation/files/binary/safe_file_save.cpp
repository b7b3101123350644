#include "notation/files/binary/safe_file_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>

#include "utils/backup_file.h"
#include "utils/buffered_file_stream.h"
#include "utils/file_move.h"
#include "utils/file_utils.h"
#include "utils/path_utils.h"
#include "utils/unique_fd.h"

namespace kvt {
namespace {

// The buffer a score file is written through (the buffered stream keeps at most its own
// largest buffer of it).
constexpr int kSaveBufferBytes = 30000;
constexpr int kTempNameAttempts = 100;

// Creates a new, empty file beside `path` under a name no other file has, with the
// permission bits 0666 less the file-creation mask. Empty result when that fails.
std::string CreateTempFileBeside(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  std::string folder = ExtractPathParts(path, kPathPartFolder);
  std::string name(GetFileNamePart(path));
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%u-%u-%08x.tmp", static_cast<unsigned>(::getpid()),
                  counter.fetch_add(1), static_cast<unsigned>(entropy()));
    // A hidden name; long targets keep only the start of their name so it cannot grow past
    // the file-name limit.
    std::string candidate = folder + "." + name.substr(0, 160) + suffix;
    int fd;
    do {
      fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
      TUniqueFd owned(fd);
      if (owned.Close()) return candidate;
      ::unlink(candidate.c_str());
      return {};
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

// The folder that holds `path` ("." for a bare name).
std::string FolderOf(const std::string& path) {
  std::string folder = ExtractPathParts(path, kPathPartFolder);
  if (folder.empty()) return ".";
  NormalizeDirPath(folder, false);
  return folder;
}

}  // namespace

bool FlushPathToDisk(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  TUniqueFd owned(fd);
  int result;
  do {
    result = ::fsync(owned.Get());
  } while (result != 0 && errno == EINTR);
  return owned.Close() && result == 0;
}

bool SaveFileSafely(const std::string& path, const TSaveBackups& backups,
                    const std::function<bool(TKRVStream& file)>& writeBody) {
  if (path.empty()) return false;
  const std::string temp = CreateTempFileBeside(path);
  if (temp.empty()) return false;

  bool ok;
  {
    TKRVBFStream file(kFileModeWrite, temp.c_str(), kSaveBufferBytes);
    ok = file.IsOpen() && writeBody(file);
    // The final flush and close report late write errors: they belong to the result.
    ok = file.Close() && !file.IsFailed() && ok;
  }
  ok = ok && FlushPathToDisk(temp);

  // The new file keeps the permissions of the one it replaces.
  struct stat old;
  if (ok && ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    ok = ::chmod(temp.c_str(), old.st_mode & 07777) == 0;

  bool backedUp = false;
  if (ok && backups.enabled && FileExists(path)) {
    ok = MakeBackupFile(path, backups.folder, backups.extension, backups.keep);
    backedUp = ok;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    if (backedUp) {
      // The old file went to its newest backup name: bring it back.
      std::string base = path;
      if (!backups.folder.empty()) {
        base = backups.folder;
        AppendPathComponent(base, GetFileNamePart(path));
      }
      std::string extension = backups.extension.empty() ? std::string(".bak") : backups.extension;
      MoveFileReplace(MakeBackupName(base, extension, 1), path);
    }
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself lives in the folder: flush it too, so the new name survives a crash.
  return FlushPathToDisk(FolderOf(path));
}

}  // namespace kvt
