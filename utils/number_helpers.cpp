#include "utils/number_helpers.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "utils/number_text.h"
#include "utils/text_copy.h"

namespace kvt {

char* FormatReal(char* buffer, int size, double x, const char* format) {
  if (!buffer || size <= 0) return buffer;
  buffer[0] = 0;
  if (!format) return buffer;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int length = std::snprintf(nullptr, 0, format, x);
  if (length <= 0) return buffer;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, x);
#pragma GCC diagnostic pop
  // A format may carry UTF-8 text of its own: cut on a character boundary.
  return CopyStringMax(buffer, text.c_str(), size);
}

int Sign(int value) { return (value > 0) - (value < 0); }

int SignReal(float value) { return (value > 0) - (value < 0); }

float RoundToDecimals(float x, int n) {
  if (!std::isfinite(x)) return x;
  float rounded = x;
  ParseRealPrefix(FormatFixed(x, n).c_str(), rounded);
  return rounded;
}

uint16_t NextRandom16(uint16_t& seed, int steps) {
  const int64_t times = steps > 0 ? int64_t{steps} + 1 : 1;
  for (int64_t i = 0; i < times; ++i) seed = static_cast<uint16_t>(seed * 25173u + 13849u);
  return seed;
}

}  // namespace kvt
