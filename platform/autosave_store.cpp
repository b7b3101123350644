#include "platform/autosave_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "utils/path_utils.h"
#include "utils/unique_fd.h"

namespace kvt {
namespace {

constexpr char kLockSuffix[] = ".lock";

std::string LockPathOf(const std::string& path) { return path + kLockSuffix; }

// Opens (making it when missing) and locks the lock file without waiting. The lock file may be
// removed by its holder between our open and our lock; then the lock we got guards a file no
// longer on the path, so the inode on the path must still be the one we locked.
int LockFile(const std::string& lockPath) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return -1;
    }
    struct stat held {};
    struct stat onPath {};
    if (::fstat(fd, &held) == 0 && ::lstat(lockPath.c_str(), &onPath) == 0 &&
        held.st_dev == onPath.st_dev && held.st_ino == onPath.st_ino) {
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

bool IsAutosaveName(std::string_view name) {
  return name.size() > 7 && name.substr(0, 3) == "kvt" && name.substr(name.size() - 4) == ".asv";
}

bool MakeFolderPath(const std::string& folder) {
  // Every missing component is made private; existing ones are left as they are.
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

}  // namespace

std::string DefaultAutosaveFolder() {
  std::string base;
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    base = home;
    AppendPathComponent(base, ".local/state");
  }
  AppendPathComponent(base, "kvt2");
  return base;
}

TAutosaveClaim::~TAutosaveClaim() { Release(); }

TAutosaveClaim::TAutosaveClaim(TAutosaveClaim&& other) noexcept
    : path(std::move(other.path)), lockFd(std::exchange(other.lockFd, -1)) {
  other.path.clear();
}

TAutosaveClaim& TAutosaveClaim::operator=(TAutosaveClaim&& other) noexcept {
  if (this != &other) {
    Release();
    path = std::move(other.path);
    other.path.clear();
    lockFd = std::exchange(other.lockFd, -1);
  }
  return *this;
}

void TAutosaveClaim::Remove() {
  if (lockFd < 0) return;
  // The data first: a file without its lock file is still found and claimed, a lock file
  // without its data file is harmless.
  ::unlink(path.c_str());
  ::unlink(LockPathOf(path).c_str());
  Release();
}

void TAutosaveClaim::Release() {
  if (lockFd >= 0) ::close(lockFd);
  lockFd = -1;
  path.clear();
}

bool TAutosaveClaim::IsPlainFile() const {
  struct stat st {};
  return lockFd >= 0 && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool TAutosaveStore::PrepareFolder() const {
  if (folder.empty() || folder[0] != '/') {
    errno = ENOENT;
    return false;
  }
  if (!MakeFolderPath(folder)) return false;
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
    errno = S_ISDIR(st.st_mode) ? EACCES : ENOTDIR;
    return false;
  }
  if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return false;
  return true;
}

TAutosaveResult TAutosaveStore::ClaimNewFile(TAutosaveClaim& claim) const {
  claim.Release();
  if (!PrepareFolder()) return TAutosaveResult::kFolderFailed;
  for (int n = 0; n < kAutosaveNameCount; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "kvt%03d.asv", n);
    std::string path = folder;
    AppendPathComponent(path, name);
    int lockFd = LockFile(LockPathOf(path));
    if (lockFd < 0) continue;  // held by a running window
    TUniqueFd file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.IsValid()) {
      // Left by a session that ended (recoverable, not ours to overwrite), or not a file.
      ::close(lockFd);
      continue;
    }
    claim = TAutosaveClaim(std::move(path), lockFd);
    return TAutosaveResult::kOk;
  }
  return TAutosaveResult::kAllNamesTaken;
}

bool TAutosaveStore::ClaimExisting(const std::string& path, TAutosaveClaim& claim) const {
  claim.Release();
  auto under = GetPathUnderFolder(path, folder);
  if (!under || under->find('/') != std::string_view::npos || !IsAutosaveName(*under)) return false;
  int lockFd = LockFile(LockPathOf(path));
  if (lockFd < 0) return false;
  TAutosaveClaim held(path, lockFd);
  if (!held.IsPlainFile()) return false;
  claim = std::move(held);
  return true;
}

std::vector<TAutosaveClaim> TAutosaveStore::ClaimRecoverableFiles() const {
  std::vector<TAutosaveClaim> claims;
  if (!PrepareFolder()) return claims;
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      if (IsAutosaveName(entry->d_name)) names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string path = folder;
    AppendPathComponent(path, name);
    TAutosaveClaim claim;
    if (!ClaimExisting(path, claim)) continue;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (st.st_size == 0) {
      claim.Remove();
      continue;
    }
    claims.push_back(std::move(claim));
  }
  return claims;
}

}  // namespace kvt
