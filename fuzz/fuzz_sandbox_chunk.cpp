// Runs arbitrary bytes as a chunk in the sandbox (seeds: the hostile corpus). Whatever the
// chunk does, the call returns, the state stays within its cap, and a benign call succeeds
// afterwards.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "scripting/lua_interpreter.h"
#include "scripting/script_dialogs.h"
#include "utils/alert_log.h"
#include "utils/font_description.h"

namespace {

constexpr size_t kCap = size_t{16} << 20;

struct TSandbox {
  kvt::TNullAlertLog log;
  kvt::TNullScriptDialogs dialogs;
  kvt::TKVTLuaInterpreter host{log, dialogs, kvt::NullFontCatalog(), "", kCap};
  TSandbox() { host.CreateState(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TSandbox sandbox;
  kvt::TKVTLuaInterpreter& host = sandbox.host;
  const std::string chunk(reinterpret_cast<const char*>(data), size);
  host.RunText(chunk, "=fuzz", nullptr);
  if (host.GetBytesInUse() > kCap) std::abort();
  if (host.IsFailed()) host.ClearBans();
  if (host.RunText("local t = {} for i = 1, 100 do t[i] = tostring(i) end assert(#t == 100)",
                   "=benign", nullptr) != 0)
    std::abort();
  return 0;
}
