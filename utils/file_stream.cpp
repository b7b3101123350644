#include "utils/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "utils/precondition.h"

namespace kvt {
namespace {

constexpr uint32_t kDosDateTimeFirst = (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
constexpr uint32_t kDosDateTimeLast =                         // 2107-12-31 23:59:58
    ((127u << 9 | 12u << 5 | 31u) << 16) | (23u << 11 | 59u << 5 | 29u);

uint32_t PackDosDateTime(const std::tm& t) {
  int year = t.tm_year + 1900;
  if (year < 1980) return kDosDateTimeFirst;
  if (year > 2107) return kDosDateTimeLast;
  uint32_t date = static_cast<uint32_t>((year - 1980) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
  int second = t.tm_sec > 59 ? 59 : t.tm_sec;  // a leap second counts as the one before
  uint32_t time = static_cast<uint32_t>(t.tm_hour << 11 | t.tm_min << 5 | second / 2);
  return date << 16 | time;
}

// Unpacks into a local broken-down time; false when a field is out of its range.
bool UnpackDosDateTime(uint32_t packed, std::tm& t) {
  uint32_t date = packed >> 16;
  uint32_t time = packed & 0xFFFF;
  t = std::tm{};
  t.tm_year = static_cast<int>(date >> 9) + 80;
  t.tm_mon = static_cast<int>(date >> 5 & 15) - 1;
  t.tm_mday = static_cast<int>(date & 31);
  t.tm_hour = static_cast<int>(time >> 11);
  t.tm_min = static_cast<int>(time >> 5 & 63);
  t.tm_sec = static_cast<int>(time & 31) * 2;
  t.tm_isdst = -1;
  if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1 || t.tm_hour > 23 || t.tm_min > 59 ||
      t.tm_sec > 59)
    return false;
  static constexpr int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = t.tm_year + 1900;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int days = t.tm_mon == 1 && !leap ? 28 : kDaysInMonth[t.tm_mon];
  return t.tm_mday <= days;
}

}  // namespace

TKRVFStream::TKRVFStream(int mode, const char* path) { Open(mode, path); }

TKRVFStream::~TKRVFStream() { Close(); }

bool TKRVFStream::Open(int mode, const char* path) {
  Close();
  ClearError();
  bool read = (mode & kFileModeRead) != 0;
  bool write = (mode & kFileModeWrite) != 0;
  int flags = O_CLOEXEC;
  if (read && write)
    flags |= O_RDWR;
  else if (write)
    flags |= O_WRONLY | O_CREAT | O_TRUNC;
  else
    flags |= O_RDONLY;
  if (path != nullptr) {
    do {
      fd = ::open(path, flags, 0666);
    } while (fd < 0 && errno == EINTR);
  }
  // A folder opens for reading here but is no file to read.
  struct stat info;
  if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) SetFailed();
  return fd >= 0;
}

bool TKRVFStream::Close() {
  if (fd >= 0) {
    // close is not retried on EINTR: on Linux the descriptor is gone either way.
    if (::close(fd) != 0) SetFailed();
    fd = -1;
  }
  return !IsFailed();
}

void TKRVFStream::PutByte(int byte) {
  unsigned char value = static_cast<unsigned char>(byte);
  Write(&value, 1);
}

int TKRVFStream::GetByte() {
  if (fd < 0) {
    SetFailed();
    return 0;
  }
  unsigned char value = 0;
  ssize_t got;
  do {
    got = ::read(fd, &value, 1);
  } while (got < 0 && errno == EINTR);
  if (got == 1) return value;
  if (got < 0)
    SetFailed();
  else
    SetError();
  return 0;
}

bool TKRVFStream::Seek(int32_t position) {
  if (fd < 0 || position < 0 || ::lseek(fd, position, SEEK_SET) != position) {
    SetFailed();
    return false;
  }
  return true;
}

int32_t TKRVFStream::Tell() {
  off_t position = fd < 0 ? -1 : ::lseek(fd, 0, SEEK_CUR);
  if (position < 0 || position > INT32_MAX) {
    SetFailed();
    return 0;
  }
  return static_cast<int32_t>(position);
}

int32_t TKRVFStream::Size() {
  struct stat info;
  if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_size < 0 || info.st_size > INT32_MAX) {
    SetFailed();
    return 0;
  }
  return static_cast<int32_t>(info.st_size);
}

void TKRVFStream::Flush() {}

void TKRVFStream::Write(const void* buffer, int n) {
  if (n <= 0) return;
  KVT_PRECONDITION(buffer != nullptr);
  if (fd < 0) {
    SetFailed();
    return;
  }
  const char* source = static_cast<const char*>(buffer);
  size_t left = static_cast<size_t>(n);
  while (left > 0) {
    ssize_t put = ::write(fd, source, left);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      SetFailed();
      return;
    }
    source += put;
    left -= static_cast<size_t>(put);
  }
}

int TKRVFStream::Read(void* buffer, int n) {
  if (n <= 0) return 0;
  KVT_PRECONDITION(buffer != nullptr);
  if (fd < 0) {
    SetFailed();
    return 0;
  }
  char* target = static_cast<char*>(buffer);
  size_t done = 0;
  // Loops because pipes and terminals deliver in pieces; a file gives all in one call.
  while (done < static_cast<size_t>(n)) {
    ssize_t got = ::read(fd, target + done, static_cast<size_t>(n) - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      SetFailed();
      break;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int>(done);
}

bool TKRVFStream::SeekRelative(int32_t distance) {
  off_t position = fd < 0 ? -1 : ::lseek(fd, distance, SEEK_CUR);
  if (position < 0) {
    SetFailed();
    return false;
  }
  return true;
}

uint32_t TKRVFStream::GetFileDateTime() {
  struct stat info;
  std::tm local;
  if (fd < 0 || ::fstat(fd, &info) != 0 || ::localtime_r(&info.st_mtim.tv_sec, &local) == nullptr) {
    SetFailed();
    return 0;
  }
  return PackDosDateTime(local);
}

bool TKRVFStream::SetFileDateTime(uint32_t dosDateTime) {
  std::tm local;
  if (fd < 0 || !UnpackDosDateTime(dosDateTime, local)) {
    SetFailed();
    return false;
  }
  std::time_t moment = std::mktime(&local);
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = moment;
  times[0].tv_nsec = times[1].tv_nsec = 0;
  if (moment == static_cast<std::time_t>(-1) || ::futimens(fd, times) != 0) {
    SetFailed();
    return false;
  }
  return true;
}

}  // namespace kvt
