#pragma once
// TIniFileIo: the file operations of the ini store, behind an interface so that tests can make
// a write fail at any step. TPosixIniFileIo is the real one: whole-file reads with a size
// bound, and atomic replacement through WriteFileAtomically, so that a crash or a full disk
// never leaves half a file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

class TKRVStream;

// Ini files larger than this are not read (they are not settings a person keeps).
inline constexpr size_t kIniMaxFileBytes = 4u << 20;

// What identifies one version of a file: an atomic replacement always makes a new file, so a
// change of any field means the file changed.
struct TIniFileStamp {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const TIniFileStamp&) const = default;
};

enum class TIniReadResult {
  kRead,     // content holds the whole file
  kMissing,  // no such file (content empty)
  kFailed,   // the file exists but could not be read, is not a regular file or is too large
};

class TIniFileIo {
public:
  virtual ~TIniFileIo() = default;
  virtual TIniFileStamp Stamp(const std::string& path) = 0;
  virtual TIniReadResult Read(const std::string& path, size_t maxBytes, std::string& content) = 0;
  // Replaces the file with content atomically; true only when every step succeeded. With
  // createFolder the missing folders above the file are made first. On failure the old file
  // is untouched and no temporary file is left behind.
  virtual bool WriteAtomic(const std::string& path, std::string_view content,
                           bool createFolder) = 0;
};

class TPosixIniFileIo : public TIniFileIo {
public:
  TIniFileStamp Stamp(const std::string& path) override;
  TIniReadResult Read(const std::string& path, size_t maxBytes, std::string& content) override;
  // Written by WriteFileAtomically (utils/atomic_file_write.h): a symbolic link at the path is
  // followed, its target is replaced and the link stays. A new file gets mode 0600 (less the
  // file-creation mask); a replaced one keeps its mode.
  bool WriteAtomic(const std::string& path, std::string_view content, bool createFolder) override;

protected:
  // Writes the content into the temporary file (utils/atomic_file_write.h checks the layers
  // below); a separate call so that tests can make the write fail.
  virtual bool WriteContent(TKRVStream& file, std::string_view content);
};

// The process's real file operations (stateless).
TIniFileIo& DefaultIniFileIo();

}  // namespace kvt
