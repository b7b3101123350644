#include "utils/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace kvt {

bool IsDebugOutputEnabled() {
  static const bool enabled = std::getenv("KVT_DEBUG") != nullptr;
  return enabled;
}

void DebugPrintf(const char* format, ...) {
  if (!IsDebugOutputEnabled()) return;
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::fputs(buffer, stderr);
}

}  // namespace kvt
