#pragma once
// TLayoutBytes: builds the bytes of binary score files field by field for tests, the way the
// file layouts describe them (little-endian integers, zero-terminated strings), so that
// fixtures are written independently of the writers under test.

#include <cstdint>
#include <string>
#include <string_view>

namespace kvt::test {

class TLayoutBytes {
public:
  TLayoutBytes& U8(int v) {
    bytes.push_back(static_cast<char>(v & 0xFF));
    return *this;
  }
  TLayoutBytes& U16(int v) { return U8(v).U8(v >> 8); }
  TLayoutBytes& U32(uint32_t v) {
    return U16(static_cast<int>(v & 0xFFFF)).U16(static_cast<int>(v >> 16));
  }
  // The text and its terminator.
  TLayoutBytes& Str(std::string_view text) {
    bytes.append(text);
    return U8(0);
  }
  TLayoutBytes& Raw(std::string_view data) {
    bytes.append(data);
    return *this;
  }
  TLayoutBytes& Zeros(int n) {
    bytes.append(static_cast<size_t>(n), '\0');
    return *this;
  }
  // Header fields 1 to 12 with the given signature, reserved value, product, writer version
  // and format version.
  TLayoutBytes& Header(int formatVersion, std::string_view signature = "[Tarlowmede Sorbyle]",
                       int reserved = 0, std::string_view product = "[Tarlowmede Razadove]",
                       int writerVersion = 0x024B) {
    Str(signature).U16(reserved).Str(product).U16(writerVersion).U16(2).U16(0).Str("N/A");
    return Str("0123456789abcdefghijkl").U16(0).U32(1252).U16(0).U16(formatVersion);
  }

  const std::string& Bytes() const { return bytes; }
  size_t Size() const { return bytes.size(); }

private:
  std::string bytes;
};

}  // namespace kvt::test
