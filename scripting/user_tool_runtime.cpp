#include "scripting/user_tool_runtime.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "notation/files/text/score_text_format.h"
#include "scripting/builtin_lua_texts.h"
#include "scripting/checked_string_library.h"
#include "scripting/gz_line_reader.h"
#include "scripting/kvt_module.h"
#include "scripting/lua_state_limits.h"
#include "scripting/script_clock.h"
#include "scripting/script_dialog_calls.h"
#include "scripting/script_dialogs.h"
#include "scripting/script_files.h"
#include "scripting/script_name_lists.h"
#include "scripting/utf8string_library.h"

namespace kvt {

namespace {

constexpr int kHookInstructions = 50;
constexpr int kFailureStatus = 1;
constexpr char kAborted[] = "Aborted by user request.";
constexpr const char* kChunks[] = {"kvttxt.lua", "kvtut.lua", "kvtut_shim.lua",
                                   "kvtut_sandbox.lua"};

class TRuntimePanic : public std::runtime_error {
public:
  TRuntimePanic() : std::runtime_error("Lua panic error") {}
};

// The runtime's state: its limits, its dialogs and its input.
class TRuntime final : public TLuaStateLimits {
public:
  TRuntime(const TUserToolRun& run, TScriptDialogs& dialogs)
      : TLuaStateLimits(run.memoryCap),
        run(run),
        dialogs(dialogs),
        input(run.inputFd, run.memoryCap),
        startMs(ScriptClockNowMs()) {}

  void OnDeadlinePassed(lua_State* L) override {
    TScriptMessage message;
    message.caption = "Script Execution";
    message.text = "This script has been runninig for a long time.\n\nDo you want to cancel the script?";
    message.buttons = TScriptButtons::kYesNo;
    message.icon = TScriptIcon::kQuestion;
    const TScriptAnswer answer = dialogs.ShowMessage(message);
    SetDeadline(run.questionMilliseconds);
    if (answer == TScriptAnswer::kYes) luaL_error(L, "Execution limits exceeded.\n");
  }

  // Every dialog gives the script a fresh period when it closes.
  void AfterDialog() { SetDeadline(run.questionMilliseconds); }

