#pragma once
// The sandbox's cut-down base library: assert, error, ipairs, next, pairs, select, tonumber,
// tostring, type, getmetatable, setmetatable and _VERSION ("Lua 5.2"). Nothing that loads code,
// reaches around metatables (raw access), catches errors or drives the collector.
//
// getmetatable never gives the strings' shared metatable (nil for a string), and honours
// __metatable as Lua does. setmetatable refuses a metatable with __gc: a finalizer would run
// outside any call's limits and its error would strike whatever call happened to collect.

#include <lua.hpp>

namespace kvt {

// Pushes the new table. Needs Lua's base library opened into the state's original globals.
int OpenSandboxBaseLibrary(lua_State* L);

}  // namespace kvt
