#pragma once
// TAlertLog: the log of problems that need no answer (a failed port, a missing font, a script
// error). The application installs the real log; headless runs and tests use TNullAlertLog or a
// recording log. Lines are UTF-8 text; the log itself trims, cuts and bounds them.

#include <string_view>

namespace kvt {

class TAlertLog {
public:
  virtual ~TAlertLog() = default;
  // Adds one line. Implementations may be called from any thread.
  virtual void AddLine(std::string_view line) = 0;
};

// Drops every line.
class TNullAlertLog final : public TAlertLog {
public:
  void AddLine(std::string_view) override {}
};

}  // namespace kvt