  const TUserToolRun& run;
  TScriptDialogs& dialogs;
  TGzLineReader input;
  int64_t startMs;
};

TRuntime& RuntimeOf(lua_State* L) {
  auto* runtime = dynamic_cast<TRuntime*>(TLuaStateLimits::FromState(L));
  if (runtime == nullptr) luaL_error(L, "Failed KVTLua Sanity.");
  return *runtime;
}

int GzReadLine(lua_State* L) {
  TRuntime& runtime = RuntimeOf(L);
  std::string line;
  switch (runtime.input.ReadLine(line)) {
    case TGzLineReader::TResult::kLine:
      lua_pushlstring(L, line.data(), line.size());
      return 1;
    case TGzLineReader::TResult::kEnd:
      lua_pushnil(L);
      return 1;
    case TGzLineReader::TResult::kDamaged:
      return luaL_error(L, "the input is damaged compressed data");
    case TGzLineReader::TResult::kTooLong:
      return luaL_error(L, "an input line is too long");
  }
  return 0;
}

int KvtVersion(lua_State* L) {
  lua_pushliteral(L, "2.75");
  return 1;
}

int MsgBox(lua_State* L) {
  TRuntime& runtime = RuntimeOf(L);
  const TScriptAnswer answer = ScriptMessageBox(L, runtime.dialogs, runtime, nullptr);
  runtime.AfterDialog();
  if (answer != TScriptAnswer::kOk) return luaL_error(L, kAborted);
  return 0;
}

int AskBox(lua_State* L) {
  TRuntime& runtime = RuntimeOf(L);
  const TScriptAnswer answer = ScriptAskBox(L, runtime.dialogs, runtime, nullptr);
  runtime.AfterDialog();
  if (answer == TScriptAnswer::kCancel) return luaL_error(L, kAborted);
  lua_pushinteger(L, answer == TScriptAnswer::kYes ? 1 : 0);
  return 1;
}

int Prompt(lua_State* L) {
  TRuntime& runtime = RuntimeOf(L);
  int pushed = 0;
  const bool entered = ScriptPrompt(L, runtime.dialogs, runtime, nullptr, pushed);
  runtime.AfterDialog();
  if (!entered) return luaL_error(L, kAborted);
  return pushed;
}

int Clock(lua_State* L) {
  lua_pushnumber(L, static_cast<lua_Number>(ScriptClockNowMs() - RuntimeOf(L).startMs) / 1000.0);
  return 1;
}

int OpenKvtut(lua_State* L) {
  const luaL_Reg functions[] = {{"kvtversion", KvtVersion}, {"msgbox", MsgBox},
                                {"askbox", AskBox},         {"prompt", Prompt},
                                {"clock", Clock},           {nullptr, nullptr}};
  luaL_newlib(L, functions);
  lua_pushinteger(L, 0);
  lua_setfield(L, -2, "status");
  return 1;
}

int OpenRuntimeKvt(lua_State* L) {
  lua_newtable(L);
  SetKvtVersionFields(L, -1);
  PushScriptNameLists(L, false);
  lua_setfield(L, -2, "txt");
  return 1;
}

void CountHook(lua_State* L, lua_Debug*) { CheckScriptDeadline(L); }

// Opens the libraries and sets the globals, in protected mode.
int SetUp(lua_State* L) {
  const TUserToolRun& run = *static_cast<const TUserToolRun*>(lua_touserdata(L, 1));
  lua_settop(L, 0);
  luaL_openlibs(L);
  lua_getglobal(L, "string");
  InstallCheckedStringFunctions(L, -1);
  lua_getglobal(L, "table");
  InstallCheckedTableFunctions(L, -1);
  lua_settop(L, 0);
  luaL_requiref(L, "utf8string", OpenUtf8StringLibrary, 1);
  luaL_requiref(L, "kvtut", OpenKvtut, 1);
  luaL_requiref(L, "kvt", OpenRuntimeKvt, 1);
  lua_settop(L, 0);

  lua_createtable(L, static_cast<int>(run.arguments.size()), 1);
  lua_pushlstring(L, run.scriptPath.data(), run.scriptPath.size());
  lua_rawseti(L, -2, 0);
  for (size_t i = 0; i < run.arguments.size(); ++i) {
    lua_pushlstring(L, run.arguments[i].data(), run.arguments[i].size());
    lua_rawseti(L, -2, static_cast<int>(i + 1));
  }
  lua_setglobal(L, "arg");
  lua_pushcfunction(L, GzReadLine);
  lua_setglobal(L, "gzreadline");
  return 0;
}

// Runs one chunk: its override from the program folder, else the built-in text. False after
// an error, whose text has gone to the error stream.
bool RunChunk(lua_State* L, const TUserToolRun& run, const char* name) {
  std::string text;
  std::string chunkName = std::string("@") + name;
  if (!ReadProgramScript(run.programFolder, name, text)) {
    text = std::string(FindBuiltinLuaText(name));
    chunkName = std::string("=") + name;
  }
  int status = luaL_loadbufferx(L, text.data(), text.size(), chunkName.c_str(), "t");
  if (status == LUA_OK) {
    // The score text's two product words, so the scripts know the frame lines.
    lua_pushstring(L, kScoreTextProductWord);
    lua_pushstring(L, kScoreTextProductWordAlt);
    status = lua_pcall(L, 2, 0, 0);
  }
  if (status == LUA_OK) return true;
  const char* message = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : nullptr;
  if (status == LUA_ERRMEM) message = "Memory usage limit exceeded.";
  if (run.errorOut != nullptr) {
    std::fputs(message != nullptr ? message : "General script failure", run.errorOut);
    std::fputc('\n', run.errorOut);
    std::fflush(run.errorOut);
  }
  lua_pop(L, 1);
  return false;
}

// kvtut.status as an exit status, cut to a whole number; 0 when it is not a number; 1 for
// anything that would not survive as an exit status (256 would end as 0).
int ToolStatus(lua_State* L) {
  lua_getglobal(L, "kvtut");
  if (!lua_istable(L, -1)) return 0;
  lua_getfield(L, -1, "status");
  if (lua_type(L, -1) != LUA_TNUMBER) return 0;
  const double status = lua_tonumber(L, -1);
  if (!std::isfinite(status) || status < 0 || status >= 256) return kFailureStatus;
  return static_cast<int>(status);
}

int Panic(lua_State*) { throw TRuntimePanic(); }

}  // namespace

int RunUserToolRuntime(const TUserToolRun& run) {
  TNullScriptDialogs noDisplay;
  TRuntime runtime(run, run.dialogs != nullptr ? *run.dialogs : noDisplay);
  lua_State* L = runtime.NewState();
  if (L == nullptr) return kFailureStatus;
  lua_atpanic(L, Panic);
  int result = kFailureStatus;
  try {
    lua_pushcfunction(L, SetUp);
    lua_pushlightuserdata(L, const_cast<TUserToolRun*>(&run));
    if (lua_pcall(L, 1, 0, 0) != LUA_OK) {
      if (run.errorOut != nullptr) std::fputs("The tool runtime could not start.\n", run.errorOut);
      lua_close(L);
      return kFailureStatus;
    }
    runtime.SetDeadline(run.questionMilliseconds);
    lua_sethook(L, CountHook, LUA_MASKCOUNT, kHookInstructions);
    bool ok = true;
    for (const char* name : kChunks) {
      if (!(ok = RunChunk(L, run, name))) break;
    }
    result = ok ? ToolStatus(L) : kFailureStatus;
    lua_close(L);
    // A result that did not reach standard output whole is no success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      if (run.errorOut != nullptr) std::fputs("The tool's output could not be written.\n", run.errorOut);
      result = kFailureStatus;
    }
  } catch (const TRuntimePanic&) {
    // The state may be half-way through an operation: it is abandoned, and the tool failed.
    result = kFailureStatus;
  }
  return result;
}

}  // namespace kvt
