#include "app/command_line_tool.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include "app/command_line_convert.h"
#include "app/program_entry.h"
#include "tests/app/convert_fixture.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

// A FILE that collects what is written to it.
class TCapture {
public:
  TCapture() : file(open_memstream(&data, &size)) {}
  ~TCapture() {
    if (file != nullptr) fclose(file);
    free(data);
  }
  FILE* File() { return file; }
  std::string Text() {
    fflush(file);
    return std::string(data, size);
  }

private:
  char* data = nullptr;
  size_t size = 0;
  FILE* file;
};

TEST(CommandLineToolTest, ConvertOnlyAsTheFirstArgumentWithSomethingAfterIt) {
  struct Case {
    std::vector<std::string> arguments;
    bool ran;
  } cases[] = {
      {{"kvt2"}, false},
      {{"kvt2", "-convert"}, false},
      {{"kvt2", "song.kvt", "-convert", "x.mid"}, false},
      {{"kvt2", "-conv", "a.kvt", "b.mid"}, false},
      {{"kvt2", "-converter", "a.kvt", "b.mid"}, false},
      {{"kvt2", "/convert", "a.kvt", "b.mid"}, false},
      {{"kvt2", "-convert", "a.kvt"}, true},
      {{"kvt2", "-CONVERT", "a.kvt", "b.kvt"}, true},
      {{"kvt2", "-Convert", "a.kvt", "b.kvt"}, true},
  };
  for (const Case& c : cases) {
    TCapture capture;
    int exitCode = 77;
    EXPECT_EQ(RunCommandLineTool(exitCode, c.arguments, capture.File()), c.ran)
        << c.arguments[1 % c.arguments.size()];
    if (c.ran) {
      EXPECT_EQ(exitCode, 2);
      EXPECT_EQ(capture.Text(), std::string(GetConvertUsageText()) + "\n");
    } else {
      EXPECT_EQ(exitCode, 77) << "untouched when no tool ran";
      EXPECT_EQ(capture.Text(), "");
    }
  }
}

TEST(CommandLineToolTest, MessagesAreShownWholeAndEndWithOneLineEnd) {
  TTempFolder folder;
  // Far longer than the 511 characters a message box once held.
  const std::string input = folder / (std::string(200, 'a') + "/" + std::string(200, 'b') + "/" +
                                      std::string(200, 'c') + ".kvt");
  TCapture capture;
  int exitCode = 0;
  ASSERT_TRUE(
      RunCommandLineTool(exitCode, {"kvt2", "-convert", input, folder / "x.mid"}, capture.File()));
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(capture.Text(), "Error: The input file \"" + input + "\" could not be found.\n");

  // A message that already ends with a line end gets no second one.
  const std::string garbage = folder / "garbage.kvt";
  test::WriteBinaryScore(folder / "ok.kvt", *test::MakeSmallScore(), true);
  std::string bytes = TTempFolder::ReadFile(folder / "ok.kvt");
  bytes.resize(bytes.size() - 8);
  TTempFolder::WriteFile(garbage, bytes);
  TCapture second;
  ASSERT_TRUE(
      RunCommandLineTool(exitCode, {"kvt2", "-convert", garbage, folder / "x.mid"}, second.File()));
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(second.Text(), "Error: The file \"" + garbage + "\" appears to be corrupt.\n");
}

TEST(CommandLineToolTest, SuccessShowsNothing) {
  TTempFolder folder;
  test::WriteTextScore(folder / "in.kvttxt", *test::MakeSmallScore());
  TCapture capture;
  int exitCode = 5;
  ASSERT_TRUE(RunCommandLineTool(
      exitCode, {"kvt2", "-convert", folder / "in.kvttxt", folder / "out.kvt"}, capture.File()));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(capture.Text(), "");
}

class ProgramEntryTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    // The settings store must never touch the real user's files.
    const char* old = getenv("XDG_CONFIG_HOME");
    hadConfigHome = old != nullptr;
    if (hadConfigHome) savedConfigHome = old;
    setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
  }
  void TearDown() override {
    if (hadConfigHome) {
      setenv("XDG_CONFIG_HOME", savedConfigHome.c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }

  int Run(std::vector<std::string> arguments) {
    TProgramStart start;
    start.arguments = std::move(arguments);
    start.programIniPath = ini;
    start.messageOut = capture.File();
    return ProgramEntry(start, sysInfo);
  }

  TTempFolder folder;
  std::string ini = folder / "kvt2.ini";
  TCapture capture;
  TSysInfo sysInfo;
  std::string savedConfigHome;
  bool hadConfigHome = false;
};

TEST_F(ProgramEntryTest, SettingsLocationFromTheProgramIni) {
  struct Case {
    const char* ini;  // null: no file
    const char* product;
  } cases[] = {
      {nullptr, "Tarlowmede Razadove 2"},
      {"[Config]\nRegKey=Test Product\n", "Test Product"},
      {"[config]\nregkey = \"Quoted Key\"\n", "Quoted Key"},
      {"[Config]\nOther=1\n", "Tarlowmede Razadove 2"},
      {"[Elsewhere]\nRegKey=Wrong\n", "Tarlowmede Razadove 2"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(ini);
    if (c.ini != nullptr) TTempFolder::WriteFile(ini, c.ini);
    Run({"kvt2"});
    EXPECT_EQ(sysInfo.GetCompanyName(), "Tarlowmede Software");
    EXPECT_EQ(sysInfo.GetProductName(), c.product) << (c.ini ? c.ini : "(none)");
  }
  EXPECT_EQ(test::ListFolder(folder.Path()), (std::vector<std::string>{"kvt2.ini"}))
      << "choosing the location writes nothing";
}

TEST_F(ProgramEntryTest, ProductKeyKeepsAtMost127Bytes) {
  // 126 ASCII bytes, then a two-byte character that would end at byte 128: cut before it.
  const std::string key = std::string(126, 'k') + "\xC3\xA9" + "tail";
  TTempFolder::WriteFile(ini, "[Config]\nRegKey=" + key + "\n");
  EXPECT_EQ(GetProgramIniString("RegKey", "default", "Config", ini), std::string(126, 'k'));
  // No program file known: no ini file, the default.
  EXPECT_EQ(GetProgramIniString("RegKey", "default", "Config", ""), "default");
}

TEST_F(ProgramEntryTest, ExitCodesWithoutAndWithTool) {
  EXPECT_EQ(Run({"kvt2"}), 0);
  EXPECT_EQ(capture.Text(), GetProgramUsageText());
  EXPECT_EQ(Run({"kvt2", "song.kvt"}), 2);
  EXPECT_EQ(Run({"kvt2", "-convert"}), 2);
  EXPECT_EQ(Run({"kvt2", "-convert", "a.kvt", "b.kvt"}), 2);
  EXPECT_EQ(Run({"kvt2", "-convert", folder / "missing.kvt", folder / "b.mid"}), 1);
  test::WriteTextScore(folder / "in.kvttxt", *test::MakeSmallScore());
  EXPECT_EQ(Run({"kvt2", "-convert", folder / "in.kvttxt", folder / "out.mid"}), 0);
}

TEST(ProgramIniPathTest, ExtensionReplacedByIni) {
  EXPECT_EQ(GetProgramIniPath("/opt/kvt/bin/kvt2"), "/opt/kvt/bin/kvt2.ini");
  EXPECT_EQ(GetProgramIniPath("/opt/kvt/kvt2.exe"), "/opt/kvt/kvt2.ini");
  EXPECT_EQ(GetProgramIniPath(""), "");
  // The test program itself: an absolute path whatever argv[0] says.
  EXPECT_EQ(GetProgramFilePath("whatever").front(), '/');
}

}  // namespace
}  // namespace kvt
