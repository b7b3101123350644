#include "scripting/protected_proxy.h"

#include <string>

namespace kvt {

namespace {

constexpr size_t kMaxNameLength = 255;

// The key that marks a proxy's metatable, so the iterators never serve another userdata's
// __index table (a host object's method table, say).
const char kProxyMark = 0;

int ProxyNewIndex(lua_State* L) {
  const char* key = "<n/a>";
  if (!lua_isnoneornil(L, 2)) key = luaL_tolstring(L, 2, nullptr);
  return luaL_error(L, "'%s' is protected", key);
}

// The wrapped table of the proxy at index 1, pushed; "invalid object" when there is none.
void PushWrapped(lua_State* L) {
  if (!PushProxyTable(L, 1)) luaL_error(L, "invalid object");
}

int ProxyLen(lua_State* L) {
  PushWrapped(L);
  lua_pushinteger(L, static_cast<lua_Integer>(lua_rawlen(L, -1)));
  return 1;
}

int PairsStep(lua_State* L) {
  lua_settop(L, 2);
  PushWrapped(L);
  lua_pushvalue(L, 2);
  if (lua_next(L, 3) == 0) return 0;
  return 2;
}

int ProxyPairs(lua_State* L) {
  PushWrapped(L);
  lua_pop(L, 1);
  lua_pushcfunction(L, PairsStep);
  lua_pushvalue(L, 1);
  lua_pushnil(L);
  return 3;
}

int IpairsStep(lua_State* L) {
  const lua_Integer i = luaL_checkinteger(L, 2) + 1;
  PushWrapped(L);
  lua_pushinteger(L, i);
  lua_rawgeti(L, -2, static_cast<int>(i));
  return lua_isnil(L, -1) ? 0 : 2;
}

int ProxyIpairs(lua_State* L) {
  PushWrapped(L);
  lua_pop(L, 1);
  lua_pushcfunction(L, IpairsStep);
  lua_pushvalue(L, 1);
  lua_pushinteger(L, 0);
  return 3;
}

int ProxyToString(lua_State* L) {
  PushWrapped(L);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  const int n = static_cast<int>(lua_rawlen(L, 2));
  for (int i = 1; i <= n; ++i) {
    lua_rawgeti(L, 2, i);
    if (!lua_isstring(L, -1))
      return luaL_error(L, "invalid value (%s) at index %d in table for 'concat'",
                        luaL_typename(L, -1), i);
    luaL_addvalue(&b);
    if (i < n) luaL_addchar(&b, ',');
  }
  luaL_pushresult(&b);
  return 1;
}

}  // namespace

void WrapInProtectedProxy(lua_State* L, const char* prefix, const char* name, bool nameList) {
  std::string full = std::string(prefix) + name;
  if (full.size() > kMaxNameLength) full.resize(kMaxNameLength);
  const int table = lua_gettop(L);
  lua_newuserdata(L, 4);
  // A fresh metatable each time: a name names one proxy.
  lua_newtable(L);
  lua_pushvalue(L, table);
  lua_setfield(L, -2, "__index");
  lua_pushcfunction(L, ProxyNewIndex);
  lua_setfield(L, -2, "__newindex");
  lua_pushstring(L, full.c_str());
  lua_setfield(L, -2, "__metatable");
  lua_pushcfunction(L, ProxyPairs);
  lua_setfield(L, -2, "__pairs");
  lua_pushcfunction(L, ProxyIpairs);
  lua_setfield(L, -2, "__ipairs");
  lua_pushcfunction(L, ProxyLen);
  lua_setfield(L, -2, "__len");
  if (nameList) {
    lua_pushcfunction(L, ProxyToString);
    lua_setfield(L, -2, "__tostring");
  }
  lua_pushlightuserdata(L, const_cast<char*>(&kProxyMark));
  lua_pushboolean(L, 1);
  lua_rawset(L, -3);
  lua_pushvalue(L, -1);
  lua_setfield(L, LUA_REGISTRYINDEX, full.c_str());
  lua_setmetatable(L, -2);
  lua_replace(L, table);
}

bool PushProxyTable(lua_State* L, int index) {
  if (lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index)) return false;
  lua_pushlightuserdata(L, const_cast<char*>(&kProxyMark));
  lua_rawget(L, -2);
  const bool isProxy = lua_toboolean(L, -1);
  lua_pop(L, 1);
  if (!isProxy) {
    lua_pop(L, 1);
    return false;
  }
  lua_pushliteral(L, "__index");
  lua_rawget(L, -2);
  lua_remove(L, -2);
  if (lua_istable(L, -1)) return true;
  lua_pop(L, 1);
  return false;
}

}  // namespace kvt
