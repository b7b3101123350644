#pragma once
// TUniqueFd: owns a POSIX file descriptor and closes it when it goes out of scope.

#include <unistd.h>

namespace kvt {

class TUniqueFd {
public:
  TUniqueFd() = default;
  explicit TUniqueFd(int fd) : fd(fd) {}
  ~TUniqueFd() { Reset(-1); }
  TUniqueFd(const TUniqueFd&) = delete;
  TUniqueFd& operator=(const TUniqueFd&) = delete;

  int Get() const { return fd; }
  bool IsValid() const { return fd >= 0; }
  // Closes the owned descriptor (if any) and takes `other`.
  void Reset(int other) {
    if (fd >= 0) ::close(fd);
    fd = other;
  }
  // Closes now and reports whether the close succeeded: a late write error shows here.
  bool Close() {
    int result = fd >= 0 ? ::close(fd) : 0;
    fd = -1;
    return result == 0;
  }

private:
  int fd = -1;
};

}  // namespace kvt
