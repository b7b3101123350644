#pragma once
// Helpers for the MIDI file writer tests: byte vectors built from pieces and the contents of
// a stream.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "utils/stream.h"

namespace kvt {

using Bytes = std::vector<uint8_t>;

// Byte vectors written as pieces: numbers are bytes, texts their characters.
struct Piece {
  Piece(int byte) : bytes{static_cast<uint8_t>(byte)} {}
  Piece(const char* text) : bytes(text, text + std::char_traits<char>::length(text)) {}
  Bytes bytes;
};
inline Bytes Cat(std::initializer_list<Piece> pieces) {
  Bytes out;
  for (const Piece& p : pieces) out.insert(out.end(), p.bytes.begin(), p.bytes.end());
  return out;
}

inline Bytes Contents(TKRVStream& s) {
  Bytes out(static_cast<size_t>(s.Size()));
  s.Seek(0);
  if (!out.empty()) s.Read(out.data(), static_cast<int>(out.size()));
  return out;
}

}  // namespace kvt
