// kvtui: dialogs while a user object is created or edited (kind 1; elsewhere "Invalid user
// object creation context"). Dialogs open only while the call has an owner window (create and
// menu clicks); without one every function returns nil. Cancel in any dialog clears the
// window, so the rest of the call gets nil too and the edit counts as cancelled.

#include <cmath>

#include "scripting/kvt_module.h"
#include "scripting/lua_interpreter.h"
#include "scripting/script_dialog_calls.h"
#include "scripting/script_numbers.h"

namespace kvt {

namespace {

// The edit context when dialogs may open; null when the call has no owner window.
TLuaRunContext* DialogContext(lua_State* L) {
  TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  if (context.kind != TLuaRunKind::kEdit) luaL_error(L, "Invalid user object creation context");
  return context.ownerWindow != nullptr ? &context : nullptr;
}

int NoWindow(lua_State* L) {
  lua_pushnil(L);
  return 1;
}

int Cancelled(lua_State* L, TLuaRunContext& context) {
  context.ownerWindow = nullptr;
  lua_pushnil(L);
  return 1;
}

int MsgBox(lua_State* L) {
  TLuaRunContext* context = DialogContext(L);
  luaL_checkstring(L, 1);
  if (context == nullptr) return NoWindow(L);
  TKVTLuaInterpreter& host = TKVTLuaInterpreter::FromState(L);
  if (ScriptMessageBox(L, host.GetDialogs(), host, context->ownerWindow) != TScriptAnswer::kOk)
    return Cancelled(L, *context);
  lua_pushinteger(L, 1);
  return 1;
}

int AskBox(lua_State* L) {
  TLuaRunContext* context = DialogContext(L);
  luaL_checkstring(L, 1);
  if (context == nullptr) return NoWindow(L);
  TKVTLuaInterpreter& host = TKVTLuaInterpreter::FromState(L);
  const TScriptAnswer answer = ScriptAskBox(L, host.GetDialogs(), host, context->ownerWindow);
  if (answer == TScriptAnswer::kCancel) return Cancelled(L, *context);
  lua_pushinteger(L, answer == TScriptAnswer::kYes ? 1 : 0);
  return 1;
}

int Prompt(lua_State* L) {
  TLuaRunContext* context = DialogContext(L);
  luaL_checkstring(L, 1);
  if (context == nullptr) return NoWindow(L);
  TKVTLuaInterpreter& host = TKVTLuaInterpreter::FromState(L);
  int pushed = 0;
  if (!ScriptPrompt(L, host.GetDialogs(), host, context->ownerWindow, pushed))
    return Cancelled(L, *context);
  return pushed;
}

int FontDlg(lua_State* L) {
  TLuaRunContext* context = DialogContext(L);
  TScriptFontChoice choice;
  choice.face = CutToCharacters(luaL_optstring(L, 1, ""), 31);
  const double size = luaL_optnumber(L, 2, 1);
  if (!(size > 0 && size <= 500)) return luaL_argerror(L, 2, "size out of range");
  choice.style = CutToCharacters(luaL_optstring(L, 3, ""), 32);
  if (context == nullptr) return NoWindow(L);
  // Scripts count sizes in units of 4 points.
  choice.points = size * 4;
  TKVTLuaInterpreter& host = TKVTLuaInterpreter::FromState(L);
  bool chosen = false;
  {
    TLuaStateLimits::TDialogTimeScope notCharged(host);
    chosen = host.GetDialogs().ShowFontChooser(choice, context->ownerWindow);
  }
  if (!chosen) return Cancelled(L, *context);
  lua_pushlstring(L, choice.face.data(), choice.face.size());
  // Tenths of points / 40, as the size unit of scripts.
  lua_pushnumber(L, std::round(choice.points * 10) / 40);
  lua_pushlstring(L, choice.style.data(), choice.style.size());
  return 3;
}

}  // namespace

int OpenKvtUiModule(lua_State* L) {
  const luaL_Reg functions[] = {{"msgbox", MsgBox},
                                {"askbox", AskBox},
                                {"prompt", Prompt},
                                {"fontdlg", FontDlg},
                                {nullptr, nullptr}};
  luaL_newlib(L, functions);
  return 1;
}

}  // namespace kvt
