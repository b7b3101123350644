#include "utils/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "utils/char_class.h"

namespace kvt {

namespace {

constexpr int kMaxDecimals = 100;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string FormatFixed(double value, int decimals, int width) {
  if (decimals < 0) decimals = 6;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  // The largest double has 309 integer digits.
  char buffer[320 + kMaxDecimals];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (static_cast<int>(text.size()) < width) {
    const size_t pad = static_cast<size_t>(width) - text.size();
    if (!std::isfinite(value)) {
      text.insert(0, pad, ' ');
    } else {
      text.insert(text[0] == '-' ? 1 : 0, pad, '0');
    }
  }
  return text;
}

std::string FormatGeneral(double value, int precision) {
  if (precision < 0) precision = 6;
  if (precision == 0) precision = 1;
  if (precision > kMaxDecimals) precision = kMaxDecimals;
  char buffer[64 + kMaxDecimals];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

bool ParseRealPrefix(const char* text, float& value) {
  if (!text) return false;
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // from_chars takes a minus sign of its own; a second sign is no number.
  if (*p == '+' || *p == '-' || *p == 0) return false;
  const char* end = p + std::strlen(p);
  float parsed = 0;
  auto result = std::from_chars(p, end, parsed, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return false;
  if (result.ec == std::errc::result_out_of_range) {
    // Tell overflow from underflow by the magnitude in a wider type.
    long double wide = 0;
    const auto wideResult = std::from_chars(p, end, wide, std::chars_format::general);
    bool overflow;
    if (wideResult.ec == std::errc()) {
      overflow = std::fabs(wide) > 1;
    } else {
      const char* exponent = std::strpbrk(p, "eE");
      overflow = !(exponent && exponent < result.ptr && exponent[1] == '-');
    }
    parsed = overflow ? std::numeric_limits<float>::infinity() : 0.0f;
  }
  value = negative ? -parsed : parsed;
  return true;
}

bool ParseIntText(const char* text, int32_t& value) {
  if (!text || !IsNumberText(text, false)) return false;
  const char* p = text;
  while (*p == ' ') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  while (*p == ' ') ++p;
  // Digits into a 64-bit value first, so "-2147483648" fits before the sign is applied.
  int64_t magnitude = 0;
  const char* end = p + std::strlen(p);
  const auto result = std::from_chars(p, end, magnitude);
  if (result.ec != std::errc()) return false;
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue < std::numeric_limits<int32_t>::min() ||
      signedValue > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  value = static_cast<int32_t>(signedValue);
  return true;
}

}  // namespace kvt
