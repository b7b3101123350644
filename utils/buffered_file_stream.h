#pragma once
// TKRVBFStream: a file stream with a small buffer in front: writes collect in the buffer and
// go to the file when it is full, on Flush, Seek, Close and destruction; reads fetch a buffer
// at a time. Reading and writing may alternate; the file position always follows Tell.
//
// Faults of the embedded file (failed open, write, flush, seek, close) are also recorded in
// this stream's own flags, so callers test only this stream. The end of the file sets only
// the error flag.

#include <cstdint>
#include <memory>

#include "utils/file_stream.h"
#include "utils/stream.h"

namespace kvt {

class TKRVBFStream : public TKRVStream {
public:
  static constexpr uint32_t kMaxBufferSize = 1024;

  // Opens the file with the low 8 bits of the mode (modes as for TKRVFStream). The buffer
  // holds the requested size, at most 1024 bytes (a negative request counts as a large one)
  // and at least 1.
  TKRVBFStream(int mode, const char* path, int requestedBufferSize);
  // Close: pending bytes are written.
  ~TKRVBFStream() override;

  // Close, clear the error flags, open the file, empty the buffer. Returns IsOpen().
  bool Open(int mode, const char* path);
  bool IsOpen() const { return file.IsOpen(); }
  // Flush, then close the file. True when no fault is recorded since the stream was opened
  // (or last rewound), this final flush and close included: a writer has succeeded only when
  // this returns true.
  bool Close();

  void PutByte(int byte) override;
  // At the end of the file: the error flag (not a fault) and 0.
  int GetByte() override;
  // Writes pending bytes, drops read-ahead and moves the file; failure: IsFailed.
  bool Seek(int32_t position) override;
  // The logical position: the file's, plus pending writes, minus undelivered read-ahead.
  int32_t Tell() override;
  // The file's size; while writing, at least the end of the pending bytes.
  int32_t Size() override;
  // Writes the pending bytes; a failed write sets IsFailed here and in the embedded file.
  void Flush() override;
  // Writes pending bytes, clears the error flags and returns to the start.
  void Rewind() override;
  // Drops buffered bytes unwritten, clears the error flags and returns to the start; the
  // file keeps its length.
  void Clear() override;

  uint32_t GetFileDateTime();
  // Writes pending bytes first, so that later writes cannot overtake the time set.
  bool SetFileDateTime(uint32_t dosDateTime);
  uint32_t BufferSize() const { return bufferSize; }

private:
  // Records a fault of the embedded file in this stream too; returns whether there was none.
  bool TakeFileFault();
  void DropBuffer() {
    count = 0;
    readPosition = 0;
    writeMode = false;
  }

  TKRVFStream file;
  uint32_t bufferSize;
  std::unique_ptr<uint8_t[]> buffer;
  uint32_t count = 0;         // pending writes, or bytes read ahead
  uint32_t readPosition = 0;  // next buffered byte to deliver in read mode
  bool writeMode = false;
};

}  // namespace kvt
