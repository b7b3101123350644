#pragma once
// A cursor service for tests: records each call, "S" for a show and "R" for a restore, and
// accepts a show only while `accepts` is set.

#include <string>

#include "utils/cursor_service.h"

namespace kvt::test {

class TRecordingCursorService : public ICursorService {
public:
  bool ShowWaitCursor() override {
    calls += "S";
    return accepts;
  }
  void RestoreCursor() override { calls += "R"; }

  std::string calls;
  bool accepts = true;
};

}  // namespace kvt::test
