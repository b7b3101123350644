#include "scripting/checked_string_library.h"

#include <algorithm>
#include <cstring>

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
  char* out = luaL_buffinitsize(L, &b, static_cast<size_t>(total));
  // One piece, then the result doubles by copying what is already there: a few large copies
  // instead of count small ones, with the deadline looked at between them.
  std::memcpy(out, s, l);
  if (count > 1) std::memcpy(out + l, sep, lsep);
  uint64_t done = count > 1 ? piece : l;
  TScriptStepBudget budget(L);
  constexpr uint64_t kBlock = 1 << 20;
  while (done < total) {
    // The result repeats with period `piece`, so byte done + i equals byte done % piece + i,
    // which is already written while that stays below done.
    const uint64_t from = done % piece;
    const uint64_t n = std::min({done - from, total - done, kBlock});
    std::memcpy(out + done, out + from, static_cast<size_t>(n));
    done += n;
    budget.Steps(static_cast<size_t>(n / 4096 + 1));
  }
  luaL_pushresultsize(&b, static_cast<size_t>(total));
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
