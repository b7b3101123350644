#include "tools/version_text.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(VersionTextTest, StagesAndBuilds) {
  const struct {
    int version, stage, build;
    const char* text;
  } cases[] = {
      {587, 2, 0, "2.75"},        {587, 2, 3, "2.75.3"},
      {587, 1, 0, "2.75 Beta 1"}, {587, 0, 4, "2.75 Public Preview 5"},
      {517, 2, 0, "2.5"},         {512, 9, 0, "2.0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatVersionText(c.version, c.stage, c.build), c.text) << c.version;
}

}  // namespace
}  // namespace kvt
