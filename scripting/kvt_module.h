#pragma once
// The sandbox's script modules. Each opener pushes its module table; the host wraps it.
//
// kvt: version fields, the name lists (txt), the notation index object (ntnidx), the toolbox
//   (set by the host), addPairs, debug (also print), memusage, churnCount, churnRate,
//   getRunContext, hasTypeface, isset, rawget.
// kvtplay: reading the play state and adding MIDI events during playback compilation.
// kvtui: dialogs while a user object is created or edited.

#include <lua.hpp>

namespace kvt {

int OpenKvtModule(lua_State* L);
int OpenKvtPlayModule(lua_State* L);
int OpenKvtUiModule(lua_State* L);

// kvt.debug: the values, through tostring, joined by tabs, as one line of the alert log.
int KvtDebug(lua_State* L);

// The metatables of the host's objects ("kvt.ntnidx").
void RegisterKvtMetatables(lua_State* L);
// Pushes a new notation index object (ntnidx_object.cpp).
void PushNtnIdxObject(lua_State* L);

// The version fields every kvt module has (the runtime's too).
void SetKvtVersionFields(lua_State* L, int table);

}  // namespace kvt
