#pragma once
// TKRVFStream: a stream over one open file, unbuffered: every operation is one system call.
//
// Open modes (bit set):
//   kFileModeRead (1)   read an existing file
//   kFileModeWrite (2)  write: alone it creates the file or empties an existing one;
//                       with kFileModeRead it opens an existing file for reading and writing
//   neither             read an existing file
//   kFileShareRead (4), kFileShareWrite (8): what others may do meanwhile; accepted and
//                       ignored, files here are never locked against other openers.
// The program uses 1 (read), 5 (read, others may read) and 2 (write a new file).
//
// A failed open leaves the stream closed with IsFailed set; every later operation fails too.
// Reading past the end sets only the error flag (GetByte) or returns a short count (Read).

#include <cstdint>

#include "utils/stream.h"

namespace kvt {

inline constexpr int kFileModeRead = 1;
inline constexpr int kFileModeWrite = 2;
inline constexpr int kFileShareRead = 4;
inline constexpr int kFileShareWrite = 8;

class TKRVFStream : public TKRVStream {
public:
  // Closed; Open opens it.
  TKRVFStream() = default;
  // Opens at once; see Open.
  TKRVFStream(int mode, const char* path);
  // Closes the file.
  ~TKRVFStream() override;

  // Closes any open file, clears the error flags and opens `path` by the mode table above.
  // A null path or a folder fails like a missing file. Returns IsOpen().
  bool Open(int mode, const char* path);
  bool IsOpen() const { return fd >= 0; }
  // Closes the file. True when no fault is recorded since the stream was opened (or last
  // rewound), the close included: a writer has succeeded only when this returns true.
  bool Close();

  // One byte written; a short write fails (IsFailed).
  void PutByte(int byte) override;
  // One byte read; at the end of the file the error flag and 0, on a read fault IsFailed.
  int GetByte() override;
  // From the start of the file; true when the file is now at `position`, else IsFailed.
  bool Seek(int32_t position) override;
  // The file position; on failure (or past INT32_MAX) IsFailed and 0.
  int32_t Tell() override;
  // The file size; on failure (or past INT32_MAX) IsFailed and 0.
  int32_t Size() override;
  // Writes go straight to the file: nothing to do.
  void Flush() override;
  // All n bytes or IsFailed.
  void Write(const void* buffer, int n) override;
  // The count read: short only at the end of the file, which sets no flag; a read fault sets
  // IsFailed and returns the count read before it.
  int Read(void* buffer, int n) override;

  // Moves the file position by `distance` from the current one; failure sets IsFailed.
  bool SeekRelative(int32_t distance);

  // The file's last-write time in local time, packed DOS style: date in the high 16 bits
  // (year - 1980 << 9 | month << 5 | day), time in the low 16 (hour << 11 | minute << 5 |
  // second / 2). Times before 1980 give 1980-01-01 00:00:00, after 2107 the last of 2107.
  // Failure: IsFailed and 0.
  uint32_t GetFileDateTime();
  // Sets the last-access and last-write times to the packed local time (files here keep no
  // creation time). False and IsFailed when the value is not a valid date and time or the
  // file refuses the change.
  bool SetFileDateTime(uint32_t dosDateTime);

private:
  int fd = -1;
};

}  // namespace kvt
