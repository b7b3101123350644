// Which start arguments are switches and which are paths.

#include "app/start_arguments.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(StartArgumentsTest, OnlyTheExactSwitchesAreSwitches) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> paths;
    int experimentation;
  } cases[] = {
      {"none", {}, {}, -1},
      {"play and close do nothing", {"/play", "/CLOSE"}, {}, -1},
      {"a path beside play", {"/play", "song.kvt"}, {"song.kvt"}, -1},
      {"absolute paths are never switches",
       {"/home/a/song.kvt", "/playlist"},
       {"/home/a/song.kvt", "/playlist"},
       -1},
      {"switches without case", {"/EnableExperimentation"}, {}, 1},
      {"the last experimentation switch wins",
       {"/enableexperimentation", "/DISABLEEXPERIMENTATION"},
       {},
       0},
      {"a blank in a name stays", {"/music/my songs/a b.kvt"}, {"/music/my songs/a b.kvt"}, -1},
      {"newinst beside a file is a path", {"/newinst", "a.kvt"}, {"/newinst", "a.kvt"}, -1},
      {"empty arguments are dropped", {"", "a.kvt", ""}, {"a.kvt"}, -1},
      {"a switch with more after it is a path", {"/play2"}, {"/play2"}, -1},
  };
  for (const Case& c : cases) {
    const TStartRequest request = WalkStartArguments(c.arguments);
    EXPECT_EQ(request.paths, c.paths) << c.name;
    EXPECT_EQ(request.experimentation, c.experimentation) << c.name;
  }
}

TEST(StartArgumentsTest, NewInstanceOnlyAloneAndWithItsCase) {
  EXPECT_TRUE(IsNewInstanceRequest({"/newinst"}));
  EXPECT_FALSE(IsNewInstanceRequest({"/NewInst"}));
  EXPECT_FALSE(IsNewInstanceRequest({"/newinst", "a.kvt"}));
  EXPECT_FALSE(IsNewInstanceRequest({}));
}

}  // namespace
}  // namespace kvt
