#include "utils/profile_text.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace kvt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

std::string_view StripProfileQuotes(std::string_view value) {
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string QuoteProfileValue(std::string_view text) {
  bool needsQuotes = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                                       StripProfileQuotes(text).size() != text.size());
  if (!needsQuotes) return std::string(text);
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

int32_t CopyProfileText(char* buffer, int32_t size, std::string_view text) {
  if (buffer == nullptr || size < 1) return 0;
  size_t n = text.size();
  if (n > static_cast<size_t>(size) - 1) {
    n = static_cast<size_t>(size) - 1;
    // Back off over continuation bytes so that no character is split; at most three of
    // them belong to one character, so bad UTF-8 cannot walk the cut far back.
    for (int step = 0; step < 3 && n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80;
         ++step)
      --n;
  }
  if (n > 0) std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int32_t>(n);
}

std::optional<int32_t> ParseProfileDword(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars would accept a second sign after ours; require a digit first.
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) {
    if (magnitude > 2147483648ull) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
  }
  if (magnitude > 4294967295ull) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(magnitude));
}

int32_t ParseProfileIntPrefix(std::string_view text, int32_t def) {
  if (text.empty()) return def;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  const int64_t limit = negative ? 2147483648ll : 2147483647ll;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) value = limit;  // saturate; further digits cannot bring it back
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace kvt
