#include "notation/user_object_types.h"

#include <atomic>

namespace kvt {

namespace {

class TNullLoadedUserObjectTypes final : public TLoadedUserObjectTypes {
public:
  std::vector<std::string> ListLoadedUserObjectTypes(int) override { return {}; }
};

TNullLoadedUserObjectTypes& NullList() {
  static TNullLoadedUserObjectTypes list;
  return list;
}

std::atomic<TLoadedUserObjectTypes*> installedList{nullptr};

}  // namespace

TLoadedUserObjectTypes& GetLoadedUserObjectTypes() {
  TLoadedUserObjectTypes* list = installedList.load(std::memory_order_acquire);
  return list ? *list : NullList();
}

void InstallLoadedUserObjectTypes(TLoadedUserObjectTypes* list) {
  installedList.store(list, std::memory_order_release);
}

}  // namespace kvt
