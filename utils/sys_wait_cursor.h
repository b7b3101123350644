#pragma once
// TSysWaitCursor: the application-wide cursor behind TSysInfo's BeginWait / EndWait. The
// application installs one on the window system; the null one does nothing, for runs
// without windows.

#include <cstdint>

namespace kvt {

class TSysWaitCursor {
public:
  // An opaque cursor of the window system, as SetWaitCursor returned it.
  using TCursor = uintptr_t;

  virtual ~TSysWaitCursor() = default;
  // Shows the wait cursor and returns the cursor it replaced.
  virtual TCursor SetWaitCursor() = 0;
  // Shows a cursor that SetWaitCursor returned earlier.
  virtual void RestoreCursor(TCursor cursor) = 0;
};

class TNullSysWaitCursor final : public TSysWaitCursor {
public:
  TCursor SetWaitCursor() override { return 0; }
  void RestoreCursor(TCursor) override {}
};

}  // namespace kvt
