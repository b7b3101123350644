// The names a score window takes from the path it opens, and the title it shows.

#include "app/editor/score_window_names.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(ScoreWindowNamesTest, OpenedPaths) {
  struct Case {
    const char* path;
    int mode;
    const char* name;
    bool text;
    bool autosave;
  };
  const Case cases[] = {
      {"/m/song.kvttxt.bak", 11, "/m/song.bak", true, false},
      {"/m/song.kvt.bak", 11, "/m/song.bak", false, false},
      {"/m/Song.KVTTXT.BAK", 11, "/m/Song.bak", true, false},
      {"a.kvt.bak", 11, "a.kvt.bak", false, false},        // fewer than 6 bytes before the dot
      {"a.kvttxt.bak", 11, "a.kvttxt.bak", false, false},  // fewer than 9
      {"ab.kvttxt.bak", 11, "ab.bak", true, false},
      {"/m/song.kvttxt", 1, "/m/song.kvttxt", true, false},
      {"/m/song.KVT", 1, "/m/song.KVT", false, false},
      {"/m/song.kvttxt", 2, "/m/song.read-only", true, false},
      {"/m/song.kvt", 2, "/m/song.read-only", false, false},
      {"/s/kvt003.asv", 12, "/s/kvt003.asv", false, true},
      {"/m.d/noext", 1, "/m.d/noext", false, false},
  };
  for (const Case& c : cases) {
    const TOpenedName opened = InterpretOpenedPath(c.path, c.mode);
    EXPECT_EQ(opened.fileName, c.name) << c.path;
    EXPECT_EQ(opened.textFormat, c.text) << c.path;
    EXPECT_EQ(opened.autosave, c.autosave) << c.path;
  }
  EXPECT_EQ(RecoveredFileName(1), "Recovered File 1");
  EXPECT_EQ(RecoveredFileName(2), "Recovered File 2");
}

TEST(ScoreWindowNamesTest, DisplayNames) {
  struct Case {
    const char* fileName;
    const char* display;
  };
  const Case cases[] = {
      {"/m/song.kvt", "song"},
      {"/m/song.KVT", "song"},
      {"/m/song.kvttxt", "song (kvttxt)"},
      {"/m/song.KVTTXT", "song (kvttxt)"},
      {"/m/song.read-only", "song (read-only)"},
      {"/m/song.bak", "song (bak)"},
      {"Recovered File 1", "<Recovered File 1>"},
      {"/m.d/noext", "<noext>"},
      {":100", "<Selector 1>"},
      {":10f", "<Selector 16>"},
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayNameOf(c.fileName), c.display) << c.fileName;
  EXPECT_TRUE(IsSelectorName(":100"));
  EXPECT_FALSE(IsSelectorName("/m/:100"));
}

TEST(ScoreWindowNamesTest, SelectorNumbers) {
  struct Case {
    const char* fileName;
    int number;
  };
  const Case cases[] = {{":100", 0x100}, {":1fF", 0x1ff},  {":10", -1}, {":1g0", -1},
                        {":-10", -1},    {"song.kvt", -1}, {"", -1},    {":abcd", 0xabc}};
  for (const Case& c : cases) EXPECT_EQ(SelectorNumberOf(c.fileName), c.number) << c.fileName;
}

}  // namespace
}  // namespace kvt
