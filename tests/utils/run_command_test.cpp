#include "utils/run_command.h"

#include "tests/utils/temp_folder.h"
#include "utils/file_utils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace kvt {
namespace {

class RunCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    input = folder / "in.txt";
    output = folder / "out.txt";
    error = folder / "err.txt";
    TTempFolder::WriteFile(input, "");
  }

  bool Run(const std::string& command, const TCommandCancelCallback& cancel = nullptr,
           int timeoutMs = kRunCommandTimeoutMs) {
    return RunCommand(command, input, output, error, &exitCode, cancel, timeoutMs);
  }
  std::string Output() const { return TTempFolder::ReadFile(output); }
  std::string Errors() const { return TTempFolder::ReadFile(error); }

  TTempFolder folder;
  std::string input, output, error;
  int exitCode = -1;
};

TEST_F(RunCommandTest, CatCopiesInputFileToOutputFile) {
  std::string data;
  for (int i = 0; i < 100000; ++i) data += static_cast<char>(i * 7);
  TTempFolder::WriteFile(input, data);
  ASSERT_TRUE(Run("cat"));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(Output(), data);
  EXPECT_EQ(Errors(), "");
}

TEST_F(RunCommandTest, ExitCodeIsReported) {
  ASSERT_TRUE(Run("sh -c \"exit 3\""));
  EXPECT_EQ(exitCode, 3);
}

TEST_F(RunCommandTest, ArgumentsReachTheProgramWithoutAShell) {
  ASSERT_TRUE(Run("printf \"%s|\" \"a b\" $HOME *.txt >x"));
  EXPECT_EQ(Output(), "a b|$HOME|*.txt|>x|");
  EXPECT_FALSE(FileExists(folder / "x"));
}

TEST_F(RunCommandTest, ErrorOutputGoesToTheErrorFile) {
  ASSERT_TRUE(Run("sh -c \"echo oops >&2; echo fine\""));
  EXPECT_EQ(Errors(), "oops\n");
  EXPECT_EQ(Output(), "fine\n");
}

TEST_F(RunCommandTest, TimeOutKillsTheCommandAndSaysSo) {
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Run("sh -c \"echo started >&2; sleep 10\"", nullptr, 200));
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(Errors(), std::string("started\n") + kRunTimedOutText)
      << "the text follows the command's own error output";
}

TEST_F(RunCommandTest, CancelCallbackAbortsTheCommand) {
  int calls = 0;
  int seenProcess = 0;
  auto cancel = [&](int processId) {
    seenProcess = processId;
    return ++calls < 3;
  };
  EXPECT_FALSE(Run("sleep 10", cancel));
  EXPECT_EQ(calls, 3);
  EXPECT_GT(seenProcess, 0);
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(Errors(), kRunAbortedText);
}

TEST_F(RunCommandTest, CancelCallbackLiftsTheTimeLimit) {
  int calls = 0;
  auto keepGoing = [&](int) {
    ++calls;
    return true;
  };
  EXPECT_TRUE(Run("sh -c \"sleep 0.3; exit 4\"", keepGoing, 10));
  EXPECT_EQ(exitCode, 4);
  EXPECT_GE(calls, 3);
  EXPECT_EQ(Errors(), "");
}

TEST_F(RunCommandTest, StartFailuresAreWrittenToTheErrorFile) {
  struct Case {
    std::string command, input, output;
    const char* text;
  } cases[] = {
      {"no-such-program-here", input, output, kRunStartFailedText},
      {"   ", input, output, kRunStartFailedText},
      {"cat", folder / "missing.txt", output, kRunInputFailedText},
      {"cat", folder.Path(), output, kRunInputFailedText},
      {"cat", input, folder / "missing/out.txt", kRunOutputFailedText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + " < " + c.input + " > " + c.output);
    exitCode = -1;
    EXPECT_FALSE(RunCommand(c.command, c.input, c.output, error, &exitCode));
    EXPECT_EQ(Errors(), c.text);
    EXPECT_EQ(exitCode, -1) << "no program ran";
  }
}

TEST_F(RunCommandTest, ErrorFileThatCannotBeCreatedStopsAtOnce) {
  EXPECT_FALSE(RunCommand("cat", input, output, folder / "missing/err.txt", &exitCode));
  EXPECT_FALSE(FileExists(output));
  EXPECT_EQ(exitCode, -1);
}

}  // namespace
}  // namespace kvt
