#include "scripting/script_numbers.h"

#include <cmath>

namespace kvt {

namespace {
constexpr double kLimit = 9007199254740992.0;  // 2^53
}

int64_t CheckScriptInteger(lua_State* L, int arg) {
  const double n = luaL_checknumber(L, arg);
  if (!std::isfinite(n)) luaL_argerror(L, arg, "number has no integer representation");
  if (n > kLimit || n < -kLimit) luaL_argerror(L, arg, "number out of range");
  return static_cast<int64_t>(n);
}

int64_t OptScriptInteger(lua_State* L, int arg, int64_t def) {
  return lua_isnoneornil(L, arg) ? def : CheckScriptInteger(L, arg);
}

int64_t CheckScriptIntegerIn(lua_State* L, int arg, int64_t first, int64_t last,
                             const char* message) {
  const double n = luaL_checknumber(L, arg);
  if (!std::isfinite(n) || n < static_cast<double>(first) || n > static_cast<double>(last))
    luaL_error(L, "%s", message);
  return static_cast<int64_t>(n);
}

}  // namespace kvt
