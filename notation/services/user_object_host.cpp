#include "notation/services/user_object_host.h"

#include <atomic>

namespace kvt {

namespace {

TNullUserObjectHost& NullHost() {
  static TNullUserObjectHost host;
  return host;
}

// The one installation point of the process; atomic so that a player thread reading it never
// races the UI thread's installation.
std::atomic<TUserObjectHost*> installedHost{nullptr};

}  // namespace

TUserObjectHost& GetUserObjectHost() {
  TUserObjectHost* host = installedHost.load(std::memory_order_acquire);
  return host ? *host : NullHost();
}

void InstallUserObjectHost(TUserObjectHost* host) {
  installedHost.store(host, std::memory_order_release);
}

bool HasUserObjectHost() { return installedHost.load(std::memory_order_acquire) != nullptr; }

}  // namespace kvt
