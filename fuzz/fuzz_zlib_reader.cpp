// Reads arbitrary bytes through the decompressing filter in tagged and gzip mode, to the end,
// once through Read and once through GetByte, and checks that both give the same bytes and
// the same fault.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "utils/zlib_in_stream.h"

namespace {

// The fuzz input as a read-only stream, delivered in pieces of a size taken from the input.
class InputStream : public kvt::TKRVStream {
public:
  InputStream(const uint8_t* data, size_t size, int piece)
      : data(data), size(size), piece(piece) {}

  int GetByte() override {
    if (pos >= size) {
      SetError();
      return 0;
    }
    return data[pos++];
  }
  int Read(void* buffer, int n) override {
    size_t k = std::min({static_cast<size_t>(n < 0 ? 0 : n), size - pos,
                         static_cast<size_t>(piece)});
    if (k > 0) std::memcpy(buffer, data + pos, k);
    pos += k;
    if (k < static_cast<size_t>(n) && pos >= size) SetError();
    return static_cast<int>(k);
  }
  bool Seek(int32_t p) override {
    if (p < 0 || static_cast<size_t>(p) > size) return false;
    pos = static_cast<size_t>(p);
    return true;
  }
  int32_t Tell() override { return static_cast<int32_t>(pos); }
  int32_t Size() override { return static_cast<int32_t>(size); }

private:
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  int piece;
};

// Enough for any input the fuzzer makes; stops a runaway loop rather than limiting zlib.
constexpr size_t kMaxOutput = size_t{64} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int piece = size > 0 ? 1 + data[0] * 97 : 1;
  for (int mode : {kvt::TKRVZLibInStream::kModeTagged, kvt::TKRVZLibInStream::kModeGzip}) {
    std::vector<uint8_t> byRead;
    bool readFailed;
    {
      InputStream inner(data, size, piece);
      kvt::TKRVZLibInStream s(mode, &inner, false);
      std::vector<uint8_t> buffer(static_cast<size_t>(piece) + 13);
      for (;;) {
        int n = s.Read(buffer.data(), static_cast<int>(buffer.size()));
        if (n < 0 || static_cast<size_t>(n) > buffer.size()) abort();
        byRead.insert(byRead.end(), buffer.begin(), buffer.begin() + n);
        if (static_cast<size_t>(n) < buffer.size() || byRead.size() > kMaxOutput) break;
      }
      readFailed = s.IsFailed();
      if (s.Tell() != static_cast<int32_t>(byRead.size())) abort();
    }

    std::vector<uint8_t> byGetByte;
    bool getFailed;
    {
      InputStream inner(data, size, 1 << 20);
      kvt::TKRVZLibInStream s(mode, &inner, false);
      for (;;) {
        int b = s.GetByte();
        if (s.IsError() || byGetByte.size() > kMaxOutput) break;
        if (b < 0 || b > 255) abort();
        byGetByte.push_back(static_cast<uint8_t>(b));
      }
      getFailed = s.IsFailed();
      // Rewind must start the same stream again.
      s.Rewind();
      if (s.IsError() || s.Tell() != 0) abort();
      int first = s.GetByte();
      if (!byGetByte.empty() && (s.IsError() || first != byGetByte[0])) abort();
    }

    if (byRead.size() <= kMaxOutput && (byRead != byGetByte || readFailed != getFailed)) abort();
  }
  return 0;
}
