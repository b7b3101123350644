#include "scripting/kvt_module.h"

namespace kvt {

void RegisterKvtMetatables(lua_State* L) {}

void PushNtnIdxObject(lua_State* L) { lua_newtable(L); }

}  // namespace kvt
