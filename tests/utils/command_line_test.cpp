#include "utils/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvt {
namespace {

std::vector<std::string> ArgumentsOf(const TCommandLine& line) {
  std::vector<std::string> arguments;
  for (int i = 0; i < line.GetCount(); ++i) arguments.emplace_back(line.GetItem(i));
  return arguments;
}

TEST(CommandLineTest, SplitsArguments) {
  const struct {
    const char* text;
    std::vector<std::string> arguments;
  } cases[] = {
      {"kvt2 -convert \"My Song.kvt\" out.kvttxt", {"kvt2", "-convert", "My Song.kvt", "out.kvttxt"}},
      {"  a\t\tb  ", {"a", "b"}},
      {"\"\" a \"\"", {"a"}},
      {"ab\"c d\"e", {"ab", "c d", "e"}},
      {"\"unclosed quote", {"unclosed quote"}},
      {"", {}},
      {nullptr, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentsOf(TCommandLine(c.text)), c.arguments) << (c.text ? c.text : "(null)");
  }
}

TEST(CommandLineTest, KeepsAtMost128Arguments) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "a" + std::to_string(i) + " ";
  TCommandLine line(text.c_str());
  EXPECT_EQ(line.GetCount(), TCommandLine::kMaxArguments);
  EXPECT_STREQ(line.GetItem(127), "a127");
}

TEST(CommandLineTest, FirstNonOptionAndCaseInsensitiveSearch) {
  TCommandLine line("-c /x File.kvt other", '-');
  EXPECT_STREQ(line.GetFirstNonOption(), "/x");
  TCommandLine slashes("/a /b file", '/');
  EXPECT_STREQ(slashes.GetFirstNonOption(), "file");
  EXPECT_EQ(TCommandLine("-a -b").GetFirstNonOption(), nullptr);
  EXPECT_EQ(line.IndexOf("file.KVT"), 2);
  EXPECT_EQ(line.GetOptionChar(), '-');
}

}  // namespace
}  // namespace kvt
