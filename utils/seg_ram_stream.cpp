#include "utils/seg_ram_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "utils/precondition.h"

namespace kvt {

TKRVSegRamStream::TKRVSegRamStream(int size) : segmentSize(static_cast<uint32_t>(size)) {
  KVT_PRECONDITION(size >= 1 && size <= 0xFFFF);
  segments.push_back(std::make_unique<uint8_t[]>(segmentSize));
}

bool TKRVSegRamStream::EnterNextSegmentForWrite() {
  if (current + 1 == segments.size()) {
    try {
      segments.push_back(std::make_unique_for_overwrite<uint8_t[]>(segmentSize));
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  ++current;
  offset = 0;
  return true;
}

void TKRVSegRamStream::PutByte(int byte) {
  if (position >= kMaxStreamSize || (offset == segmentSize && !EnterNextSegmentForWrite())) {
    SetFailed();
    return;
  }
  segments[current][offset++] = static_cast<uint8_t>(byte);
  Advance();
}

int TKRVSegRamStream::GetByte() {
  if (position >= size) {
    SetError();
    return 0;
  }
  if (offset == segmentSize) {
    // Below the size the next segment always exists; the test only guards the invariant.
    if (current + 1 >= segments.size()) {
      SetError();
      return 0;
    }
    ++current;
    offset = 0;
  }
  ++position;
  return segments[current][offset++];
}

bool TKRVSegRamStream::Seek(int32_t target) {
  if (target < 0 || static_cast<uint32_t>(target) > size) return false;
  uint32_t p = static_cast<uint32_t>(target);
  // A position on a segment boundary stays at the end of the earlier segment, so seeking to
  // the size never needs a segment that was not written yet; the next byte moves on lazily.
  if (p == 0) {
    current = 0;
    offset = 0;
  } else {
    current = (p - 1) / segmentSize;
    offset = p - static_cast<uint32_t>(current) * segmentSize;
  }
  position = p;
  return true;
}

void TKRVSegRamStream::Clear() {
  Rewind();
  size = 0;
  segments.resize(1);
  current = 0;
  offset = 0;
}

void TKRVSegRamStream::Write(const void* buffer, int n) {
  if (n <= 0) return;
  KVT_PRECONDITION(buffer != nullptr);
  const uint8_t* source = static_cast<const uint8_t*>(buffer);
  uint32_t left = static_cast<uint32_t>(n);
  while (left > 0) {
    if (position >= kMaxStreamSize || (offset == segmentSize && !EnterNextSegmentForWrite())) {
      SetFailed();
      return;
    }
    uint32_t chunk = std::min({left, segmentSize - offset, kMaxStreamSize - position});
    std::memcpy(&segments[current][offset], source, chunk);
    offset += chunk;
    Advance(chunk);
    source += chunk;
    left -= chunk;
  }
}

int TKRVSegRamStream::Read(void* buffer, int n) {
  if (n <= 0) return 0;
  KVT_PRECONDITION(buffer != nullptr);
  uint8_t* target = static_cast<uint8_t*>(buffer);
  uint32_t left = std::min(static_cast<uint32_t>(n), size - position);
  uint32_t copied = 0;
  while (left > 0) {
    if (offset == segmentSize) {
      ++current;
      offset = 0;
    }
    uint32_t chunk = std::min(left, segmentSize - offset);
    std::memcpy(target + copied, &segments[current][offset], chunk);
    offset += chunk;
    position += chunk;
    copied += chunk;
    left -= chunk;
  }
  if (copied < static_cast<uint32_t>(n)) SetError();
  return static_cast<int>(copied);
}

}  // namespace kvt
