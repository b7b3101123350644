#pragma once
// TKVErrorLog: the alert log of the running editor. It keeps the last 256 lines (UTF-8),
// oldest first, and counts every line added since it was made or cleared; the running number
// of a line is its place in that count, from 1. Any thread may add lines: every operation,
// reads included, holds the application's process-wide lock (TKVAppLock), so readers see a
// whole state.

#include <cstdarg>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "utils/alert_log.h"

namespace kvt {

class TKVErrorLog final : public TAlertLog {
public:
  static constexpr size_t kMaxLines = 256;
  // A formatted line is cut here (on a character boundary).
  static constexpr size_t kMaxLineBytes = 2047;

  struct TSnapshot {
    std::vector<std::string> lines;  // oldest first
    uint32_t total = 0;              // lines added since creation or the last Clear
    // The running number of lines[0] (1 for an empty log).
    uint32_t FirstNumber() const { return total - static_cast<uint32_t>(lines.size()) + 1; }
  };

  // Trims blanks, tabs, CR and LF at both ends; an empty result adds nothing. A full log drops
  // its oldest line. With the echo flag set the line also goes to the debug output.
  void AddLine(std::string_view line) override;
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void PrintfV(const char* format, va_list args);
  void Clear();
  void SetEcho(bool echo);
  bool IsEcho() const;
  TSnapshot Snapshot() const;

private:
  std::deque<std::string> lines;  // guarded by the application lock
  uint32_t total = 0;             // guarded by the application lock
  bool echo = false;              // guarded by the application lock
};

}  // namespace kvt
