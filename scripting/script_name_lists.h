#pragma once
// The name lists scripts see as kvt.txt: a protected table of protected lists, each joined by
// "," when made a string. The notation lists are the lists the score text writes.

#include <lua.hpp>

namespace kvt {

// Pushes the protected table. withHostLists adds the six lists of the editor's drawing and
// playing functions (UserPropValueTypes, DrawTextAlign, DrawTextVAlign, DrawPenStyle,
// DrawFillStyle, PlayMidiCmds) to the notation lists.
void PushScriptNameLists(lua_State* L, bool withHostLists);

// The MIDI command names of PlayMidiCmds, "noteOff" (0) .. "pitchBend" (6).
const char* const* GetPlayMidiCommandNames();

}  // namespace kvt
