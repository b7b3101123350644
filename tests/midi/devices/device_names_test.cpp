#include "midi/devices/device_names.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(DeviceNamesTest, NamesAreCutOnACharacterBoundaryAndMadeValid) {
  const struct {
    std::string raw, fitted;
  } table[] = {
      {"Synth", "Synth"},
      {std::string(40, 'a'), std::string(31, 'a')},
      // 30 ASCII bytes and a two-byte character that would end at byte 32: cut before it.
      {std::string(30, 'b') + "\xC3\xA9", std::string(30, 'b')},
      {"Bad \xFF name", "Bad \xEF\xBF\xBD name"},
  };
  for (const auto& row : table) EXPECT_EQ(FitDeviceName(row.raw), row.fitted);
}

TEST(DeviceNamesTest, DuplicatesGetANumberWithinTheLimit) {
  const std::string longName(35, 'x');
  const std::vector<std::string> names =
      MakeDeviceNamesUnique({"Port", "Port", "Port", longName, longName});
  EXPECT_EQ(names[0], "Port");
  EXPECT_EQ(names[1], "Port (2)");
  EXPECT_EQ(names[2], "Port (3)");
  EXPECT_EQ(names[3], std::string(31, 'x'));
  EXPECT_EQ(names[4], std::string(27, 'x') + " (2)");
}

}  // namespace
}  // namespace kvt
