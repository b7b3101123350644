#include "draw/user_object_draw_host.h"

namespace kvt {

// Out of line so the interface's type information lives in this library.
TUserObjectDrawHost::~TUserObjectDrawHost() = default;

}  // namespace kvt
