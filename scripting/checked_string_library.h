#pragma once
// Lua's string and table libraries with the functions that can run long replaced by ones that
// check the script's deadline as they go: the pattern functions (find, match, gmatch, gsub),
// string.rep, table.sort (a heap sort: no quadratic worst case, no out-of-range access with
// an inconsistent order function) and table.concat. Everything else is Lua's own.

#include <lua.hpp>

namespace kvt {

// Each pushes its library table. The string library also becomes the strings' method table.
int OpenCheckedStringLibrary(lua_State* L);
int OpenCheckedTableLibrary(lua_State* L);

// Replace the long-running functions in the library tables at index (the runtime opens Lua's
// own libraries first).
void InstallCheckedStringFunctions(lua_State* L, int index);
void InstallCheckedTableFunctions(lua_State* L, int index);

// string.rep as above, for utf8string too.
int CheckedStringRep(lua_State* L);

}  // namespace kvt
