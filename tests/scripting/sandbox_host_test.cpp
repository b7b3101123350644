// The sandbox host: read-only globals, the cut-down libraries, limits, errors into the alert
// log, and the toolbox.

#include <filesystem>
#include <fstream>

#include "scripting/lua_interpreter.h"
#include "tests/scripting/sandbox_fixture.h"
#include "tests/utils/temp_folder.h"

namespace kvt::test {
namespace {

TEST_F(SandboxTest, GlobalsAreReadOnlyAndUnknownOnesReadAsNil) {
  EXPECT_EQ(Run("x = 1"), "test:1: 'x' is protected");
  EXPECT_EQ(Run("_G.y = 1"), "test:1: 'y' is protected");
  EXPECT_EQ(Run("string.upper = nil"), "test:1: 'upper' is protected");
  EXPECT_EQ(Run("\nkvt.txt.ClefType[1] = 'x'"), "test:2: '1' is protected");
  EXPECT_EQ(Eval("nosuchglobal"), "nil");
  EXPECT_EQ(Run("local t = {} t.x = 1 assert(t.x == 1)"), "");
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"test:1: 'x' is protected", "test:1: 'y' is protected",
                                      "test:1: 'upper' is protected", "test:2: '1' is protected"}));
}

TEST_F(SandboxTest, OnlyTheAllowedLibrariesAndFunctionsExist) {
  for (const char* name :
       {"pcall", "xpcall", "load", "loadstring", "loadfile", "dofile", "unpack", "rawset",
        "rawget", "rawequal", "rawlen", "collectgarbage", "require", "module", "io", "os",
        "debug", "package", "coroutine", "string.dump", "newproxy", "setfenv", "getfenv"}) {
    EXPECT_EQ(Eval(name), "nil") << name;
  }
  for (const char* name : {"assert", "error", "ipairs", "next", "pairs", "select", "tonumber",
                           "tostring", "type", "getmetatable", "setmetatable", "print",
                           "table.sort", "string.gsub", "bit32.band", "math.floor",
                           "utf8string.len", "kvt.debug", "kvtplay", "kvtui"}) {
    EXPECT_NE(Eval(name), "nil") << name;
  }
  EXPECT_EQ(Eval("_VERSION"), "Lua 5.2");
  EXPECT_EQ(Eval("_G == _G._G"), "true");
}

TEST_F(SandboxTest, PrintWritesOneLineToTheAlertLog) {
  EXPECT_EQ(Run("print('a', 1, nil, true)"), "");
  EXPECT_EQ(log.lines, (std::vector<std::string>{"a\t1\tnil\ttrue"}));
  EXPECT_NE(Run("print(setmetatable({}, {__tostring = function() return {} end}))").find(
                "'tostring' must return a string to 'debug'"),
            std::string::npos);
}

TEST_F(SandboxTest, MetatablesOfHostObjectsAreOutOfReach) {
  EXPECT_EQ(Eval("getmetatable(kvt)"), "module.kvt");
  EXPECT_EQ(Eval("getmetatable(_G)"), "module._G");
  EXPECT_EQ(Eval("getmetatable(kvt.txt)"), "kvt.txt");
  EXPECT_EQ(Eval("getmetatable('')"), "nil");
  EXPECT_EQ(Eval("getmetatable(kvt.ntnidx)"), "kvt.ntnidx");
  EXPECT_NE(Run("setmetatable(kvt, {})"), "");
  EXPECT_NE(Run("setmetatable(kvt.txt, {})"), "");
  // A script's own metatables work as usual, but never with a finalizer.
  EXPECT_EQ(Eval("setmetatable({}, {__index = function() return 5 end}).x"), "5");
  EXPECT_NE(Run("setmetatable({}, {__gc = function() end})").find("__gc"), std::string::npos);
  EXPECT_EQ(Eval("('abc'):upper()"), "ABC");
}

TEST_F(SandboxTest, IteratingAProxyNeverHandsOutTheWrappedTable) {
  // pairs gives keys and values; the state it passes on is the proxy itself.
  EXPECT_EQ(Eval("select(2, pairs(kvt)) == kvt"), "true");
  EXPECT_EQ(Eval("select(2, ipairs(kvt.txt.ClefType)) == kvt.txt.ClefType"), "true");
  EXPECT_EQ(Eval("#kvt.txt.ClefType > 3"), "true");
  EXPECT_EQ(Eval("kvt.txt.ClefType[1]"), "Treble");
  EXPECT_EQ(Run("local n = 0 for k, v in pairs(string) do n = n + 1 end assert(n > 10)"), "");
  // The step function refuses what is not a proxy.
  EXPECT_NE(Run("local step = pairs(kvt) step(kvt.ntnidx, nil)").find("invalid object"),
            std::string::npos);
  EXPECT_NE(Run("local step = pairs(kvt) step({}, nil)").find("invalid object"),
            std::string::npos);
}

TEST_F(SandboxTest, BytecodeIsNeverLoaded) {
  std::string error;
  const std::string bytecode = std::string("\x1bLua\x52\x00", 6) + "junk";
  EXPECT_NE(host->RunText(bytecode, "=bytecode", nullptr, 0, &error), 0);
  EXPECT_NE(error.find("binary"), std::string::npos) << error;
  EXPECT_EQ(Run("return 1"), "");
}

