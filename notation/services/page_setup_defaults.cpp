#include "notation/services/page_setup_defaults.h"

#include <atomic>

#include "notation/staff/music_score.h"

namespace kvt {

namespace {

class TNullPageSetupDefaults final : public TPageSetupDefaults {
public:
  TPageMargins GetDefaultMargins() override { return TPageMargins(); }
};

TNullPageSetupDefaults& NullProvider() {
  static TNullPageSetupDefaults provider;
  return provider;
}

std::atomic<TPageSetupDefaults*> installedProvider{nullptr};

}  // namespace

TPageSetupDefaults& GetPageSetupDefaults() {
  TPageSetupDefaults* provider = installedProvider.load(std::memory_order_acquire);
  return provider ? *provider : NullProvider();
}

void InstallPageSetupDefaults(TPageSetupDefaults* provider) {
  installedProvider.store(provider, std::memory_order_release);
}

}  // namespace kvt
