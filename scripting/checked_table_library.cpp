#include <lua.hpp>

#include "scripting/checked_string_library.h"
#include "scripting/lua_state_limits.h"
#include "scripting/script_numbers.h"

namespace kvt {

namespace {

// Whether t[a] < t[b] by the order function at index 2, or by Lua's "<".
bool Less(lua_State* L, TScriptStepBudget& budget, lua_Integer a, lua_Integer b) {
  budget.Step();
  lua_rawgeti(L, 1, static_cast<int>(a));
  lua_rawgeti(L, 1, static_cast<int>(b));
  bool less = false;
  if (!lua_isnoneornil(L, 2)) {
    lua_pushvalue(L, 2);
    lua_insert(L, -3);
    lua_call(L, 2, 1);
    less = lua_toboolean(L, -1);
    lua_pop(L, 1);
  } else {
    less = lua_compare(L, -2, -1, LUA_OPLT);
    lua_pop(L, 2);
  }
  return less;
}

void Swap(lua_State* L, lua_Integer a, lua_Integer b) {
  lua_rawgeti(L, 1, static_cast<int>(a));
  lua_rawgeti(L, 1, static_cast<int>(b));
  lua_rawseti(L, 1, static_cast<int>(a));
  lua_rawseti(L, 1, static_cast<int>(b));
}

// Moves the element at root (1-based heap over first..first+n-1) down to its place.
void SiftDown(lua_State* L, TScriptStepBudget& budget, lua_Integer first, lua_Integer root,
              lua_Integer n) {
  for (;;) {
    lua_Integer child = 2 * root;
    if (child > n) return;
    if (child + 1 <= n && Less(L, budget, first + child - 1, first + child)) ++child;
    if (!Less(L, budget, first + root - 1, first + child - 1)) return;
    Swap(L, first + root - 1, first + child - 1);
    root = child;
  }
}

int Sort(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  const lua_Integer n = luaL_len(L, 1);
  if (n > INT32_MAX) return luaL_argerror(L, 1, "array too big");
  if (!lua_isnoneornil(L, 2)) luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_settop(L, 2);
  TScriptStepBudget budget(L);
  for (lua_Integer root = n / 2; root >= 1; --root) SiftDown(L, budget, 1, root, n);
  for (lua_Integer last = n; last > 1; --last) {
    Swap(L, 1, last);
    SiftDown(L, budget, 1, 1, last - 1);
  }
  return 0;
}

int Concat(lua_State* L) {
  size_t lsep = 0;
  luaL_checktype(L, 1, LUA_TTABLE);
  const char* sep = luaL_optlstring(L, 2, "", &lsep);
  const int64_t i = OptScriptInteger(L, 3, 1);
  const int64_t last = lua_isnoneornil(L, 4) ? luaL_len(L, 1) : CheckScriptInteger(L, 4);
  if (i < INT32_MIN || last > INT32_MAX) return luaL_error(L, "invalid range in 'concat'");
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  TScriptStepBudget budget(L);
  for (int64_t k = i; k <= last; ++k) {
    lua_rawgeti(L, 1, static_cast<int>(k));
    if (!lua_isstring(L, -1))
      return luaL_error(L, "invalid value (%s) at index %d in table for 'concat'",
                        luaL_typename(L, -1), static_cast<int>(k));
    size_t len = 0;
    lua_tolstring(L, -1, &len);
    budget.Steps(len / 64 + 1);
    luaL_addvalue(&b);
    if (k != last) luaL_addlstring(&b, sep, lsep);
  }
  luaL_pushresult(&b);
  return 1;
}

}  // namespace

void InstallCheckedTableFunctions(lua_State* L, int index) {
  index = lua_absindex(L, index);
  lua_pushcfunction(L, Sort);
  lua_setfield(L, index, "sort");
  lua_pushcfunction(L, Concat);
  lua_setfield(L, index, "concat");
}

int OpenCheckedTableLibrary(lua_State* L) {
  luaopen_table(L);
  InstallCheckedTableFunctions(L, -1);
  return 1;
}

}  // namespace kvt
