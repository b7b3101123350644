#pragma once
// TKVBoolArray: an array of n bits, all clear at construction. Bit i lies in byte i/8 at bit
// i mod 8, least significant bit first. The storage is b + (b mod 4) bytes with b = n/8 + 1;
// callers that copy the storage into undo snapshots and streams copy exactly GetByteSize
// bytes, byte 0 first. Storage bits past bit n-1 are always zero, so equal bits mean equal
// storage.
//
// Bit counts are bounded: a count below 0 becomes 0 and one above kMaxBits becomes kMaxBits.
// Indexes outside 0..n-1 read as clear and are ignored by the operations that change bits.

#include <cstdint>
#include <vector>

namespace kvt {

class TKRVStream;

class TKVBoolArray {
public:
  // 16 Mi bits (2 MiB of storage).
  static constexpr int32_t kMaxBits = 1 << 24;

  explicit TKVBoolArray(int32_t n = 0);

  int32_t GetBitCount() const { return bitCount; }
  int32_t GetByteSize() const { return static_cast<int32_t>(bytes.size()); }
  const uint8_t* Data() const { return bytes.data(); }

  bool Get(int32_t i) const;
  void Set(int32_t i, bool value);
  // Every one of the n bits set or clear.
  void SetAll(bool value);
  // The number of the n bits equal to value.
  int32_t Count(bool value) const;
  bool Any() const;
  // The index of the first or last set bit, -1 when none.
  int32_t FirstSet() const;
  int32_t LastSet() const;
  // Bits i..n-2 move up one place (bit n-1 drops off), then bit i = value.
  void InsertBit(int32_t i, bool value);
  // Bits i+1..n-1 move down one place and bit n-1 keeps its value; when i is the last bit, it
  // is cleared.
  void RemoveBit(int32_t i);
  // Same bit count and same storage bytes.
  bool Equals(const TKVBoolArray& other) const;
  // Clears every bit, then copies the storage bytes both arrays have.
  void CopyFrom(const TKVBoolArray& other);

  // Writes the GetByteSize storage bytes.
  void WriteTo(TKRVStream& stream) const;
  // Reads GetByteSize storage bytes. When the stream ends first (its error flag set), the
  // array is left unchanged and false is returned. Bits past n-1 in the data are dropped.
  bool ReadFrom(TKRVStream& stream);

private:
  void ClearPadding();

  int32_t bitCount = 0;
  std::vector<uint8_t> bytes;
};

}  // namespace kvt
