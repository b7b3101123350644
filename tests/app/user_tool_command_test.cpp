// "kvt2 -kvtut": the built program runs user tools on piped score text.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "scripting/builtin_lua_texts.h"
#include "tests/utils/process_runner.h"
#include "tests/utils/temp_folder.h"
#include "tests/utils/virtual_display.h"
#include "utils/flat_ram_stream.h"

namespace kvt {
namespace {

constexpr char kIdentityTool[] =
    "kvtut.setlevel(tonumber(arg[1]) or 2)\n"
    "kvtut.writeline(kvtut.getprop('StartingLine'))\n"
    "for item in kvtut.items() do kvtut.writeline(item) end\n"
    "kvtut.writeline(kvtut.getprop('EndingLine'))\n";

class UserToolCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    example = TTempFolder::ReadFile(std::string(KVT_EXAMPLES_DIR) + "/example.kvttxt");
    ASSERT_FALSE(example.empty());
    TTempFolder::WriteFile(input, example);
  }

  std::string Tool(const std::string& name, const std::string& text) {
    const std::string path = folder / name;
    TTempFolder::WriteFile(path, text);
    return path;
  }

  test::TProcessResult Run(const std::vector<std::string>& arguments, const std::string& stdinPath,
                           std::vector<std::string> env = {}, const std::string& program = KVT2_EXECUTABLE) {
    std::vector<std::string> argv = {program, "-kvtut"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    // A private single-instance folder: a start that falls through to the editor never hands
    // its arguments to an editor running on this machine.
    env.push_back("XDG_CONFIG_HOME=" + folder.Path());
    env.push_back("XDG_RUNTIME_DIR=" + folder.Path());
    bool hasDisplay = false;
    for (const auto& e : env) hasDisplay |= e.rfind("DISPLAY=", 0) == 0;
    if (!hasDisplay) env.insert(env.end(), {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
    return test::RunProcess(argv, env, stdinPath);
  }

  // The score text as the writer gives it after reading `text` (empty when it does not read).
  static std::string Canonical(std::string text) {
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    TScoreLoadResult result = ReadScoreText(in, TServices{});
    if (!result.score) return std::string();
    TKRVFlatRamStream out(1 << 16, 1 << 16);
    WriteScoreText(out, *result.score);
    std::string text2(static_cast<size_t>(out.Size()), '\0');
    out.Seek(0);
    out.Read(text2.data(), static_cast<int>(text2.size()));
    return text2;
  }

  TTempFolder folder;
  std::string example;
  std::string input = folder / "in.kvttxt";
};

TEST_F(UserToolCommandTest, IdentityToolGivesBackTheSameScorePlainOrCompressed) {
  const std::string tool = Tool("identity.lua", kIdentityTool);
  const std::string gz = folder / "in.kvttxt.gz";
  ASSERT_EQ(test::RunProcess({"/bin/sh", "-c", "gzip -c '" + input + "' > '" + gz + "'"}).exitCode, 0);
  for (const char* level : {"1", "2"}) {
    const auto plain = Run({tool, level}, input);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(Canonical(plain.out), Canonical(example)) << "level " << level;
    EXPECT_FALSE(Canonical(example).empty());
    const auto packed = Run({tool, level}, gz);
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(packed.out, plain.out) << "level " << level;
  }
}

TEST_F(UserToolCommandTest, ExitStatusFollowsTheToolAndStaysWithinAByte) {
  struct Case {
    const char* body;
    int exitCode;
  } cases[] = {
      {"", 0},
      {"kvtut.status = 99", 99},
      {"kvtut.status = 255", 255},
      {"kvtut.status = 256", 1},  // would end as 0
      {"kvtut.status = -1", 1},
      {"kvtut.status = 0/0", 1},
      {"kvtut.status = 1/0", 1},
      {"kvtut.status = 2.5", 2},
      {"kvtut.status = 255.5", 255},
      {"kvtut.status = 'seven'", 0},
      {"error('tool failed')", 1},
  };
  for (const Case& c : cases) {
    const auto run = Run({Tool("status.lua", c.body)}, input);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.body << "\n" << run.err;
  }
  const auto failed = Run({Tool("fail.lua", "error('tool failed')")}, input);
  EXPECT_NE(failed.err.find("tool failed\n"), std::string::npos) << failed.err;
}

TEST_F(UserToolCommandTest, DamagedOrCutInputIsAFailure) {
  const std::string tool = Tool("identity.lua", kIdentityTool);
  const std::string gz = folder / "in.gz";
  ASSERT_EQ(test::RunProcess({"/bin/sh", "-c", "gzip -c '" + input + "' | head -c 300 > '" + gz + "'"}).exitCode, 0);
  const auto damaged = Run({tool}, gz);
  EXPECT_EQ(damaged.exitCode, 1) << damaged.err;
  const std::string cut = folder / "cut.kvttxt";
  TTempFolder::WriteFile(cut, example.substr(0, example.size() / 2));
  const auto noEnd = Run({tool}, cut);
  EXPECT_EQ(noEnd.exitCode, 1);
  EXPECT_NE(noEnd.err.find("ending line"), std::string::npos) << noEnd.err;
  const std::string empty = folder / "empty.kvttxt";
  TTempFolder::WriteFile(empty, "#/File: x\n");
  const auto noHeader = Run({tool}, empty);
  EXPECT_EQ(noHeader.exitCode, 1);
  EXPECT_NE(noHeader.err.find("kvttxt required header not found"), std::string::npos) << noHeader.err;
}

TEST_F(UserToolCommandTest, OverridesComeFromTheProgramFolderNeverTheCurrentOne) {
  const std::string bin = folder / "bin";
  const std::string cwd = folder / "cwd";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(cwd);
  const std::string program = bin + "/kvt2";
  std::filesystem::copy_file(KVT2_EXECUTABLE, program);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  const std::string builtin(FindBuiltinLuaText("kvttxt.lua"));
  const std::string tool = Tool("origin.lua", "kvtut.writeline(tostring(kvtut.origin))");
  TTempFolder::WriteFile(cwd + "/kvttxt.lua", "kvttxt = {origin = 'current'}");
  TTempFolder::WriteFile(cwd + "/kvtut_sandbox.lua", "os.exit(42)");

  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(cwd);
  const auto builtinRun = Run({tool}, input, {}, program);
  TTempFolder::WriteFile(bin + "/kvttxt.lua", builtin + "\nkvttxt.origin = 'program'\n");
  const auto overridden = Run({tool}, input, {}, program);
  std::filesystem::current_path(saved);

  EXPECT_EQ(builtinRun.exitCode, 0) << builtinRun.err;
  EXPECT_EQ(builtinRun.out, "nil\n");
  EXPECT_EQ(overridden.exitCode, 0) << overridden.err;
  EXPECT_EQ(overridden.out, "program\n");
}

TEST_F(UserToolCommandTest, DialogsWithoutADisplayAreCancelled) {
  struct Case {
    const char* body;
    std::vector<std::string> env;
  } cases[] = {
      {"kvtut.msgbox('Continue?')", {}},
      {"kvtut.askbox('Continue?')", {}},
      {"kvtut.prompt('Name', '*', 'x')", {}},
      {"kvtut.msgbox('Continue?')", {"DISPLAY=:1", "KVT_NONINTERACTIVE=1"}},
  };
  for (const Case& c : cases) {
    const auto run = Run({Tool("box.lua", c.body)}, input, c.env);
    EXPECT_EQ(run.exitCode, 1) << c.body;
    EXPECT_NE(run.err.find("Aborted by user request."), std::string::npos) << run.err;
  }
}

TEST_F(UserToolCommandTest, ArgumentsReachTheToolAndAMissingScriptIsNoTool) {
  const auto run = Run({Tool("args.lua", "kvtut.writeline(arg[0]:match('[^/]*$'), ' ', #arg, ' ', arg[1], ' ', arg[2])"), "one", "two words"}, input);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "args.lua 2 one two words\n");
  // "-kvtut" with nothing (or nothing usable) after it: the normal start.
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{}, {""}}) {
    const auto plain = Run(arguments, input);
    EXPECT_NE(plain.err.find("usage"), std::string::npos) << plain.err;
  }
}

// A prompt answered through a real display: Xvfb, and xdotool typing into the dialog.
TEST_F(UserToolCommandTest, PromptUnderAVirtualDisplay) {
  if (!test::TVirtualDisplay::IsAvailable()) GTEST_SKIP() << "Xvfb and xdotool are needed";
  test::TVirtualDisplay screen;
  ASSERT_TRUE(screen.Start()) << "Xvfb did not start";

  const std::string tool = Tool("prompt.lua", "kvtut.writeline(kvtut.prompt('Your name', '*', 'abc'))");
  test::TProcessResult run;
  std::thread runner([&] { run = Run({tool}, input, {screen.DisplaySetting(), "QT_QPA_PLATFORM=xcb"}); });
  const std::string window = screen.WaitForWindow("User Prompt", 200);
  if (!window.empty()) {
    screen.Xdotool({"windowfocus", "--sync", window});
    screen.Xdotool({"type", "--delay", "20", "def"});
    screen.Xdotool({"key", "Return"});
  }
  runner.join();
  ASSERT_FALSE(window.empty()) << "no prompt window appeared: " << run.err;
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "abcdef\n");
}

}  // namespace
}  // namespace kvt
