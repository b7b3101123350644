#pragma once
// The dialog calls shared by kvtui (in the sandbox) and kvtut (in the user-tool runtime): they
// read the script's arguments, open the dialog through TScriptDialogs without charging the
// dialog's time to the call, and push the answers.

#include <lua.hpp>

#include "scripting/script_dialogs.h"

namespace kvt {

class TLuaStateLimits;

// Texts of dialogs are cut to this many characters (on character boundaries).
inline constexpr size_t kMaxDialogTextChars = 1024;
inline constexpr size_t kMaxCaptionChars = 127;

// The first `chars` characters of a UTF-8 text.
std::string CutToCharacters(std::string_view text, size_t chars);

// msgbox (text, caption): the answer, and the caption default "Information".
TScriptAnswer ScriptMessageBox(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits,
                               void* owner);
// askbox (text, caption, default): the caption default "Question"; a default of 2 makes No
// the default button.
TScriptAnswer ScriptAskBox(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits,
                           void* owner);
// prompt (label, type, initial...): reads the request (a Lua error for an unknown type),
// shows it; false for Cancel, else the values pushed and their count in `pushed`.
bool ScriptPrompt(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits, void* owner,
                  int& pushed);

}  // namespace kvt
