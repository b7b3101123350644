#include "scripting/script_dialog_calls.h"

#include <string>

#include "scripting/lua_state_limits.h"
#include "scripting/script_numbers.h"
#include "scripting/utf8_decode.h"

namespace kvt {

namespace {

std::string CheckText(lua_State* L, int arg, const char* def, size_t chars) {
  size_t length = 0;
  const char* text = def != nullptr ? luaL_optlstring(L, arg, def, &length)
                                    : luaL_checklstring(L, arg, &length);
  return CutToCharacters(std::string_view(text, length), chars);
}

TScriptAnswer Show(TScriptDialogs& dialogs, TLuaStateLimits& limits, const TScriptMessage& message) {
  TLuaStateLimits::TDialogTimeScope notCharged(limits);
  return dialogs.ShowMessage(message);
}

}  // namespace

std::string CutToCharacters(std::string_view text, size_t chars) {
  const char* p = text.data();
  const char* end = p + text.size();
  uint32_t code = 0;
  for (size_t n = 0; n < chars && p < end; ++n) p += DecodeUtf8Char(p, end, code);
  return std::string(text.data(), static_cast<size_t>(p - text.data()));
}

TScriptAnswer ScriptMessageBox(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits,
                               void* owner) {
  TScriptMessage message;
  message.text = CheckText(L, 1, nullptr, kMaxDialogTextChars);
  message.caption = CheckText(L, 2, "Information", kMaxCaptionChars);
  message.buttons = TScriptButtons::kOkCancel;
  message.icon = TScriptIcon::kInformation;
  message.owner = owner;
  return Show(dialogs, limits, message);
}

TScriptAnswer ScriptAskBox(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits,
                           void* owner) {
  TScriptMessage message;
  message.text = CheckText(L, 1, nullptr, kMaxDialogTextChars);
  message.caption = CheckText(L, 2, "Question", kMaxCaptionChars);
  message.buttons = TScriptButtons::kYesNoCancel;
  message.icon = TScriptIcon::kQuestion;
  message.defaultButton = OptScriptInteger(L, 3, 1) == 2 ? 2 : 1;
  message.owner = owner;
  return Show(dialogs, limits, message);
}

bool ScriptPrompt(lua_State* L, TScriptDialogs& dialogs, TLuaStateLimits& limits, void* owner,
                  int& pushed) {
  TPromptRequest request;
  request.label = CheckText(L, 1, nullptr, kMaxDialogTextChars);
  const std::string type = CheckText(L, 2, "*", kMaxDialogTextChars);
  if (!ParsePromptType(type, request)) luaL_error(L, "Unrecognized prompt data type request.");
  switch (request.kind) {
    case TPromptKind::kText:
      request.text = CheckText(L, 3, "", kMaxDialogTextChars);
      break;
    case TPromptKind::kInteger:
    case TPromptKind::kReal:
      if (!lua_isnoneornil(L, 3)) request.initial[0] = luaL_checknumber(L, 3);
      break;
    case TPromptKind::kCoord:
      if (!lua_isnoneornil(L, 3)) request.initial[0] = luaL_checknumber(L, 3);
      if (!lua_isnoneornil(L, 4)) request.initial[1] = luaL_checknumber(L, 4);
      break;
    case TPromptKind::kList:
      if (lua_type(L, 3) == LUA_TNUMBER) {
        request.choice = static_cast<int>(
            CheckScriptIntegerIn(L, 3, 1, static_cast<int64_t>(request.entries.size()) + 1,
                                 "list choice out of range") - 1);
      } else if (!lua_isnoneornil(L, 3)) {
        const std::string initial = CheckText(L, 3, nullptr, kMaxDialogTextChars);
        for (size_t i = 0; i < request.entries.size(); ++i) {
          if (request.entries[i] == initial) request.choice = static_cast<int>(i);
        }
      }
      break;
  }
  ClampPromptInitial(request);
  TPromptValues values;
  {
    TLuaStateLimits::TDialogTimeScope notCharged(limits);
    if (!dialogs.ShowPrompt(request, values, owner)) return false;
  }
  luaL_checkstack(L, static_cast<int>(values.size()), "too many values");
  for (const TPromptValue& value : values) {
    if (const auto* text = std::get_if<std::string>(&value)) {
      const std::string cut = CutToCharacters(*text, kMaxDialogTextChars);
      lua_pushlstring(L, cut.data(), cut.size());
    } else {
      lua_pushnumber(L, std::get<double>(value));
    }
  }
  pushed = static_cast<int>(values.size());
  return true;
}

}  // namespace kvt
