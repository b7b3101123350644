#include "notation/services/long_task_cancel.h"

#include <atomic>

namespace kvt {

namespace {

class TNullLongTaskCancel final : public TLongTaskCancel {
public:
  bool CheckCancel() override { return false; }
};

TNullLongTaskCancel& NullProvider() {
  static TNullLongTaskCancel provider;
  return provider;
}

std::atomic<TLongTaskCancel*> installedProvider{nullptr};

}  // namespace

TLongTaskCancel& GetLongTaskCancel() {
  TLongTaskCancel* provider = installedProvider.load(std::memory_order_acquire);
  return provider ? *provider : NullProvider();
}

void InstallLongTaskCancel(TLongTaskCancel* provider) {
  installedProvider.store(provider, std::memory_order_release);
}

}  // namespace kvt
