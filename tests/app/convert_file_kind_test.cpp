#include "app/convert_file_kind.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(ConvertFileKindTest, ExtensionsWithoutRegardToCase) {
  struct Case {
    const char* path;
    int kind;
  } cases[] = {
      {"song.kvt", kConvertBinaryScore},
      {"SONG.KVT", kConvertBinaryScore},
      {"song.kvttxt", kConvertTextScore},
      {"dir/Song.KvtTxt", kConvertTextScore},
      {"song.KVTTXT", kConvertTextScore},
      {"song.mid", kConvertMidiFile},
      {"song.MID", kConvertMidiFile},
      {"song.info", kConvertInfoReport},
      {"song.Info", kConvertInfoReport},
      {"song.kvt.mid", kConvertMidiFile},
      {"song.midi", kConvertUnknown},
      {"song.kv", kConvertUnknown},
      {"song", kConvertUnknown},
      {"", kConvertUnknown},
      {"folder.kvt/song", kConvertUnknown},
      {"song.txt", kConvertUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(GetConvertFileKind(c.path), c.kind) << c.path;
}

}  // namespace
}  // namespace kvt
