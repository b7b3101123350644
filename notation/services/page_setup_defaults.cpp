#include "notation/services/page_setup_defaults.h"

#include "notation/services/services.h"
#include "notation/staff/music_score.h"

namespace kvt {

namespace {

class TNullPageSetupDefaults final : public TPageSetupDefaults {
public:
  TPageMargins GetDefaultMargins() override { return TPageMargins(); }
};

}  // namespace

TPageSetupDefaults& PageSetupDefaultsOf(const TServices& services) {
  static TNullPageSetupDefaults nullProvider;
  return services.pageSetupDefaults ? *services.pageSetupDefaults : nullProvider;
}

}  // namespace kvt
