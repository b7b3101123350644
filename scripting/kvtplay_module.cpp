#include "scripting/kvt_module.h"

namespace kvt {

int OpenKvtPlayModule(lua_State* L) {
  lua_newtable(L);
  return 1;
}

}  // namespace kvt
