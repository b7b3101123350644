#include "tools/version_text.h"

#include <charconv>

namespace kvt {

namespace {

void Append(std::string& out, long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace

std::string FormatVersionText(int version, int stage, int build) {
  std::string text;
  Append(text, version / 256);
  text += '.';
  Append(text, version % 256);
  if (stage == 0 || stage == 1) {
    text += stage == 0 ? " Public Preview " : " Beta ";
    Append(text, static_cast<long long>(build) + 1);
  } else if (build != 0) {
    text += '.';
    Append(text, build);
  }
  return text;
}

}  // namespace kvt
