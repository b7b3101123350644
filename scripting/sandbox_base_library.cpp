#include "scripting/sandbox_base_library.h"

namespace kvt {

namespace {

int GetMetatable(lua_State* L) {
  luaL_checkany(L, 1);
  if (lua_type(L, 1) == LUA_TSTRING || !lua_getmetatable(L, 1)) {
    lua_pushnil(L);
    return 1;
  }
  luaL_getmetafield(L, 1, "__metatable");
  return 1;
}

int SetMetatable(lua_State* L) {
  const int t = lua_type(L, 2);
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_argcheck(L, t == LUA_TNIL || t == LUA_TTABLE, 2, "nil or table expected");
  if (luaL_getmetafield(L, 1, "__metatable")) return luaL_error(L, "cannot change a protected metatable");
  if (t == LUA_TTABLE) {
    lua_pushliteral(L, "__gc");
    lua_rawget(L, 2);
    const bool hasGc = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (hasGc) return luaL_error(L, "__gc metamethods are not allowed");
  }
  lua_settop(L, 2);
  lua_setmetatable(L, 1);
  return 1;
}

}  // namespace

int OpenSandboxBaseLibrary(lua_State* L) {
  static const char* const kKept[] = {"assert", "error",    "ipairs",   "next", "pairs",
                                      "select", "tonumber", "tostring", "type"};
  lua_createtable(L, 0, 16);
  lua_pushglobaltable(L);
  for (const char* name : kKept) {
    lua_getfield(L, -1, name);
    lua_setfield(L, -3, name);
  }
  lua_pop(L, 1);
  lua_pushcfunction(L, GetMetatable);
  lua_setfield(L, -2, "getmetatable");
  lua_pushcfunction(L, SetMetatable);
  lua_setfield(L, -2, "setmetatable");
  lua_pushliteral(L, "Lua 5.2");
  lua_setfield(L, -2, "_VERSION");
  return 1;
}

}  // namespace kvt
