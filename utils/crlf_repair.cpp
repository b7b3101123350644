#include "utils/crlf_repair.h"

namespace kvt {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

}  // namespace

bool HasCrLfLineEndsOnly(std::string_view bytes, bool defaultResult) {
  bool sawLineFeed = false;
  for (size_t i = bytes.find(kLineFeed); i != std::string_view::npos;
       i = bytes.find(kLineFeed, i + 1)) {
    if (i == 0 || bytes[i - 1] != kCarriageReturn) return false;
    sawLineFeed = true;
  }
  return sawLineFeed ? true : defaultResult;
}

std::optional<std::string> ConvertCrLfToLf(std::string_view bytes) {
  std::string repaired;
  repaired.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char byte = bytes[i];
    if (byte == kLineFeed) {
      // The pair's carriage return went out just before: the line feed takes its place.
      if (i == 0 || bytes[i - 1] != kCarriageReturn) return std::nullopt;
      repaired.back() = kLineFeed;
      continue;
    }
    repaired += byte;
  }
  return repaired;
}

}  // namespace kvt
