#include "app/shell/error_log.h"

#include <algorithm>
#include <cstdio>

#include "tools/kv_app_base.h"
#include "utils/debug_log.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

}  // namespace

void TKVErrorLog::AddLine(std::string_view line) {
  const size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return;
  line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
  TKVAppLock lock;
  if (lines.size() >= kMaxLines) lines.pop_front();
  if (echo) DebugPrintf("%.*s\n", static_cast<int>(line.size()), line.data());
  lines.emplace_back(line);
  ++total;
}

void TKVErrorLog::PrintfV(const char* format, va_list args) {
  char buffer[kMaxLineBytes + 1];
  const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (written < 0) return;
  std::string_view text(buffer, std::min<size_t>(static_cast<size_t>(written), kMaxLineBytes));
  // A cut line ends on a whole character.
  if (static_cast<size_t>(written) > kMaxLineBytes) text = text.substr(0, Utf8CompleteLength(text));
  AddLine(text);
}

void TKVErrorLog::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  PrintfV(format, args);
  va_end(args);
}

void TKVErrorLog::Clear() {
  TKVAppLock lock;
  lines.clear();
  total = 0;
}

void TKVErrorLog::SetEcho(bool on) {
  TKVAppLock lock;
  echo = on;
}

bool TKVErrorLog::IsEcho() const {
  TKVAppLock lock;
  return echo;
}

TKVErrorLog::TSnapshot TKVErrorLog::Snapshot() const {
  TKVAppLock lock;
  return {std::vector<std::string>(lines.begin(), lines.end()), total};
}

}  // namespace kvt