TEST_F(SandboxTest, EndlessLoopIsCutAndTheNextCallGetsAFreshDeadline) {
  EXPECT_NE(Run("while true do end").find("Execution limit exceeded."), std::string::npos);
  EXPECT_EQ(Run("local n = 0 for i = 1, 1000 do n = n + i end"), "");
  EXPECT_FALSE(host->IsFailed());
}

TEST_F(SandboxTest, MemoryCapFailsTheHostUntilClearBans) {
  MakeHost("", size_t{8} << 20);
  EXPECT_EQ(Run("local t = {} for i = 1, 1e9 do t[i] = i end"), "Memory usage limit exceeded.");
  EXPECT_TRUE(host->IsFailed());
  EXPECT_LE(host->GetBytesInUse(), size_t{8} << 20);
  EXPECT_NE(Run("return 1"), "");
  host->ClearBans();
  EXPECT_EQ(Run("local s = string.rep('x', 1000) assert(#s == 1000)"), "");
  // The cap itself stays where it was.
  EXPECT_EQ(Run("local s = string.rep('x', 64 * 1024 * 1024)"), "Memory usage limit exceeded.");
}

TEST_F(SandboxTest, ErrorsWithoutTextAreGeneralFailures) {
  EXPECT_EQ(Run("error({})"), "General script failure");
  EXPECT_EQ(Run("error()"), "General script failure");
  EXPECT_EQ(log.lines.back(), "General script failure");
  EXPECT_EQ(host->GetErrorCount(), 2);
}

TEST_F(SandboxTest, RunContextChainsAndReportsItsKind) {
  EXPECT_EQ(Eval("select(1, kvt.getRunContext()) .. ':' .. tostring(select(2, kvt.getRunContext()))"),
            "init:nil");
  struct Case {
    TLuaRunKind kind;
    const char* expected;
  } cases[] = {{TLuaRunKind::kEdit, "obj:edit"},     {TLuaRunKind::kPredraw, "obj:predraw"},
               {TLuaRunKind::kDraw, "obj:draw"},     {TLuaRunKind::kVPlay, "obj:vplay"},
               {TLuaRunKind::kPlay, "obj:play"},     {TLuaRunKind::kFetch, "obj:fetch"},
               {static_cast<TLuaRunKind>(9), "obj:nil"}};
  for (const Case& c : cases) {
    TLuaRunContext context;
    context.kind = c.kind;
    EXPECT_EQ(Eval("select(1, kvt.getRunContext()) .. ':' .. tostring(select(2, kvt.getRunContext()))",
                   &context),
              c.expected);
    EXPECT_EQ(host->GetCurrentContext(), nullptr);
  }
}

TEST_F(SandboxTest, AddPairsAndVersionFields) {
  EXPECT_EQ(Eval("table.concat({kvt.addPairs(1, 2, 3, nil, 5, 6)}, ',')"), "9,8");
  EXPECT_EQ(Eval("kvt.VERSION"), "2.75");
  EXPECT_EQ(Eval("kvt.VERSIONTEXT"), "Version 2.75");
  EXPECT_NE(Eval("kvt.addPairs('x')").find("number expected"), std::string::npos);
}

TEST(SandboxToolboxTest, ProgramFolderToolboxWinsAndABadOneIsLogged) {
  TTempFolder folder;
  TRecordingAlertLog log;
  TNullScriptDialogs dialogs;
  {
    TKVTLuaInterpreter host(log, dialogs, NullFontCatalog(), folder.Path());
    host.CreateState();
    EXPECT_EQ(host.RunText("assert(kvt.toolbox ~= nil) for k in pairs(kvt.toolbox) do error(k) end",
                           "=t", nullptr),
              0);
  }
  TTempFolder::WriteFile(folder / "kvttoolbox.lua", "return { answer = 42 }");
  {
    TKVTLuaInterpreter host(log, dialogs, NullFontCatalog(), folder.Path());
    host.CreateState();
    EXPECT_EQ(host.RunText("assert(kvt.toolbox.answer == 42)", "=t", nullptr), 0);
    EXPECT_NE(host.RunText("kvt.toolbox.answer = 1", "=t", nullptr), 0);
  }
  TTempFolder::WriteFile(folder / "kvttoolbox.lua", "return 7");
  {
    TKVTLuaInterpreter host(log, dialogs, NullFontCatalog(), folder.Path());
    host.CreateState();
    EXPECT_EQ(log.lines.back(), "kvttoolbox failed to return a method table");
    EXPECT_EQ(host.RunText("assert(kvt.toolbox == nil)", "=t", nullptr), 0);
  }
}

TEST(SandboxToolboxTest, ToolboxInTheCurrentFolderIsIgnored) {
  TTempFolder folder;
  TTempFolder::WriteFile(folder / "kvttoolbox.lua", "return { here = true }");
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  TRecordingAlertLog log;
  TNullScriptDialogs dialogs;
  TKVTLuaInterpreter host(log, dialogs, NullFontCatalog(), "");
  host.CreateState();
  std::filesystem::current_path(saved);
  EXPECT_EQ(host.RunText("assert(kvt.toolbox.here == nil)", "=t", nullptr), 0);
}

}  // namespace
}  // namespace kvt::test
