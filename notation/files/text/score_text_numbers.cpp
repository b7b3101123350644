#include "notation/files/text/score_text_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kvt {

namespace {

size_t SkipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void AppendIntText(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void AppendRealText(std::string& out, double value) {
  if (value == 0) value = 0;  // drops the sign of a negative zero
  char buffer[64];
  // The precision overload of to_chars is defined as printf's "%.6g" in the "C" locale.
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  out.append(buffer, result.ptr);
}

void AppendFixed2Text(std::string& out, double value) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  if (text == "-0.00") text = "0.00";
  out.append(text);
}

bool ParseIntValue(std::string_view text, int32_t& value, bool* overflow) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !IsDigit(text[i])) return false;
  // Accumulate with saturation: the digits may run on far beyond any integer type.
  int64_t magnitude = 0;
  bool over = false;
  constexpr int64_t kLimit = int64_t{1} << 32;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<int32_t>::max()) {
    signedValue = std::numeric_limits<int32_t>::max();
    over = true;
  } else if (signedValue < std::numeric_limits<int32_t>::min()) {
    signedValue = std::numeric_limits<int32_t>::min();
    over = true;
  }
  value = static_cast<int32_t>(signedValue);
  if (overflow) *overflow = over;
  return true;
}

bool ParseRealValue(std::string_view text, double& value) {
  size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Only a digit or a point starts a number here: from_chars would also take "inf" and "nan",
  // which no writer produces and no item can hold.
  if (i >= text.size() || !(IsDigit(text[i]) || text[i] == '.')) return false;
  double parsed = 0;
  const auto result =
      std::from_chars(text.data() + i, text.data() + text.size(), parsed, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return false;
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; an overflow has no finite value.
    const std::string_view digits = text.substr(i, static_cast<size_t>(result.ptr - text.data()) - i);
    const size_t e = digits.find_first_of("eE");
    if (e == std::string_view::npos || e + 1 >= digits.size() || digits[e + 1] != '-') return false;
    parsed = 0;
  }
  if (!std::isfinite(parsed)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

}  // namespace kvt
