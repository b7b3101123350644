#pragma once
// Protected proxies: read-only stand-ins for tables that scripts may read but never change
// (the sandbox's libraries, the name lists, the toolbox). A proxy is a small userdata whose
// metatable, registered under prefix + name (at most 255 characters), has:
//   __index     the wrapped table
//   __newindex  raises "'<key>' is protected" ("<n/a>" without a key)
//   __metatable the name, so scripts can neither read nor replace the metatable
//   __pairs, __ipairs, __len over the wrapped table; the iterators hold the table themselves
//               and hand out only keys and values, never the table
//   __tostring  (name lists only) the entries joined by ","
// The iterators and __len raise "invalid object" when the metatable's __index is not a table.

#include <lua.hpp>

namespace kvt {

// Replaces the table at the top of the stack by its proxy.
void WrapInProtectedProxy(lua_State* L, const char* prefix, const char* name, bool nameList);

// The table a proxy at index wraps, pushed; nothing pushed and false when it is no proxy.
bool PushProxyTable(lua_State* L, int index);

}  // namespace kvt
