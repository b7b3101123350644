#pragma once
// File and folder queries and simple operations on POSIX paths. Each operation returns true
// on success and never throws; a failure leaves errno as the system call set it.

#include <cstdint>
#include <string>

namespace kvt {

// A file time: 100-nanosecond ticks since 1601-01-01 UTC (times before then read as 0), so
// stored file times keep their meaning and their 16-hex-digit form.
using TFileTime = uint64_t;

// The path exists and is not a folder.
bool FileExists(const std::string& path);
// The path exists and is a folder.
bool IsDirectory(const std::string& path);
// The path exists and its owner has no write permission (the read-only mark of a file; it
// does not depend on who asks, so it reads the same for root).
bool IsReadOnly(const std::string& path);

// mkdir with mode 0777 (less the umask), rmdir (empty folders only) and unlink.
bool CreateDir(const std::string& path);
bool RemoveDir(const std::string& path);
bool RemoveFile(const std::string& path);

// The last-write time of a file that can be opened for reading; false for a folder or when
// it cannot be opened.
bool GetFileWriteTime(const std::string& path, TFileTime& time);

// The current directory; empty when it cannot be read.
std::string GetCurrentDir();

// Keeps the current directory at construction and returns to it at destruction, even when
// the folder has been renamed meanwhile.
class TCurrentDirSaver {
public:
  TCurrentDirSaver();
  ~TCurrentDirSaver();
  TCurrentDirSaver(const TCurrentDirSaver&) = delete;
  TCurrentDirSaver& operator=(const TCurrentDirSaver&) = delete;

private:
  int folder = -1;  // an open descriptor of the saved directory, -1 when it could not be opened
};

// The first name folder + "/" + baseName + number + "." + extension, numbers from 1 to 11999,
// that names no existing file or folder; empty when all are taken. An empty folder leaves
// the name relative.
std::string MakeNumberedName(const std::string& folder, const std::string& baseName,
                             const std::string& extension);

}  // namespace kvt
