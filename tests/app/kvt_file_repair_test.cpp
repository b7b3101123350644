#include "app/kvt_file_repair.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/files/binary/score_file_header.h"
#include "tests/app/convert_fixture.h"

namespace kvt {
namespace {

// Points TMPDIR at a folder of the test, so the test sees what the repair leaves behind.
class KvtFileRepairTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(std::filesystem::create_directory(tmp));
    const char* old = getenv("TMPDIR");
    if (old != nullptr) savedTmp = old;
    hadTmp = old != nullptr;
    setenv("TMPDIR", tmp.c_str(), 1);
  }
  void TearDown() override {
    if (hadTmp) {
      setenv("TMPDIR", savedTmp.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

  TTempFolder folder;
  std::string tmp = folder / "tmp";
  std::string savedTmp;
  bool hadTmp = false;
};

TEST_F(KvtFileRepairTest, TextModeDamagedFileLoadsAsTheIntactOne) {
  for (bool compressed : {true, false}) {
    std::unique_ptr<TMusicScore> original = test::MakeSmallScore();
    const std::string intact = folder / "intact.kvt";
    test::WriteBinaryScore(intact, *original, compressed);
    const std::string bytes = TTempFolder::ReadFile(intact);
    ASSERT_NE(bytes.find('\n'), std::string::npos) << "the fixture must hold a line feed";
    const std::string damaged = folder / "damaged.kvt";
    TTempFolder::WriteFile(damaged, test::DamageByTextMode(bytes));

    TScoreFileHeader header;
    std::unique_ptr<TMusicScore> score = LoadKvtFileRepairing(damaged.c_str(), header);
    ASSERT_NE(score, nullptr) << compressed;
    EXPECT_EQ(header.status, TLoadStatus::kLoaded);
    EXPECT_EQ(test::ScoreText(*score),
              test::ScoreText(*LoadKvtFileRepairing(intact.c_str(), header)));
    EXPECT_TRUE(test::ListFolder(tmp).empty()) << "the repaired copy and its folder are removed";
    // The damaged file itself is left as it was.
    EXPECT_EQ(TTempFolder::ReadFile(damaged), test::DamageByTextMode(bytes));
  }
}

TEST_F(KvtFileRepairTest, IntactFileNeedsNoCopy) {
  const std::string path = folder / "song.kvt";
  test::WriteBinaryScore(path, *test::MakeSmallScore(), true);
  // A TMPDIR where nothing can be made: the intact file never goes there.
  setenv("TMPDIR", (folder / "missing").c_str(), 1);
  TScoreFileHeader header;
  std::unique_ptr<TMusicScore> score = LoadKvtFileRepairing(path.c_str(), header);
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kLoaded);
  EXPECT_EQ(score->GetStaffCount(), 1);
}

TEST_F(KvtFileRepairTest, TextWithCrLfLinesIsStillNoScore) {
  const std::string path = folder / "letter.kvt";
  TTempFolder::WriteFile(path, "Dear reader,\r\nthis is no score.\r\n");
  TScoreFileHeader header;
  EXPECT_EQ(LoadKvtFileRepairing(path.c_str(), header), nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNotScore);
  EXPECT_TRUE(test::ListFolder(tmp).empty());
}

TEST_F(KvtFileRepairTest, NoPrivateFolderKeepsTheFirstStatus) {
  const std::string intact = folder / "intact.kvt";
  test::WriteBinaryScore(intact, *test::MakeSmallScore(), true);
  const std::string path = folder / "damaged.kvt";
  TTempFolder::WriteFile(path, test::DamageByTextMode(TTempFolder::ReadFile(intact)));
  setenv("TMPDIR", (folder / "missing").c_str(), 1);
  TScoreFileHeader header;
  EXPECT_EQ(LoadKvtFileRepairing(path.c_str(), header), nullptr);
  EXPECT_TRUE(header.status == TLoadStatus::kNotScore || header.status == TLoadStatus::kCorrupt)
      << static_cast<int>(header.status);
}

}  // namespace
}  // namespace kvt
