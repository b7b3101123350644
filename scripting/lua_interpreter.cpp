#include "scripting/lua_interpreter.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "scripting/builtin_lua_texts.h"
#include "scripting/checked_string_library.h"
#include "scripting/kvt_module.h"
#include "scripting/protected_proxy.h"
#include "scripting/sandbox_base_library.h"
#include "scripting/script_files.h"
#include "scripting/utf8string_library.h"
#include "utils/alert_log.h"
#include "utils/debug_log.h"

namespace kvt {

namespace {

constexpr int kHookInstructions = 50;
constexpr char kGeneralFailure[] = "General script failure";
constexpr char kMemoryLimit[] = "Memory usage limit exceeded.";
constexpr char kToolboxFile[] = "kvttoolbox.lua";

// Thrown by the panic handler so a panic unwinds into the host instead of ending the program.
class TLuaPanic : public std::runtime_error {
public:
  TLuaPanic() : std::runtime_error("Lua panic error") {}
};

void CountHook(lua_State* L, lua_Debug*) { CheckScriptDeadline(L); }

}  // namespace

// Chains a run context for the length of a call and unchains it however the call ends.
class TKVTLuaInterpreter::TContextScope {
public:
  TContextScope(TKVTLuaInterpreter& host, TLuaRunContext& context) : host(host), context(context) {
    context.previous = host.current;
    context.serial = host.nextSerial++;
    host.current = &context;
  }
  ~TContextScope() { host.current = context.previous; }
  TContextScope(const TContextScope&) = delete;
  TContextScope& operator=(const TContextScope&) = delete;

private:
  TKVTLuaInterpreter& host;
  TLuaRunContext& context;
};

TKVTLuaInterpreter::TKVTLuaInterpreter(TAlertLog& alertLog, TScriptDialogs& dialogs,
                                       IFontCatalog& fonts, std::string programFolder,
                                       size_t memoryCap)
    : TLuaStateLimits(memoryCap),
      alertLog(alertLog),
      dialogs(dialogs),
      fonts(fonts),
      programFolder(std::move(programFolder)) {
  // Scripts get infinities and NaNs, never a trap: the platform's floating-point environment
  // has every exception masked, and nothing here unmasks one.
}

TKVTLuaInterpreter::~TKVTLuaInterpreter() { CloseState(); }

void TKVTLuaInterpreter::AddModule(const char* name, lua_CFunction open) {
  if (state == nullptr) modules.push_back({name, open});
}

void TKVTLuaInterpreter::AddMetatableHook(void (*hook)(lua_State*)) {
  if (state == nullptr) metatableHooks.push_back(hook);
}

int TKVTLuaInterpreter::BuildSandbox(lua_State* L) {
  auto* host = static_cast<TKVTLuaInterpreter*>(lua_touserdata(L, 1));
  lua_settop(L, 0);
  for (auto hook : host->metatableHooks) hook(L);
  RegisterKvtMetatables(L);

  // Lua's base library goes into the original globals, which the sandbox then leaves behind;
  // the sandbox's own _G takes only the allowed part of it.
  luaL_requiref(L, "_G", luaopen_base, 0);
  lua_pop(L, 1);
  OpenSandboxBaseLibrary(L);
  const int globals = lua_gettop(L);
  lua_pushcfunction(L, KvtDebug);
  lua_setfield(L, globals, "print");

  std::vector<TModule> libraries = {{"table", OpenCheckedTableLibrary},
                                    {"string", OpenCheckedStringLibrary},
                                    {"bit32", luaopen_bit32},
                                    {"math", luaopen_math},
                                    {"utf8string", OpenUtf8StringLibrary},
                                    {"kvt", OpenKvtModule}};
  libraries.insert(libraries.end(), host->modules.begin(), host->modules.end());
  libraries.push_back({"kvtplay", OpenKvtPlayModule});
  libraries.push_back({"kvtui", OpenKvtUiModule});
  for (const TModule& library : libraries) {
    luaL_requiref(L, library.name.c_str(), library.open, 0);
    if (library.name == "string") {
      // Strings' methods are the checked functions, and no script reaches their metatable.
      lua_pushliteral(L, "dump");
      lua_pushnil(L);
      lua_rawset(L, -3);
    }
    WrapInProtectedProxy(L, "module.", library.name.c_str(), false);
    lua_setfield(L, globals, library.name.c_str());
  }

  lua_pushvalue(L, globals);
  WrapInProtectedProxy(L, "module.", "_G", false);
  lua_pushvalue(L, -1);
  lua_setfield(L, globals, "_G");
  lua_rawseti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);

  for (const char* key : {":t:kvtUserObjList", ":t:kvtUserObjMethods", ":t:kvtUserBan",
                          ":t:kvtUserFTime"}) {
    lua_newtable(L);
    lua_setfield(L, LUA_REGISTRYINDEX, key);
  }
  lua_newuserdata(L, 4);
  if (luaL_newmetatable(L, "class.userPropTable")) {
    lua_pushliteral(L, "class.userPropTable");
    lua_setfield(L, -2, "__metatable");
  }
  lua_setmetatable(L, -2);
  lua_setfield(L, LUA_REGISTRYINDEX, ":ud:kvtUserPropTable");
  lua_sethook(L, CountHook, LUA_MASKCOUNT, kHookInstructions);
  return 0;
}

int TKVTLuaInterpreter::Panic(lua_State* L) {
  const char* text = lua_tostring(L, -1);
  DebugPrintf("PANIC: unprotected error in call to Lua API (%s)\n", text ? text : "");
  throw TLuaPanic();
}

