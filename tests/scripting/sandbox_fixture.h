#pragma once
// A sandbox host with a recording alert log, no dialogs and no fonts, and helpers that run a
// chunk and give its error text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scripting/lua_interpreter.h"
#include "scripting/script_dialogs.h"
#include "utils/alert_log.h"
#include "utils/font_description.h"

namespace kvt::test {

class TRecordingAlertLog final : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class SandboxTest : public ::testing::Test {
protected:
  // Makes the host (and its state) with the given program folder and memory cap.
  void MakeHost(const std::string& programFolder = "", size_t cap = kSandboxMemoryCap) {
    host = std::make_unique<TKVTLuaInterpreter>(log, dialogs, NullFontCatalog(), programFolder,
                                                cap);
    host->CreateState();
    ASSERT_NE(host->GetState(), nullptr);
  }
  void SetUp() override { MakeHost(); }

  // Runs the chunk; "" on success, else the error text.
  std::string Run(const std::string& chunk, TLuaRunContext* context = nullptr) {
    std::string error;
    const int status = host->RunText(chunk, "=test", context, 0, &error);
    return status == 0 ? std::string() : (error.empty() ? "<failed>" : error);
  }
  // Runs the chunk and gives its one result through tostring ("<error: ...>" on error).
  std::string Eval(const std::string& expression, TLuaRunContext* context = nullptr) {
    std::string error;
    lua_State* L = host->GetState();
    const int top = lua_gettop(L);
    if (host->RunText("return tostring(" + expression + ")", "=test", context, 1, &error) != 0)
      return "<error: " + error + ">";
    std::string result = lua_tostring(L, -1) ? lua_tostring(L, -1) : "<nil>";
    lua_settop(L, top);
    return result;
  }

  TRecordingAlertLog log;
  TNullScriptDialogs dialogs;
  std::unique_ptr<TKVTLuaInterpreter> host;
};

}  // namespace kvt::test
