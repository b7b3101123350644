#include "utils/atomic_file_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#include "utils/backup_file.h"
#include "utils/buffered_file_stream.h"
#include "utils/debug_log.h"
#include "utils/file_move.h"
#include "utils/file_utils.h"
#include "utils/path_utils.h"
#include "utils/unique_fd.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

// The buffer the body is written through (the buffered stream keeps at most its own largest
// buffer of it).
constexpr int kWriteBufferBytes = 30000;
constexpr int kTempNameAttempts = 100;
// Links followed before a chain counts as a loop (the kernel's own limit).
constexpr int kMaxLinkHops = 40;

// The file a write at `path` replaces: the end of a chain of symbolic links, else the path
// itself. Each link is read relative to the folder that holds it; the result is not made
// canonical, so the kernel resolves it as it would the link. False on a loop or an unreadable
// link.
bool ResolveLinkChain(const std::string& path, std::string& target) {
  fs::path current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) {
      target = current.string();
      return true;
    }
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) return false;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return false;
}

// The start of every temporary name for a target called `name`: hidden, and only the start of
// a long name, so the whole cannot grow past the file-name limit.
std::string TempNamePrefix(const std::string& name) { return "." + name.substr(0, 160) + "."; }

// The process that made a temporary file, from the rest of its name after the prefix
// ("<pid>-<counter>-<8 hex digits>.tmp"); 0 when the rest is not of that form.
pid_t TempFileOwner(const std::string& rest) {
  unsigned pid = 0, count = 0;
  char hex[9] = {};
  char tail[5] = {};
  int used = 0;
  if (std::sscanf(rest.c_str(), "%u-%u-%8[0-9a-f]%4s%n", &pid, &count, hex, tail, &used) != 4 ||
      static_cast<size_t>(used) != rest.size() || std::string_view(hex).size() != 8 ||
      std::string_view(tail) != ".tmp") {
    return 0;
  }
  return static_cast<pid_t>(pid);
}

// Removes the temporary files that earlier saves of the same target left when their process
// was killed midway. Only files whose maker no longer runs go: a save still running in another
// process keeps its file.
void RemoveLeftoverTempFiles(const std::string& folder, const std::string& name) {
  const std::string prefix = TempNamePrefix(name);
  std::error_code ec;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(folder.empty() ? fs::path(".") : fs::path(folder), ec)) {
    const std::string file = entry.path().filename().string();
    if (file.compare(0, prefix.size(), prefix) != 0) continue;
    const pid_t owner = TempFileOwner(file.substr(prefix.size()));
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    if (entry.is_regular_file(ignored) && fs::remove(entry.path(), ignored))
      DebugPrintf("file write: removed %s, left by an interrupted save\n", entry.path().c_str());
  }
}

// Creates a new, empty file beside `path` under a name no other file has, with the permission
// bits `mode` less the file-creation mask. Empty result when that fails.
std::string CreateTempFileBeside(const std::string& path, unsigned mode) {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  const std::string folder = ExtractPathParts(path, kPathPartFolder);
  const std::string name(GetFileNamePart(path));
  RemoveLeftoverTempFiles(folder, name);
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "%u-%u-%08x.tmp", static_cast<unsigned>(::getpid()),
                  counter.fetch_add(1), static_cast<unsigned>(entropy()));
    std::string candidate = folder + TempNamePrefix(name) + suffix;
    int fd;
    // Exclusive creation: an existing file, or a link planted under the name, is never used.
    do {
      fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  static_cast<mode_t>(mode));
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

// Writes the body into the temporary file; true only when every layer succeeded and the data
// is on disk.
bool WriteBody(const std::string& temp, const std::function<bool(TKRVStream& file)>& writeBody) {
  bool ok;
  {
    TKRVBFStream file(kFileModeWrite, temp.c_str(), kWriteBufferBytes);
    ok = file.IsOpen() && writeBody(file);
    // The final flush and close report late write errors: they belong to the result.
    ok = file.Close() && !file.IsFailed() && ok;
  }
  return ok && FlushPathToDisk(temp);
}

// Gives the temporary file the permission bits of the regular file it replaces; true when
// there is none.
bool KeepPermissions(const std::string& temp, const std::string& target) {
  struct stat old;
  if (::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return true;
  return ::chmod(temp.c_str(), old.st_mode & 07777) == 0;
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

TFileReplacement::TFileReplacement(std::string target, unsigned newFileMode)
    : target(std::move(target)) {
  if (!this->target.empty()) temp = CreateTempFileBeside(this->target, newFileMode);
}

TFileReplacement::~TFileReplacement() {
  if (temp.empty()) return;
  const int error = errno;
  ::unlink(temp.c_str());
  errno = error;
}

bool TFileReplacement::Commit() {
  if (temp.empty()) return false;
  if (::rename(temp.c_str(), target.c_str()) != 0) return false;
  temp.clear();
  // The rename itself lives in the folder: flush it too, so the new name survives a crash.
  const std::string folder = FolderOf(target);
  if (!FlushPathToDisk(folder))
    DebugPrintf("file write: flushing folder %s failed\n", folder.c_str());
  return true;
}

bool WriteFileAtomically(const std::string& path, const TSaveBackups& backups,
                         const std::function<bool(TKRVStream& file)>& writeBody,
                         unsigned newFileMode) {
  std::string target;
  if (path.empty() || !ResolveLinkChain(path, target)) {
    DebugPrintf("file write: cannot follow the links at %s\n", path.c_str());
    return false;
  }
  TFileReplacement replacement(target, newFileMode);
  if (!replacement.IsValid()) {
    DebugPrintf("file write: cannot create a temporary file beside %s\n", target.c_str());
    return false;
  }
  bool ok = WriteBody(replacement.TempPath(), writeBody) &&
            KeepPermissions(replacement.TempPath(), target);

  bool backedUp = false;
  if (ok && backups.enabled && FileExists(target)) {
    ok = MakeBackupFile(target, backups.folder, backups.extension, backups.keep);
    backedUp = ok;
  }
  if (ok && !replacement.Commit()) {
    ok = false;
    // The old file went to its newest backup name: bring it back.
    if (backedUp)
      MoveFileReplace(MakeNewestBackupName(target, backups.folder, backups.extension), target);
  }
  if (!ok) DebugPrintf("file write: writing %s failed; the old file is kept\n", target.c_str());
  return ok;
}

}  // namespace kvt
