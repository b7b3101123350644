#include "utils/buffered_file_stream.h"

#include <algorithm>

namespace kvt {

TKRVBFStream::TKRVBFStream(int mode, const char* path, int requestedBufferSize)
    // Compared unsigned, so a negative request counts as a large one.
    : bufferSize(std::clamp(static_cast<uint32_t>(requestedBufferSize), 1u, kMaxBufferSize)),
      buffer(std::make_unique<uint8_t[]>(bufferSize)) {
  file.Open(mode & 0xFF, path);
  TakeFileFault();
}

TKRVBFStream::~TKRVBFStream() { Close(); }

bool TKRVBFStream::TakeFileFault() {
  if (!file.IsFailed()) return true;
  SetFailed();
  return false;
}

bool TKRVBFStream::Open(int mode, const char* path) {
  Close();
  ClearError();
  DropBuffer();
  file.Open(mode & 0xFF, path);
  TakeFileFault();
  return file.IsOpen();
}

bool TKRVBFStream::Close() {
  Flush();
  file.Close();
  TakeFileFault();
  return !IsFailed();
}

void TKRVBFStream::PutByte(int byte) {
  if (!file.IsOpen()) {
    SetFailed();
    return;
  }
  // Bytes read ahead are not the caller's position: move the file back to the logical one
  // before writing there.
  if (!writeMode && count > 0 && !Seek(Tell())) return;
  writeMode = true;
  buffer[count++] = static_cast<uint8_t>(byte);
  if (count == bufferSize) Flush();
}

void TKRVBFStream::Flush() {
  if (!writeMode) return;
  file.Write(buffer.get(), static_cast<int>(count));
  DropBuffer();
  TakeFileFault();
}

int TKRVBFStream::GetByte() {
  if (writeMode) Flush();
  if (count == 0) {
    if (!file.IsOpen()) {
      SetFailed();
      return 0;
    }
    int got = file.Read(buffer.get(), static_cast<int>(bufferSize));
    TakeFileFault();
    if (got <= 0) {
      SetError();
      return 0;
    }
    count = static_cast<uint32_t>(got);
    readPosition = 0;
  }
  int byte = buffer[readPosition++];
  if (readPosition == count) DropBuffer();
  return byte;
}

bool TKRVBFStream::Seek(int32_t position) {
  if (writeMode) Flush();
  DropBuffer();
  bool moved = file.Seek(position);
  TakeFileFault();
  return moved;
}

int32_t TKRVBFStream::Tell() {
  int64_t position = file.Tell();
  if (!TakeFileFault()) return 0;
  if (writeMode)
    position += count;
  else
    position -= count - readPosition;
  if (position < 0 || position > INT32_MAX) {
    SetFailed();
    return 0;
  }
  return static_cast<int32_t>(position);
}

int32_t TKRVBFStream::Size() {
  int32_t fileSize = file.Size();
  if (!TakeFileFault()) return 0;
  // Pending bytes may already extend the stream past the file's end.
  if (writeMode) return std::max(fileSize, Tell());
  return fileSize;
}

void TKRVBFStream::Rewind() {
  // Pending bytes belong where they were written: flush before the file moves to the start.
  Flush();
  file.Rewind();
  ClearError();
  DropBuffer();
  Seek(0);
}

void TKRVBFStream::Clear() {
  DropBuffer();
  file.Clear();
  ClearError();
  TakeFileFault();
}

uint32_t TKRVBFStream::GetFileDateTime() {
  uint32_t value = file.GetFileDateTime();
  TakeFileFault();
  return value;
}

bool TKRVBFStream::SetFileDateTime(uint32_t dosDateTime) {
  Flush();
  bool set = file.SetFileDateTime(dosDateTime);
  TakeFileFault();
  return set;
}

}  // namespace kvt
