#include "utils/ini_file_io.h"

#include "utils/debug_log.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvt {

namespace {

TIniFileStamp StampOf(const struct stat& st) {
  TIniFileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<uint64_t>(st.st_dev);
  stamp.inode = static_cast<uint64_t>(st.st_ino);
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

// The file that a write must replace: the target of a symbolic link, else the path itself.
bool ResolveTarget(const std::string& path, std::string& target) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
    target = path;
    return true;
  }
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) {
    DebugPrintf("ini: cannot follow link %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  target = resolved;
  std::free(resolved);
  return true;
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The rename is done; a folder that cannot be synced only weakens the crash guarantee.
  if (::fsync(fd) != 0) DebugPrintf("ini: fsync of %s failed\n", folder.c_str());
  ::close(fd);
}

}  // namespace

TIniFileStamp TPosixIniFileIo::Stamp(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return TIniFileStamp{};
  return StampOf(st);
}

TIniReadResult TPosixIniFileIo::Read(const std::string& path, size_t maxBytes,
                                     std::string& content) {
  content.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? TIniReadResult::kMissing : TIniReadResult::kFailed;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    DebugPrintf("ini: %s is not a readable settings file\n", path.c_str());
    return TIniReadResult::kFailed;
  }
  // Read to the end rather than trusting the size: the file may change under us. One byte
  // past the bound tells that it grew too large.
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      content.clear();
      return TIniReadResult::kFailed;
    }
    if (got == 0) break;
    content.append(chunk.data(), static_cast<size_t>(got));
    if (content.size() > maxBytes) {
      ::close(fd);
      content.clear();
      return TIniReadResult::kFailed;
    }
  }
  ::close(fd);
  return TIniReadResult::kRead;
}

bool TPosixIniFileIo::WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    size -= static_cast<size_t>(put);
  }
  return true;
}

bool TPosixIniFileIo::SyncFile(int fd) { return ::fsync(fd) == 0; }

bool TPosixIniFileIo::WriteAtomic(const std::string& path, std::string_view content,
                                  bool createFolder) {
  std::string target;
  if (path.empty() || !ResolveTarget(path, target)) return false;
  std::filesystem::path folder = std::filesystem::path(target).parent_path();
  if (folder.empty()) folder = ".";
  if (createFolder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
      DebugPrintf("ini: cannot make folder %s: %s\n", folder.c_str(), ec.message().c_str());
      return false;
    }
  }

  std::string temp = target + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    DebugPrintf("ini: cannot create a temporary file beside %s: %s\n", target.c_str(),
                std::strerror(errno));
    return false;
  }
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  struct stat old;
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  bool ok = WriteAll(fd, content.data(), content.size()) && SyncFile(fd);
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    DebugPrintf("ini: writing %s failed; the old file is kept\n", target.c_str());
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(folder.string());
  return true;
}

TIniFileIo& DefaultIniFileIo() {
  static TPosixIniFileIo io;
  return io;
}

}  // namespace kvt
