#include "utils/file_utils.h"

#include "utils/path_utils.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kvt {

namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifferenceSeconds = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

bool StatPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

TFileTime ToFileTime(const struct timespec& time) {
  int64_t seconds = static_cast<int64_t>(time.tv_sec) + kEpochDifferenceSeconds;
  if (seconds < 0) return 0;
  return static_cast<TFileTime>(seconds) * kTicksPerSecond +
         static_cast<TFileTime>(time.tv_nsec / 100);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool IsReadOnly(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && (info.st_mode & S_IWUSR) == 0;
}

bool CreateDir(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

bool RemoveDir(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool GetFileWriteTime(const std::string& path, TFileTime& time) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
  ::close(fd);
  if (ok) time = ToFileTime(info.st_mtim);
  return ok;
}

std::string GetCurrentDir() {
  // Grows the buffer until the path fits: no fixed limit cuts it.
  std::vector<char> buffer(256);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() >= (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

TCurrentDirSaver::TCurrentDirSaver() {
  folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

TCurrentDirSaver::~TCurrentDirSaver() {
  if (folder < 0) return;
  // Nothing to report from a destructor: a folder that vanished leaves the directory as is.
  [[maybe_unused]] int result = ::fchdir(folder);
  ::close(folder);
}

std::string MakeNumberedName(const std::string& folder, const std::string& baseName,
                             const std::string& extension) {
  std::string stem = folder;
  AppendPathComponent(stem, baseName);
  for (int number = 1; number <= 11999; ++number) {
    std::string name = stem + std::to_string(number) + "." + extension;
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0 && errno == ENOENT) return name;
  }
  return std::string();
}

}  // namespace kvt
