#include "app/hand_over_message.h"

#include <cstring>

namespace kvt {

namespace {

constexpr size_t kCountBytes = 4;
constexpr size_t kEntryHeadBytes = 5;  // kind and text length

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void SetU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* in) {
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
         static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

}  // namespace

std::vector<uint8_t> EncodeHandOver(const std::vector<THandOverEntry>& entries, size_t* dropped) {
  std::vector<uint8_t> frame;
  PutU32(frame, 0);  // the body length, set at the end
  PutU32(frame, 0);  // the entry count, likewise
  uint32_t count = 0;
  size_t left = 0;
  for (const THandOverEntry& entry : entries) {
    const bool fits = frame.size() + kEntryHeadBytes + entry.text.size() <= kMaxHandOverBytes;
    if (!fits || entry.text.find('\0') != std::string::npos) {
      ++left;
      continue;
    }
    frame.push_back(static_cast<uint8_t>(entry.kind));
    PutU32(frame, static_cast<uint32_t>(entry.text.size()));
    frame.insert(frame.end(), entry.text.begin(), entry.text.end());
    ++count;
  }
  SetU32(frame, 0, static_cast<uint32_t>(frame.size() - kHandOverLengthBytes));
  SetU32(frame, kHandOverLengthBytes, count);
  if (dropped != nullptr) *dropped = left;
  return frame;
}

std::optional<uint32_t> DecodeHandOverLength(
    std::span<const uint8_t, kHandOverLengthBytes> prefix) {
  const uint32_t length = GetU32(prefix.data());
  if (length < kCountBytes || length > kMaxHandOverBytes - kHandOverLengthBytes) return {};
  return length;
}

std::optional<std::vector<THandOverEntry>> DecodeHandOverBody(std::span<const uint8_t> body) {
  if (body.size() < kCountBytes || body.size() > kMaxHandOverBytes - kHandOverLengthBytes)
    return {};
  const uint32_t count = GetU32(body.data());
  // Every entry takes at least its head, so a larger count cannot be honest.
  if (count > (body.size() - kCountBytes) / kEntryHeadBytes) return {};
  std::vector<THandOverEntry> entries;
  entries.reserve(count);
  size_t at = kCountBytes;
  for (uint32_t i = 0; i < count; ++i) {
    if (body.size() - at < kEntryHeadBytes) return {};
    const uint8_t kind = body[at];
    if (kind > static_cast<uint8_t>(THandOverKind::kExecuteCommand)) return {};
    const uint32_t length = GetU32(body.data() + at + 1);
    at += kEntryHeadBytes;
    if (length > body.size() - at) return {};
    const char* text = reinterpret_cast<const char*>(body.data() + at);
    if (std::memchr(text, '\0', length) != nullptr) return {};
    entries.push_back({static_cast<THandOverKind>(kind), std::string(text, length)});
    at += length;
  }
  if (at != body.size()) return {};
  return entries;
}

}  // namespace kvt
