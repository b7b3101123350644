#include "notation/services/user_object_host.h"

#include "notation/services/services.h"

namespace kvt {

TUserObjectHost& UserObjectHostOf(const TServices& services) {
  static TNullUserObjectHost nullHost;
  return services.userObjectHost ? *services.userObjectHost : nullHost;
}

}  // namespace kvt
