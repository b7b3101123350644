#pragma once
// A test stream over a byte vector: writes append or overwrite at the position, reads past the
// end set the error flag and return 0, as every stream of the system does.

#include <cstdint>
#include <string>
#include <vector>

#include "utils/stream.h"

namespace kvt {

class TByteVectorStream : public TKRVStream {
public:
  TByteVectorStream() = default;
  explicit TByteVectorStream(std::vector<uint8_t> data) : bytes(std::move(data)) {}
  explicit TByteVectorStream(const std::string& text) : bytes(text.begin(), text.end()) {}

  void PutByte(int byte) override {
    if (position < bytes.size()) {
      bytes[position] = static_cast<uint8_t>(byte);
    } else {
      bytes.push_back(static_cast<uint8_t>(byte));
    }
    ++position;
  }
  int GetByte() override {
    if (position >= bytes.size()) {
      SetError();
      return 0;
    }
    return bytes[position++];
  }
  bool Seek(int32_t to) override {
    if (to < 0 || static_cast<size_t>(to) > bytes.size()) {
      SetError();
      return false;
    }
    position = static_cast<size_t>(to);
    return true;
  }
  int32_t Tell() override { return static_cast<int32_t>(position); }
  int32_t Size() override { return static_cast<int32_t>(bytes.size()); }
  // Empties the stream, as memory streams do.
  void Clear() override {
    Rewind();
    bytes.clear();
  }

  const std::vector<uint8_t>& Bytes() const { return bytes; }
  std::string Text() const { return std::string(bytes.begin(), bytes.end()); }

private:
  std::vector<uint8_t> bytes;
  size_t position = 0;
};

}  // namespace kvt
