#include "utils/file_move.h"

#include "utils/atomic_file_write.h"
#include "utils/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace kvt {

namespace {

bool WriteAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    ssize_t written = ::write(fd, data, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    n -= static_cast<size_t>(written);
  }
  return true;
}

bool CopyContents(int from, int to) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(to, buffer.data(), static_cast<size_t>(got))) return false;
  }
}

// Copies a regular file to a temporary file in the target's folder, flushes it to disk and
// renames it over the target. The temporary file is removed on any failure.
bool ReplaceByCopy(const std::string& source, const std::string& target) {
  TUniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info;
  if (in.Get() < 0 || ::fstat(in.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

  // A move replaces what stands at the target's name, a link included, as rename does.
  TFileReplacement replacement(target, kPrivateFileMode);
  if (!replacement.IsValid()) return false;
  TUniqueFd out(::open(replacement.TempPath().c_str(), O_WRONLY | O_CLOEXEC));
  if (out.Get() < 0) return false;

  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  bool ok = CopyContents(in.Get(), out.Get()) && ::fchmod(out.Get(), info.st_mode & 07777) == 0 &&
            ::futimens(out.Get(), times) == 0;
  ok = out.Close() && ok;
  return ok && FlushPathToDisk(replacement.TempPath()) && replacement.Commit();
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target) {
  if (source == target) return false;
  return ReplaceByCopy(source, target);
}

bool MoveFileReplace(const std::string& source, const std::string& target) {
  if (source == target) return false;
  if (::rename(source.c_str(), target.c_str()) == 0) return true;
  if (errno != EXDEV) return false;
  return ReplaceByCopy(source, target) && ::unlink(source.c_str()) == 0;
}

}  // namespace kvt
