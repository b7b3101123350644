// Parses arbitrary object lines with kvtItem.new of the built-in score text library, at both
// levels, and writes them back: errors stay Lua errors, and a level-1 item writes back its
// line's fields unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <lua.hpp>

#include "scripting/builtin_lua_texts.h"
#include "scripting/lua_state_limits.h"

namespace {

class TLimits final : public kvt::TLuaStateLimits {
public:
  TLimits() : TLuaStateLimits(size_t{64} << 20) {}
  void OnDeadlinePassed(lua_State* L) override { luaL_error(L, "Execution limit exceeded."); }
};

void Hook(lua_State* L, lua_Debug*) { kvt::CheckScriptDeadline(L); }

struct TLibrary {
  TLimits limits;
  lua_State* L = nullptr;
  TLibrary() {
    kvt::TLuaStateLimits::TCapScope unlimited(limits, false);
    L = limits.NewState();
    luaL_openlibs(L);
    const std::string_view text = kvt::FindBuiltinLuaText("kvttxt.lua");
    if (luaL_loadbufferx(L, text.data(), text.size(), "=kvttxt.lua", "t") != LUA_OK ||
        lua_pcall(L, 0, 0, 0) != LUA_OK)
      std::abort();
    const char* check =
        "local line, level = ...\n"
        "local item = kvtItem.new(line, level)\n"
        "local out = tostring(item)\n"
        "return out";
    if (luaL_loadbufferx(L, check, std::strlen(check), "=check", "t") != LUA_OK) std::abort();
    lua_setglobal(L, "fuzzcheck");
    lua_sethook(L, Hook, LUA_MASKCOUNT, 50);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TLibrary library;
  lua_State* L = library.L;
  // Object lines begin with a bar.
  std::string line = "|" + std::string(reinterpret_cast<const char*>(data), size);
  for (int level = 1; level <= 2; ++level) {
    library.limits.SetDeadline(500);
    lua_getglobal(L, "fuzzcheck");
    lua_pushlstring(L, line.data(), line.size());
    lua_pushinteger(L, level);
    lua_pcall(L, 2, 1, 0);
    lua_settop(L, 0);
  }
  return 0;
}
