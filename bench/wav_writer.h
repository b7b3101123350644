#pragma once
// WriteWav16: a 16-bit PCM WAV file of interleaved stereo samples, written field by field in
// little-endian order through the atomic file writer. False when anything failed.

#include <cstdint>
#include <string>
#include <vector>

#include "utils/atomic_file_write.h"
#include "utils/stream.h"

namespace kvt {

inline bool WriteWav16(const std::string& path, const std::vector<int16_t>& interleaved,
                       int sampleRate, int channels) {
  const uint32_t dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
  return WriteFileAtomically(path, TSaveBackups(), [&](TKRVStream& out) {
    auto u32 = [&](uint32_t v) {
      const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                  static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
      out.Write(b, 4);
    };
    auto u16 = [&](uint32_t v) {
      const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
      out.Write(b, 2);
    };
    out.Write("RIFF", 4);
    u32(36 + dataBytes);
    out.Write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(static_cast<uint32_t>(channels));
    u32(static_cast<uint32_t>(sampleRate));
    u32(static_cast<uint32_t>(sampleRate * channels * 2));
    u16(static_cast<uint32_t>(channels * 2));
    u16(16);
    out.Write("data", 4);
    u32(dataBytes);
    std::vector<unsigned char> bytes(interleaved.size() * 2);
    for (size_t i = 0; i < interleaved.size(); ++i) {
      const uint16_t v = static_cast<uint16_t>(interleaved[i]);
      bytes[2 * i] = static_cast<unsigned char>(v);
      bytes[2 * i + 1] = static_cast<unsigned char>(v >> 8);
    }
    if (!bytes.empty()) out.Write(bytes.data(), static_cast<int>(bytes.size()));
    return !out.IsFailed();
  });
}

}  // namespace kvt
