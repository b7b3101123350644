// A second start's frame comes from another process over the socket: any bytes must either be
// refused or decode to entries that encode back to the same frame, and nothing decoded may
// pass the bound. The DDE commands among them go through the command parser.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/dde_execute.h"
#include "app/hand_over_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kvt::kHandOverLengthBytes) return 0;
  const std::span<const uint8_t> bytes(data, size);
  const auto length = kvt::DecodeHandOverLength(bytes.first<kvt::kHandOverLengthBytes>());
  // The body as the receiver takes it: the announced length when it fits, else what came.
  std::span<const uint8_t> body = bytes.subspan(kvt::kHandOverLengthBytes);
  if (length && *length <= body.size()) body = body.first(*length);
  const auto entries = kvt::DecodeHandOverBody(body);
  if (!entries) return 0;
  size_t dropped = 1;
  const std::vector<uint8_t> frame = kvt::EncodeHandOver(*entries, &dropped);
  if (dropped != 0 || frame.size() > kvt::kMaxHandOverBytes) std::abort();
  if (frame.size() != body.size() + kvt::kHandOverLengthBytes) std::abort();
  if (!std::equal(body.begin(), body.end(), frame.begin() + kvt::kHandOverLengthBytes))
    std::abort();
  for (const kvt::THandOverEntry& entry : *entries) {
    int command = -1;
    std::string path;
    if (kvt::ParseDdeExecute(entry.text, command, path) && path.size() >= entry.text.size())
      std::abort();
  }
  return 0;
}
