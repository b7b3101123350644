// What a file is, by its name.

#include "app/open_file_kind.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(OpenFileKindTest, ByExtensionWithoutCase) {
  struct Case {
    const char* path;
    TOpenFileKind kind;
  } cases[] = {
      {"/s/song.kvt", TOpenFileKind::kBinaryScore},
      {"/s/song.KRV", TOpenFileKind::kBinaryScore},
      {"/s/song.KVTTXT", TOpenFileKind::kTextScore},
      {"/s/tool.lua", TOpenFileKind::kScript},
      {"/s/obj.kvtuser.lua", TOpenFileKind::kScript},
      {"/s/a.mid", TOpenFileKind::kMidi},
      {"/s/a.MIDI", TOpenFileKind::kMidi},
      {"/s/a.rmi", TOpenFileKind::kMidi},
      {"/s/a.kar", TOpenFileKind::kMidi},
      {"/s/a.smf", TOpenFileKind::kMidi},
      {"/s/a.sng", TOpenFileKind::kMidi},
      {"/s/a.seq", TOpenFileKind::kMidi},
      {"/s/song.kvt.bak", TOpenFileKind::kBinaryBackup},
      {"/s/song.KVT.BAK", TOpenFileKind::kBinaryBackup},
      {"/s/song.kvttxt.bak", TOpenFileKind::kTextBackup},
      {"/s/song.bak", TOpenFileKind::kUnknown},
      {"a.kvt.bak", TOpenFileKind::kUnknown},  // too short to have a name before it
      {"ab.kvt.bak", TOpenFileKind::kBinaryBackup},
      {"/s/song.txt", TOpenFileKind::kUnknown},
      {"/s/song", TOpenFileKind::kUnknown},
      {"/s.kvt/song", TOpenFileKind::kUnknown},  // a dot in a folder is no extension
  };
  for (const Case& c : cases) EXPECT_EQ(GetOpenFileKind(c.path), c.kind) << c.path;
}

}  // namespace
}  // namespace kvt
