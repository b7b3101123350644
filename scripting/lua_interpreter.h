#pragma once
// TKVTLuaInterpreter: the editor's Lua host and its sandbox. One host lives as long as the
// application object; the user-object plug-ins, the script modules (kvt, kvtplay, kvtui, the
// modules added through AddModule) and the toolbox all run in its one state.
//
// The sandbox:
// - globals are a read-only proxy: a chunk can read every global and create or change none
//   ("'x' is protected");
// - the base library is cut down (sandbox_base_library.h); table, string, bit32, math and
//   utf8string are opened, each library as a read-only proxy "module.<name>"; no io, os,
//   package, coroutine or debug; print writes to the alert log;
// - chunks load as text only (the Lua 5.2 loader runs bytecode unchecked);
// - the state's allocator holds it below its memory cap (64 MiB by default); a call that
//   meets the cap ends with "Memory usage limit exceeded." and the host goes into its failed
//   state: every call is refused until ClearBans;
// - every call has a deadline (500 ms for CallProtected), checked every 50 instructions and by
//   every C function that can run long: "Execution limit exceeded.";
// - script errors never leave a call: the text goes to the alert log, the state stays usable.
//   A panic (an error outside protected mode, which the host's own code never causes) turns
//   the host off for good; it never ends the program.
//
// Overrides of built-in scripts ("kvttoolbox.lua") are read from the program folder only.
// The host and its state belong to the UI thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <lua.hpp>

#include "scripting/lua_run_context.h"
#include "scripting/lua_state_limits.h"

namespace kvt {

class TAlertLog;
class TScriptDialogs;
class IFontCatalog;
class TKVVariant;

inline constexpr size_t kSandboxMemoryCap = size_t{64} << 20;
inline constexpr int64_t kSandboxCallMilliseconds = 500;

class TKVTLuaInterpreter final : public TLuaStateLimits {
public:
  // The services must outlive the host. programFolder: where "kvttoolbox.lua" may override
  // the built-in toolbox (empty: built-ins only).
  TKVTLuaInterpreter(TAlertLog& alertLog, TScriptDialogs& dialogs, IFontCatalog& fonts,
                     std::string programFolder, size_t memoryCap = kSandboxMemoryCap);
  ~TKVTLuaInterpreter() override;

  // A module opened into the sandbox after kvt (before kvtplay and kvtui): name and opener,
  // which pushes the module table. Only before CreateState.
  void AddModule(const char* name, lua_CFunction open);
  // Code that registers metatables of host objects at state creation. Only before CreateState.
  void AddMetatableHook(void (*hook)(lua_State*));

  // Builds the sandbox state; nothing when one exists.
  void CreateState();
  // Closes the state and clears the failed flag and the counters.
  void CloseState();
  lua_State* GetState() const { return state; }

  // No state, failed, or turned off by a panic: every entry then returns its neutral result.
  bool IsUnavailable() const { return state == nullptr || failed || disabled; }
  bool IsFailed() const { return failed; }
  // Writes text (when given and the flag was clear) to the alert log; sets the failed flag.
  void MarkFailed(const char* text = nullptr);
  // Clears the failed flag (the memory cap stays) and every suspended type.
  void ClearBans();

  int GetHeapKB() const;
  int GetErrorCount() const { return errorCount; }
  // The text of the last error reported.
  const std::string& GetLastError() const { return lastError; }
  int64_t GetCallCount() const { return callCount; }
  void CountCall() { ++callCount; }
  // Allocations per method call; 0 for at most 2 calls.
  double GetChurnRate() const;

  // Calls the function below nargs arguments on the stack, protected, with a kind-0 run
  // context (or `context`) and its own deadline. On error the text (or "General script
  // failure") goes to the alert log and is popped; returns the Lua status (0 success, with the
  // results on the stack).
  int CallProtected(int nargs, int nresults, TLuaRunContext* context = nullptr,
                    int64_t milliseconds = kSandboxCallMilliseconds);
  // Loads text (text only, never bytecode) as a chunk named chunkName and calls it as
  // CallProtected does, leaving nresults results on the stack on success. error, when given,
  // receives the error text.
  int RunText(std::string_view text, const char* chunkName, TLuaRunContext* context,
              int nresults = 0, std::string* error = nullptr);

  // The current run context, or null when no call is in progress.
  TLuaRunContext* GetCurrentContext() const { return current; }

  TAlertLog& GetAlertLog() const { return alertLog; }
  TScriptDialogs& GetDialogs() const { return dialogs; }
  IFontCatalog& GetFonts() const { return fonts; }

  // For module functions: the host of L ("Failed KVTLua Sanity." when L is not a host's
  // state), and its current run context ("Invalid kvtplugin context" when none).
  static TKVTLuaInterpreter& FromState(lua_State* L);
  static TLuaRunContext& CurrentContext(lua_State* L);

  void OnDeadlinePassed(lua_State* L) override;

  // Variants and Lua values (the method calls of user objects).
  static void PushVariant(lua_State* L, const TKVVariant& value);
  static void ToVariant(lua_State* L, int index, TKVVariant& value);

private:
  struct TModule {
    std::string name;
    lua_CFunction open;
  };
  class TContextScope;
  static int BuildSandbox(lua_State* L);
  static int Panic(lua_State* L);
  void LoadToolbox();
  void ReportError(int status);

  TAlertLog& alertLog;
  TScriptDialogs& dialogs;
  IFontCatalog& fonts;
  std::string programFolder;
  std::vector<TModule> modules;
  std::vector<void (*)(lua_State*)> metatableHooks;

  lua_State* state = nullptr;
  TLuaRunContext* current = nullptr;
  uint64_t nextSerial = 1;
  bool failed = false;
  bool disabled = false;
  int errorCount = 0;
  int64_t callCount = 0;
  std::string lastError;
};

}  // namespace kvt
