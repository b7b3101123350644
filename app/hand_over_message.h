#pragma once
// The message a second start sends to the running editor over the single-instance socket: a
// bounded, length-prefixed list of entries, each an argument of the second start (paths made
// absolute by the sender) or a desktop execute command ("[Open(...)]", dde_execute.h).
//
// Frame, every number little-endian:
//   u32 body length (at most kMaxHandOverBytes - 4)
//   body: u32 entry count, then per entry: u8 kind, u32 text length, the UTF-8 text
// A text holds no zero byte. The receiver answers one byte (kHandOverAck) as soon as the frame
// has arrived, before it acts on any entry, so the sender never waits on the editor's
// questions. A body that breaks any rule is dropped whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kvt {

inline constexpr size_t kMaxHandOverBytes = 64 * 1024;
inline constexpr size_t kHandOverLengthBytes = 4;
inline constexpr uint8_t kHandOverAck = 0x06;

enum class THandOverKind : uint8_t { kArgument = 0, kExecuteCommand = 1 };

struct THandOverEntry {
  THandOverKind kind = THandOverKind::kArgument;
  std::string text;
  bool operator==(const THandOverEntry&) const = default;
};

// The whole frame for the entries. Entries that would take the frame past kMaxHandOverBytes,
// and entries holding a zero byte, are left out; `dropped` (when given) receives their count.
std::vector<uint8_t> EncodeHandOver(const std::vector<THandOverEntry>& entries,
                                    size_t* dropped = nullptr);

// The body length announced by the frame's first four bytes; nothing when it is over the
// bound.
std::optional<uint32_t> DecodeHandOverLength(std::span<const uint8_t, kHandOverLengthBytes> prefix);

// The entries of a body (the bytes after the length); nothing when the body is malformed: an
// unknown kind, a length past the end, a zero byte in a text, more entries than the body can
// hold, or bytes left over.
std::optional<std::vector<THandOverEntry>> DecodeHandOverBody(std::span<const uint8_t> body);

}  // namespace kvt
