#pragma once
// TKRVSegRamStream: a growable memory stream kept in fixed-size segments, so growing never
// moves the bytes already written. Used for undo snapshots, clipboard staging and downloads.
// The first segment lives as long as the stream; Clear frees the others and empties it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "utils/sizer_stream.h"

namespace kvt {

class TKRVSegRamStream : public TKRVSizerStream {
public:
  // Precondition: 1 <= segmentSize <= 65535.
  explicit TKRVSegRamStream(int segmentSize);

  // Stores the byte, appending a segment when the current one is full. A failed allocation
  // or a stream at INT32_MAX bytes fails the write (IsFailed) and stores nothing.
  void PutByte(int byte) override;
  // The next byte; at the size the error flag (not a fault) and 0.
  int GetByte() override;
  // Positions above the size (and negative ones) return false without the error flag.
  bool Seek(int32_t position) override;
  // Rewind, size 0, every segment after the first freed.
  void Clear() override;
  // Block forms with the byte-wise meaning: Write stores bytes until one fails; Read returns
  // the count delivered and sets the error flag when it is short.
  void Write(const void* buffer, int n) override;
  int Read(void* buffer, int n) override;

  int SegmentSize() const { return segmentSize; }
  size_t SegmentCount() const { return segments.size(); }

private:
  // Makes the segment after the current one current, allocating it when it does not exist.
  bool EnterNextSegmentForWrite();

  uint32_t segmentSize;
  std::vector<std::unique_ptr<uint8_t[]>> segments;  // never empty
  size_t current = 0;                                 // index of the current segment
  uint32_t offset = 0;                                // in the current segment, up to segmentSize
};

}  // namespace kvt
