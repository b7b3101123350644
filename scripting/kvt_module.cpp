#include "scripting/kvt_module.h"

#include <string>

#include "notation/index/simple_ntn_idx.h"
#include "notation/items/user_object.h"
#include "scripting/lua_interpreter.h"
#include "scripting/script_name_lists.h"
#include "utils/alert_log.h"
#include "utils/font_description.h"

namespace kvt {

namespace {

constexpr double kVersion = 2.75;

int AddPairs(lua_State* L) {
  const int n = lua_gettop(L);
  lua_Number sums[2] = {0, 0};
  for (int i = 1; i <= n; ++i) {
    if (lua_isnil(L, i)) continue;
    sums[(i - 1) % 2] += luaL_checknumber(L, i);
  }
  lua_pushnumber(L, sums[0]);
  lua_pushnumber(L, sums[1]);
  return 2;
}

int MemUsage(lua_State* L) {
  lua_pushinteger(L, TKVTLuaInterpreter::FromState(L).GetHeapKB());
  return 1;
}

int ChurnCount(lua_State* L) {
  lua_pushnumber(L, static_cast<lua_Number>(TKVTLuaInterpreter::FromState(L).GetAllocationCount()));
  return 1;
}

int ChurnRate(lua_State* L) {
  lua_pushnumber(L, TKVTLuaInterpreter::FromState(L).GetChurnRate());
  return 1;
}

int GetRunContext(lua_State* L) {
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  static const char* const kObjectKinds[] = {"edit", "predraw", "draw", "vplay", "play", "fetch"};
  const int kind = static_cast<int>(context.kind);
  if (kind == 0) {
    lua_pushliteral(L, "init");
    lua_pushnil(L);
    return 2;
  }
  lua_pushliteral(L, "obj");
  if (kind >= 1 && kind <= 6)
    lua_pushstring(L, kObjectKinds[kind - 1]);
  else
    lua_pushnil(L);
  return 2;
}

int HasTypeface(lua_State* L) {
  const char* face = luaL_checkstring(L, 1);
  lua_pushboolean(L, TKVTLuaInterpreter::FromState(L).GetFonts().IsFaceInstalled(face, 1));
  return 1;
}

// The user object of the current call, for the property-table functions; null without one.
TKVTUserObject* CallUserObject(lua_State* L) {
  luaL_checkudata(L, 1, "class.userPropTable");
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  if (context.userObject != nullptr) return context.userObject;
  return context.index != nullptr ? context.index->GetUserObject() : nullptr;
}

int IsSet(lua_State* L) {
  TKVTUserObject* object = CallUserObject(L);
  const char* name = luaL_checkstring(L, 2);
  lua_pushboolean(L, object != nullptr && object->FindParamValue(name) != nullptr);
  return 1;
}

int RawGet(lua_State* L) {
  TKVTUserObject* object = CallUserObject(L);
  const char* name = luaL_checkstring(L, 2);
  const std::string* value = object != nullptr ? object->FindParamValue(name) : nullptr;
  if (value == nullptr)
    lua_pushnil(L);
  else
    lua_pushlstring(L, value->data(), value->size());
  return 1;
}

}  // namespace

int KvtDebug(lua_State* L) {
  TKVTLuaInterpreter& host = TKVTLuaInterpreter::FromState(L);
  const int n = lua_gettop(L);
  std::string line;
  for (int i = 1; i <= n; ++i) {
    // tostring as the script sees it: its __tostring, and "must return a string".
    if (luaL_callmeta(L, i, "__tostring")) {
      if (!lua_isstring(L, -1)) return luaL_error(L, "'tostring' must return a string to 'debug'");
    } else {
      luaL_tolstring(L, i, nullptr);
    }
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (i > 1) line.push_back('\t');
    line.append(text, length);
    lua_pop(L, 1);
  }
  host.GetAlertLog().AddLine(line);
  return 0;
}

void SetKvtVersionFields(lua_State* L, int table) {
  table = lua_absindex(L, table);
  lua_pushnumber(L, kVersion);
  lua_setfield(L, table, "VERSION");
  lua_pushliteral(L, "2.75");
  lua_setfield(L, table, "VERSIONKEY");
  lua_pushliteral(L, "Version 2.75");
  lua_setfield(L, table, "VERSIONTEXT");
}

int OpenKvtModule(lua_State* L) {
  const luaL_Reg functions[] = {{"addPairs", AddPairs},
                                {"debug", KvtDebug},
                                {"memusage", MemUsage},
                                {"churnCount", ChurnCount},
                                {"churnRate", ChurnRate},
                                {"getRunContext", GetRunContext},
                                {"hasTypeface", HasTypeface},
                                {"isset", IsSet},
                                {"rawget", RawGet},
                                {nullptr, nullptr}};
  luaL_newlib(L, functions);
  SetKvtVersionFields(L, -1);
  PushScriptNameLists(L, true);
  lua_setfield(L, -2, "txt");
  PushNtnIdxObject(L);
  lua_setfield(L, -2, "ntnidx");
  return 1;
}

}  // namespace kvt
