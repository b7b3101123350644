// Scores shipped in the data folder: read whole or not at all, by plain file names only.

#include "app/shell/score_resource.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "notation/files/binary/binary_score_file.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

TEST(ScoreResourceTest, LoadsWholeScoresByPlainNamesOnly) {
  TTempFolder folder;
  std::unique_ptr<TMusicScore> sample =
      LoadTextScoreFile(KVT_EXAMPLES_DIR "/example.kvttxt", TServices()).score;
  ASSERT_NE(sample, nullptr);
  const std::string path = folder / "Default.kvt";
  ASSERT_TRUE(WriteScoreToFile(path.c_str(), true, *sample));
  std::unique_ptr<TMusicScore> loaded = LoadScoreResource(folder.Path(), "Default.kvt");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetStaffCount(), sample->GetStaffCount());

  // A cut-off copy loads only in part: no template.
  const std::string bytes = TTempFolder::ReadFile(path);
  TTempFolder::WriteFile(folder / "Cut.kvt", bytes.substr(0, bytes.size() - 8));
  std::filesystem::create_directory(folder / "sub");
  ASSERT_TRUE(WriteScoreToFile((folder / "sub/Inner.kvt").c_str(), true, *sample));
  TTempFolder::WriteFile(folder / "Empty.kvt", "");
  for (const char* name : {"Cut.kvt", "Missing.kvt", "Empty.kvt", "", ".", "..", "sub/Inner.kvt",
                           "../Default.kvt", "/etc/passwd"}) {
    EXPECT_EQ(LoadScoreResource(folder.Path(), name), nullptr) << name;
  }
  EXPECT_EQ(LoadScoreResource("", "Default.kvt"), nullptr);
}

}  // namespace
}  // namespace kvt
