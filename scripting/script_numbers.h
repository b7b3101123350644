#pragma once
// Whole numbers from script arguments. A Lua number is a double; converting one that is not
// finite, or that lies outside the integer type, is undefined in C++, so every conversion
// checks first: a number that is not finite raises "number has no integer representation",
// one beyond +-2^53 raises "number out of range". Fractions are cut toward zero, as Lua does.

#include <cstdint>

#include <lua.hpp>

namespace kvt {

int64_t CheckScriptInteger(lua_State* L, int arg);
int64_t OptScriptInteger(lua_State* L, int arg, int64_t def);
// The number at arg (it must be a number) within first..last, else a Lua error with message.
int64_t CheckScriptIntegerIn(lua_State* L, int arg, int64_t first, int64_t last,
                             const char* message);

}  // namespace kvt
