#include "scripting/checked_string_library.h"

#include <algorithm>

#include "scripting/lua_pattern_functions.h"
#include "scripting/lua_state_limits.h"
#include "scripting/script_numbers.h"

namespace kvt {

namespace {

// Above this a result could not be a Lua string.
constexpr uint64_t kMaxResult = (static_cast<uint64_t>(1) << 53);

int StrFind(lua_State* L) { return PatternFind(L, TPatternCodec::kBytes); }
int StrMatch(lua_State* L) { return PatternMatch(L, TPatternCodec::kBytes); }
int StrGmatch(lua_State* L) { return PatternGmatch(L, TPatternCodec::kBytes); }
int StrGsub(lua_State* L) { return PatternGsub(L, TPatternCodec::kBytes); }

// Copies len bytes in pieces, so the deadline is looked at while a large result is built.
void AddInPieces(luaL_Buffer& b, TScriptStepBudget& budget, const char* s, size_t len) {
  constexpr size_t kPiece = 1 << 16;
  while (len > 0) {
    const size_t n = std::min(len, kPiece);
    luaL_addlstring(&b, s, n);
    budget.Steps(n / 16 + 1);
    s += n;
    len -= n;
  }
}

}  // namespace

int CheckedStringRep(lua_State* L) {
  size_t l = 0;
  size_t lsep = 0;
  const char* s = luaL_checklstring(L, 1, &l);
  const int64_t n = CheckScriptInteger(L, 2);
  const char* sep = luaL_optlstring(L, 3, "", &lsep);
  if (n <= 0 || l + lsep == 0) {
    lua_pushliteral(L, "");
    return 1;
  }
  const auto count = static_cast<uint64_t>(n);
  // The size is checked before anything is allocated; the allocator's cap then bounds it.
  const uint64_t piece = static_cast<uint64_t>(l) + lsep;
  if (count > kMaxResult / piece)
    return luaL_error(L, "resulting string too large");
  const uint64_t total = piece * count - lsep;
  luaL_Buffer b;
  luaL_buffinitsize(L, &b, static_cast<size_t>(total));
  TScriptStepBudget budget(L);
  for (uint64_t i = 0; i < count; ++i) {
    AddInPieces(b, budget, s, l);
    if (i + 1 < count) AddInPieces(b, budget, sep, lsep);
    budget.Step();
  }
  luaL_pushresult(&b);
  return 1;
}

void InstallCheckedStringFunctions(lua_State* L, int index) {
  index = lua_absindex(L, index);
  const luaL_Reg replaced[] = {{"find", StrFind},   {"match", StrMatch}, {"gmatch", StrGmatch},
                               {"gsub", StrGsub},   {"rep", CheckedStringRep}, {nullptr, nullptr}};
  for (const luaL_Reg* r = replaced; r->name != nullptr; ++r) {
    lua_pushcfunction(L, r->func);
    lua_setfield(L, index, r->name);
  }
}

int OpenCheckedStringLibrary(lua_State* L) {
  luaopen_string(L);
  InstallCheckedStringFunctions(L, -1);
  return 1;
}

}  // namespace kvt
