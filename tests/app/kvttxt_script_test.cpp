// The built-in score text library (scripting/lua/kvttxt.lua) under plain lua5.2: its checks,
// and the MIDI pitches its play context gives against the converter's MIDI file.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/utils/process_runner.h"
#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

const std::string kKvttxt = std::string(KVT_SOURCE_DIR) + "/scripting/lua/kvttxt.lua";
const std::string kData = KVT_TEST_DATA_DIR;

TEST(KvttxtScriptTest, ChecksPassUnderLua52) {
  const auto run = test::RunProcess({"/usr/bin/lua5.2", kData + "/kvttxt_checks.lua", kKvttxt});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "ok\n");
}

TEST(KvttxtScriptTest, NoteMidiPitchesMatchTheConvertersMidiFile) {
  TTempFolder folder;
  const std::string score = kData + "/pitch_walk.kvttxt";
  const std::string midi = folder / "walk.mid";
  const auto convert = test::RunProcess({KVT2_EXECUTABLE, "-convert", score, midi},
                                        {"DISPLAY=", "XDG_CONFIG_HOME=" + folder.Path()});
  ASSERT_EQ(convert.exitCode, 0) << convert.err;
  const auto dump = test::RunProcess({"/usr/bin/python3", KVT_SMF_DUMP_SCRIPT, midi});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  // The note-ons of the file, grouped by tick and sorted, as the script prints them.
  std::map<long, std::vector<int>> byTick;
  std::istringstream lines(dump.out);
  for (std::string line; std::getline(lines, line);) {
    long tick = 0;
    int channel = 0, note = 0, velocity = 0;
    if (std::sscanf(line.c_str(), "%ld note_on ch=%d note=%d vel=%d", &tick, &channel, &note, &velocity) == 4 &&
        velocity > 0)
      byTick[tick].push_back(note);
  }
  std::string expected;
  for (auto& [tick, notes] : byTick) {
    std::sort(notes.begin(), notes.end());
    for (size_t i = 0; i < notes.size(); ++i) expected += (i ? " " : "") + std::to_string(notes[i]);
    expected += "\n";
  }
  ASSERT_FALSE(expected.empty());
  const auto script = test::RunProcess({"/usr/bin/lua5.2", kData + "/pitch_walk.lua", kKvttxt, score});
  ASSERT_EQ(script.exitCode, 0) << script.err;
  EXPECT_EQ(script.out, expected);
}

}  // namespace
}  // namespace kvt
