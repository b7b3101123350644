#include "utils/ini_file_io.h"

#include "utils/atomic_file_write.h"
#include "utils/debug_log.h"
#include "utils/stream.h"

#include <cerrno>
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

bool TPosixIniFileIo::WriteContent(TKRVStream& file, std::string_view content) {
  file.Write(content.data(), static_cast<int>(content.size()));
  return !file.IsError();
}

bool TPosixIniFileIo::WriteAtomic(const std::string& path, std::string_view content,
                                  bool createFolder) {
  if (path.empty()) return false;
  if (createFolder) {
    // A link at the path lies in this folder too, so its end's folder is not made here.
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    if (ec) {
      DebugPrintf("ini: cannot make folder %s: %s\n", folder.c_str(), ec.message().c_str());
      return false;
    }
  }
  // Settings are the user's own: a new file is private.
  return WriteFileAtomically(
      path, TSaveBackups{},
      [this, content](TKRVStream& file) { return WriteContent(file, content); },
      kPrivateFileMode);
}

TIniFileIo& DefaultIniFileIo() {
  static TPosixIniFileIo io;
  return io;
}

}  // namespace kvt
