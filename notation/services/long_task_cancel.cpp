#include "notation/services/long_task_cancel.h"

#include "notation/services/services.h"

namespace kvt {

namespace {

class TNullLongTaskCancel final : public TLongTaskCancel {
public:
  bool CheckCancel() override { return false; }
};

}  // namespace

TLongTaskCancel& LongTaskCancelOf(const TServices& services) {
  static TNullLongTaskCancel nullProvider;
  return services.longTaskCancel ? *services.longTaskCancel : nullProvider;
}

}  // namespace kvt
