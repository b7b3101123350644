// The desktop's execute commands.

#include "app/dde_execute.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(DdeExecuteTest, Commands) {
  struct Case {
    const char* text;
    bool valid;
    int command;
    const char* path;
  } cases[] = {
      {"[open(\"/home/a/song.kvt\")]", true, kDdeOpen, "/home/a/song.kvt"},
      {"[Open(/home/a/song.kvt)]", true, kDdeOpen, "/home/a/song.kvt"},
      {" \t[OPEN(\"/a b/c.kvt\")]\r\n", true, kDdeOpen, "/a b/c.kvt"},
      {"[Null()]", true, kDdeNull, ""},
      {"[open(\"/home/a/song.kvt\"]", false, -1, ""},  // no closing parenthesis
      {"open(\"/a.kvt\")", false, -1, ""},             // no brackets
      {"[Open(\"/a.kvt\")", false, -1, ""},
      {"[Print(\"/a.kvt\")]", false, -1, ""},
      {"[Open(\"/a(1).kvt\")]", true, kDdeOpen, "/a(1).kvt"},  // the last ')' ends it
      {"[Open(\"/a.kvt\" )]", true, kDdeOpen, "/a.kvt\" "},    // only a quote right before ')'
      {"", false, -1, ""},
      {"[]", false, -1, ""},
  };
  for (const Case& c : cases) {
    int command = -1;
    std::string path;
    EXPECT_EQ(ParseDdeExecute(c.text, command, path), c.valid) << c.text;
    EXPECT_EQ(command, c.command) << c.text;
    EXPECT_EQ(path, c.path) << c.text;
  }
}

TEST(DdeExecuteTest, OverlongCommandIsRefused) {
  int command = -1;
  std::string path;
  const std::string name(kMaxDdeCommandBytes, 'a');
  EXPECT_FALSE(ParseDdeExecute("[Open(/" + name + ")]", command, path));
  EXPECT_TRUE(
      ParseDdeExecute("[Open(/" + name.substr(0, kMaxDdeCommandBytes - 10) + ")]", command, path));
}

}  // namespace
}  // namespace kvt