void TKVTLuaInterpreter::CreateState() {
  if (state != nullptr || disabled) return;
  state = NewState();
  if (state == nullptr) return;
  lua_atpanic(state, &TKVTLuaInterpreter::Panic);
  try {
    TCapScope unlimited(*this, false);
    lua_pushcfunction(state, BuildSandbox);
    lua_pushlightuserdata(state, this);
    if (lua_pcall(state, 1, 0, 0) != LUA_OK) {
      ReportError(LUA_ERRRUN);
      CloseState();
      return;
    }
    LoadToolbox();
  } catch (const TLuaPanic&) {
    disabled = true;
  }
}

void TKVTLuaInterpreter::CloseState() {
  if (state != nullptr) {
    TCapScope unlimited(*this, false);
    // A panic may have left the state half-way through an operation: it is abandoned, not
    // closed.
    if (!disabled) lua_close(state);
    state = nullptr;
  }
  current = nullptr;
  failed = false;
  errorCount = 0;
  callCount = 0;
  ResetAllocationCount();
}

void TKVTLuaInterpreter::MarkFailed(const char* text) {
  if (!failed && text != nullptr) alertLog.AddLine(text);
  failed = true;
}

void TKVTLuaInterpreter::ClearBans() {
  if (state == nullptr || disabled) return;
  failed = false;
  try {
    TCapScope unlimited(*this, false);
    lua_newtable(state);
    lua_setfield(state, LUA_REGISTRYINDEX, ":t:kvtUserBan");
  } catch (const TLuaPanic&) {
    disabled = true;
  }
}

int TKVTLuaInterpreter::GetHeapKB() const {
  return static_cast<int>(GetBytesInUse() / 1024);
}

double TKVTLuaInterpreter::GetChurnRate() const {
  return callCount > 2 ? static_cast<double>(GetAllocationCount()) / static_cast<double>(callCount)
                       : 0.0;
}

void TKVTLuaInterpreter::ReportError(int status) {
  ++errorCount;
  if (status == LUA_ERRMEM) {
    lua_pop(state, 1);
    lastError = kMemoryLimit;
    alertLog.AddLine(kMemoryLimit);
    MarkFailed();
    // What the failed call left behind goes now, while the cap is lifted.
    lua_gc(state, LUA_GCCOLLECT, 0);
    return;
  }
  size_t length = 0;
  const char* text = lua_type(state, -1) == LUA_TSTRING ? lua_tolstring(state, -1, &length) : nullptr;
  lastError = text != nullptr && length > 0 ? std::string(text, length) : kGeneralFailure;
  alertLog.AddLine(lastError);
  lua_pop(state, 1);
}

int TKVTLuaInterpreter::CallProtected(int nargs, int nresults, TLuaRunContext* context,
                                      int64_t milliseconds) {
  if (IsUnavailable()) {
    if (state != nullptr && !disabled) lua_pop(state, nargs + 1);
    return LUA_ERRRUN;
  }
  try {
    TLuaRunContext initContext;
    TContextScope chain(*this, context != nullptr ? *context : initContext);
    TDeadlineScope deadline(*this, milliseconds);
    int status = LUA_OK;
    {
      TCapScope capped(*this, true);
      status = lua_pcall(state, nargs, nresults, 0);
    }
    if (status != LUA_OK) ReportError(status);
    return status;
  } catch (const TLuaPanic&) {
    disabled = true;
    return LUA_ERRRUN;
  }
}

int TKVTLuaInterpreter::RunText(std::string_view text, const char* chunkName,
                                TLuaRunContext* context, int nresults, std::string* error) {
  if (IsUnavailable()) {
    if (error) *error = failed ? kMemoryLimit : "The script host is not available.";
    return LUA_ERRRUN;
  }
  try {
    int status = LUA_OK;
    {
      TCapScope capped(*this, true);
      status = luaL_loadbufferx(state, text.data(), text.size(), chunkName, "t");
    }
    if (status == LUA_OK) {
      status = CallProtected(0, nresults, context);
    } else {
      ReportError(status);
    }
    if (status != LUA_OK && error != nullptr) *error = lastError;
    return status;
  } catch (const TLuaPanic&) {
    disabled = true;
    return LUA_ERRRUN;
  }
}

void TKVTLuaInterpreter::LoadToolbox() {
  std::string text;
  std::string name = "=" + std::string(kToolboxFile);
  if (!ReadProgramScript(programFolder, kToolboxFile, text)) {
    text = std::string(FindBuiltinLuaText(kToolboxFile));
  } else {
    name = "@" + std::string(kToolboxFile);
  }
  const int top = lua_gettop(state);
  if (RunText(text, name.c_str(), nullptr, 1) == LUA_OK) {
    TCapScope unlimited(*this, false);
    if (lua_istable(state, -1)) {
      WrapInProtectedProxy(state, "kvt.", "toolbox", false);
      lua_getfield(state, LUA_REGISTRYINDEX, "_LOADED");
      lua_getfield(state, -1, "kvt");
      lua_pushvalue(state, -3);
      lua_setfield(state, -2, "toolbox");
    } else {
      alertLog.AddLine("kvttoolbox failed to return a method table");
    }
  }
  lua_settop(state, top);
}

TKVTLuaInterpreter& TKVTLuaInterpreter::FromState(lua_State* L) {
  auto* host = dynamic_cast<TKVTLuaInterpreter*>(TLuaStateLimits::FromState(L));
  if (host == nullptr || host->state != L) luaL_error(L, "Failed KVTLua Sanity.");
  return *host;
}

TLuaRunContext& TKVTLuaInterpreter::CurrentContext(lua_State* L) {
  TKVTLuaInterpreter& host = FromState(L);
  if (host.current == nullptr) luaL_error(L, "Invalid kvtplugin context");
  return *host.current;
}

void TKVTLuaInterpreter::OnDeadlinePassed(lua_State* L) {
  luaL_error(L, "Execution limit exceeded.");
}

}  // namespace kvt
