#include "utils/flat_ram_stream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "utils/precondition.h"

namespace kvt {

TKRVFlatRamStream::TKRVFlatRamStream(void* memory, int capacityBytes, int dataSize) {
  KVT_PRECONDITION(dataSize >= 0 && dataSize <= capacityBytes);
  KVT_PRECONDITION(memory != nullptr || capacityBytes == 0);
  bytes = static_cast<const uint8_t*>(memory);
  writableBytes = static_cast<uint8_t*>(memory);
  capacity = static_cast<uint32_t>(capacityBytes);
  size = static_cast<uint32_t>(dataSize);
}

TKRVFlatRamStream::TKRVFlatRamStream(int capacityBytes, int step) {
  KVT_PRECONDITION(capacityBytes >= 0 && step >= 0);
  owned = true;
  growStep = static_cast<uint32_t>(step);
  try {
    storage.resize(static_cast<size_t>(capacityBytes));
  } catch (const std::bad_alloc&) {
    SetFailed();
    return;
  }
  capacity = static_cast<uint32_t>(capacityBytes);
  bytes = writableBytes = storage.data();
}

void TKRVFlatRamStream::ViewReadOnly(std::span<const uint8_t> view, uint32_t dataSize) {
  KVT_PRECONDITION(view.size() <= kMaxStreamSize && dataSize <= view.size());
  storage.clear();
  owned = false;
  readOnly = true;
  growStep = 0;
  bytes = view.data();
  writableBytes = nullptr;
  capacity = static_cast<uint32_t>(view.size());
  size = dataSize;
  position = 0;
}

void TKRVFlatRamStream::AdoptReadOnly(std::vector<uint8_t> copy, uint32_t dataSize) {
  KVT_PRECONDITION(copy.size() <= kMaxStreamSize && dataSize <= copy.size());
  storage = std::move(copy);
  owned = true;
  readOnly = true;
  growStep = 0;
  bytes = storage.data();
  writableBytes = nullptr;
  capacity = static_cast<uint32_t>(storage.size());
  size = dataSize;
  position = 0;
}

bool TKRVFlatRamStream::Grow() {
  if (!owned || readOnly || growStep == 0 || capacity >= kMaxStreamSize) return false;
  uint32_t newCapacity =
      growStep > kMaxStreamSize - capacity ? kMaxStreamSize : capacity + growStep;
  try {
    storage.resize(newCapacity);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  bytes = writableBytes = storage.data();
  capacity = newCapacity;
  return true;
}

void TKRVFlatRamStream::PutByte(int byte) {
  if (readOnly || (position >= capacity && !Grow())) {
    SetFailed();
    return;
  }
  writableBytes[position] = static_cast<uint8_t>(byte);
  Advance();
}

int TKRVFlatRamStream::GetByte() {
  if (position >= size) {
    SetError();
    return 0;
  }
  return bytes[position++];
}

bool TKRVFlatRamStream::Seek(int32_t target) {
  if (target < 0 || static_cast<uint32_t>(target) > size) return false;
  position = static_cast<uint32_t>(target);
  return true;
}

void TKRVFlatRamStream::Clear() {
  Rewind();
  size = 0;
}

void TKRVFlatRamStream::Write(const void* buffer, int n) {
  if (n <= 0) return;
  KVT_PRECONDITION(buffer != nullptr);
  if (readOnly) {
    SetFailed();
    return;
  }
  const uint8_t* source = static_cast<const uint8_t*>(buffer);
  uint32_t left = static_cast<uint32_t>(n);
  while (left > 0) {
    if (position >= capacity && !Grow()) {
      SetFailed();
      return;
    }
    uint32_t chunk = std::min(left, capacity - position);
    std::memcpy(writableBytes + position, source, chunk);
    Advance(chunk);
    source += chunk;
    left -= chunk;
  }
}

int TKRVFlatRamStream::Read(void* buffer, int n) {
  if (n <= 0) return 0;
  KVT_PRECONDITION(buffer != nullptr);
  uint32_t count = std::min(static_cast<uint32_t>(n), size - position);
  if (count > 0) std::memcpy(buffer, bytes + position, count);
  position += count;
  if (count < static_cast<uint32_t>(n)) SetError();
  return static_cast<int>(count);
}

}  // namespace kvt
