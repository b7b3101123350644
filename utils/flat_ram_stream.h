#pragma once
// TKRVFlatRamStream: a memory stream over one contiguous block: caller memory (fixed), or
// memory the stream owns and grows by a fixed step. Read-only forms over resource and
// clipboard data derive from it.

#include <cstdint>
#include <span>
#include <vector>

#include "utils/sizer_stream.h"

namespace kvt {

class TKRVFlatRamStream : public TKRVSizerStream {
public:
  // Empty: no memory, capacity 0, cannot grow.
  TKRVFlatRamStream() = default;
  // Over caller memory that must outlive the stream; not owned, cannot grow. The first
  // dataSize bytes are the stream's contents. Preconditions: 0 <= dataSize <= capacity, and
  // memory is not null when capacity > 0.
  TKRVFlatRamStream(void* memory, int capacity, int dataSize);
  // Owns a block of `capacity` bytes and grows it by growStep bytes whenever a write reaches
  // the capacity; growStep 0 never grows. A failed allocation leaves the stream empty with
  // IsFailed set. Preconditions: capacity >= 0, growStep >= 0.
  TKRVFlatRamStream(int capacity, int growStep);

  // Stores the byte. At the capacity the block grows by the grow step first; a stream that
  // cannot grow, a failed allocation, a read-only stream: IsFailed, nothing stored.
  void PutByte(int byte) override;
  // The next byte; at the size the error flag (not a fault) and 0.
  int GetByte() override;
  // Positions above the size (and negative ones) return false without the error flag.
  bool Seek(int32_t position) override;
  // Rewind, size 0; the memory is kept.
  void Clear() override;
  // Block forms with the byte-wise meaning: Write stores bytes until one fails (growing step
  // by step as PutByte would); Read returns the count delivered and sets the error flag when
  // it is short.
  void Write(const void* buffer, int n) override;
  int Read(void* buffer, int n) override;

  int32_t Capacity() const { return static_cast<int32_t>(capacity); }
  int32_t GrowStep() const { return static_cast<int32_t>(growStep); }
  bool IsOwned() const { return owned; }
  bool IsReadOnly() const { return readOnly; }

protected:
  // Makes the stream a read-only view of bytes that outlive it; size = dataSize.
  // Precondition: dataSize <= bytes.size() <= INT32_MAX.
  void ViewReadOnly(std::span<const uint8_t> bytes, uint32_t dataSize);
  // Makes the stream read-only over its own copy of the bytes; size = dataSize.
  // Precondition: dataSize <= bytes.size() <= INT32_MAX.
  void AdoptReadOnly(std::vector<uint8_t> bytes, uint32_t dataSize);

private:
  // Raises the capacity by the grow step; false when the stream cannot grow.
  bool Grow();

  std::vector<uint8_t> storage;         // the memory when the stream owns it
  const uint8_t* bytes = nullptr;       // start of the memory (null when there is none)
  uint8_t* writableBytes = nullptr;     // the same memory when writable, else null
  uint32_t capacity = 0;
  uint32_t growStep = 0;                // 0: the stream cannot grow
  bool owned = false;
  bool readOnly = false;
};

}  // namespace kvt
