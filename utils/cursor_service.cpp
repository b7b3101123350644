#include "utils/cursor_service.h"

#include <atomic>

namespace kvt {

namespace {

class TNullCursorService : public ICursorService {
public:
  bool ShowWaitCursor() override { return false; }
  void RestoreCursor() override {}
};

TNullCursorService nullService;
std::atomic<ICursorService*> currentService{&nullService};

}  // namespace

ICursorService& CursorService() { return *currentService.load(); }

void SetCursorService(ICursorService* service) {
  currentService.store(service ? service : &nullService);
}

}  // namespace kvt
