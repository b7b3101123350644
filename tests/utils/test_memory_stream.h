#pragma once
// TestMemoryStream: a vector-backed TKRVStream for tests, with block Read and Write and a few
// switches that make it misbehave the way real inner streams can (a full disk, a failing
// flush, a read fault, data arriving in small pieces). It also records how it was called.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "utils/stream.h"

namespace kvt::test {

class TestMemoryStream : public TKRVStream {
public:
  TestMemoryStream() = default;
  explicit TestMemoryStream(std::vector<uint8_t> content) : bytes(std::move(content)) {}
  explicit TestMemoryStream(const std::string& content) : bytes(content.begin(), content.end()) {}
  ~TestMemoryStream() override {
    if (destroyed != nullptr) *destroyed = true;
  }

  void PutByte(int b) override {
    uint8_t byte = static_cast<uint8_t>(b);
    Write(&byte, 1);
  }
  int GetByte() override {
    uint8_t byte = 0;
    return Read(&byte, 1) == 1 ? byte : 0;
  }
  bool Seek(int32_t p) override {
    if (p < 0 || static_cast<size_t>(p) > bytes.size()) return false;
    pos = static_cast<size_t>(p);
    return true;
  }
  int32_t Tell() override { return static_cast<int32_t>(pos); }
  int32_t Size() override { return static_cast<int32_t>(bytes.size()); }
  void Flush() override {
    ++flushCalls;
    if (failFlush) SetFailed();
  }
  void Clear() override {
    Rewind();
    bytes.clear();
  }

  // Stores up to the capacity; a write beyond it stores what fits and fails.
  void Write(const void* buffer, int n) override {
    if (n <= 0) return;
    ++writeCalls;
    largestWrite = std::max(largestWrite, n);
    size_t room = pos < writeCapacity ? writeCapacity - pos : 0;
    size_t k = std::min(static_cast<size_t>(n), room);
    if (pos + k > bytes.size()) bytes.resize(pos + k);
    if (k > 0) std::memcpy(bytes.data() + pos, buffer, k);
    pos += k;
    if (k < static_cast<size_t>(n)) SetFailed();
  }
  // At most readPiece bytes per call; the end of the data sets the error flag as the base
  // Read does; reading at or beyond failReadAt is a fault.
  int Read(void* buffer, int n) override {
    if (n <= 0) return 0;
    ++readCalls;
    largestRead = std::max(largestRead, n);
    size_t want = std::min(static_cast<size_t>(n), readPiece);
    size_t limit = std::min(bytes.size(), failReadAt);
    size_t k = pos < limit ? std::min(want, limit - pos) : 0;
    if (k > 0) std::memcpy(buffer, bytes.data() + pos, k);
    pos += k;
    if (k < want) {
      if (pos >= failReadAt) {
        SetFailed();
      } else {
        SetError();
      }
    }
    return static_cast<int>(k);
  }

  std::string Text() const { return std::string(bytes.begin(), bytes.end()); }

  std::vector<uint8_t> bytes;
  size_t pos = 0;

  size_t writeCapacity = SIZE_MAX;
  size_t failReadAt = SIZE_MAX;
  size_t readPiece = SIZE_MAX;
  bool failFlush = false;
  bool* destroyed = nullptr;

  int writeCalls = 0;
  int readCalls = 0;
  int flushCalls = 0;
  int largestWrite = 0;
  int largestRead = 0;
};

}  // namespace kvt::test
