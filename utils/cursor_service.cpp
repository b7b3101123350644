#include "utils/cursor_service.h"

namespace kvt {

namespace {

class TNullCursorService final : public ICursorService {
public:
  bool ShowWaitCursor() override { return false; }
  void RestoreCursor() override {}
};

}  // namespace

ICursorService& NullCursorService() {
  static TNullCursorService service;
  return service;
}

}  // namespace kvt
