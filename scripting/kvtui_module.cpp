#include "scripting/kvt_module.h"

namespace kvt {

int OpenKvtUiModule(lua_State* L) {
  lua_newtable(L);
  return 1;
}

}  // namespace kvt
