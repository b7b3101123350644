#pragma once
// TKRVSizerStream: a stream that stores nothing and only counts. Writing advances the position
// and raises the size to it, so writing a record through it measures the record. Reading
// delivers zero bytes up to the size. It is also the counting base of the memory streams.

#include <cstdint>

#include "utils/stream.h"

namespace kvt {

class TKRVSizerStream : public TKRVStream {
public:
  TKRVSizerStream() = default;

  // Advances the position; the size follows it. A position that would pass the largest
  // stream size (INT32_MAX) fails the write instead.
  void PutByte(int byte) override;
  // Below the size: advances and returns 0. At the size: the error flag (not a fault) and 0.
  int GetByte() override;
  // Positions above the size (and negative ones) return false and leave the error flag as
  // it is; the size itself is a valid position.
  bool Seek(int32_t position) override;
  int32_t Tell() override;
  int32_t Size() override;
  // Rewind, then size 0.
  void Clear() override;
  void Write(const void* buffer, int n) override;

protected:
  static constexpr uint32_t kMaxStreamSize = INT32_MAX;

  // Moves past one stored byte: position + 1, size = max(size, position).
  void Advance(uint32_t count = 1) {
    position += count;
    if (position > size) size = position;
  }

  uint32_t size = 0;      // the highest position ever reached
  uint32_t position = 0;  // the current position
};

}  // namespace kvt
