#pragma once
// Test support: Standard MIDI Files read back by an independent reader (mido, through
// data/smf_dump.py), in a fresh temporary folder that is removed afterwards.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kvt::test {

class SmfFileTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt-midi-export-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  // The reader's dump of the file: a first line "type=T ticks=D tracks=N", then per track a
  // line "track i" and one line per event, "tick description". Fails the test when the reader
  // refuses the file.
  static std::string Dump(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 '" KVT_TEST_DATA_DIR "/smf_dump.py' '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
      ADD_FAILURE() << "cannot run " << command;
      return {};
    }
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << "the reader refused the file (is python3-mido installed?)";
    return out;
  }

  // The files of the folder, by name.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder;
};

}  // namespace kvt::test
