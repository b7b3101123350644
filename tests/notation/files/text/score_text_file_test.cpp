#include "notation/files/text/score_text_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "tests/notation/score_text_fixture.h"
#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

using score_text_test::MakeLoadedSampleScore;
using score_text_test::SameText;
using score_text_test::WriteScore;

TEST(ScoreTextFile, ASavedScoreLoadsBackAsItWas) {
  TTempFolder folder;
  const std::unique_ptr<TMusicScore> score = MakeLoadedSampleScore();
  const std::string path = folder / "sample.kvttxt";
  ASSERT_TRUE(SaveTextScoreFile(path, *score));
  EXPECT_TRUE(SameText(TTempFolder::ReadFile(path), WriteScore(*score)));
  TScoreLoadResult back = LoadTextScoreFile(path, TServices{});
  ASSERT_NE(back.score, nullptr);
  EXPECT_EQ(back.status, TLoadStatus::kLoaded);
  EXPECT_TRUE(SameText(WriteScore(*back.score), WriteScore(*score)));
}

TEST(ScoreTextFile, WhatALoadReportsForFilesThatAreNotWhole) {
  TTempFolder folder;
  const struct {
    const char* name;
    const char* contents;  // null: no file
    bool opened;
    bool score;
    TLoadStatus status;
  } cases[] = {
      {"missing", nullptr, false, false, TLoadStatus::kNotScore},
      {"no header line", "|Note|Dur:4th|Pos:0\r\n", true, false, TLoadStatus::kNotScore},
      {"cut before its end line", "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"\r\n", true, true,
       TLoadStatus::kCorrupt},
  };
  for (const auto& c : cases) {
    const std::string path = folder / (std::string(c.name) + ".kvttxt");
    if (c.contents) TTempFolder::WriteFile(path, c.contents);
    TScoreLoadResult result = LoadTextScoreFile(path, TServices{});
    EXPECT_EQ(result.fileOpened, c.opened) << c.name;
    EXPECT_EQ(result.score != nullptr, c.score) << c.name;
    EXPECT_EQ(result.status, c.status) << c.name;
  }
}

}  // namespace
}  // namespace kvt
