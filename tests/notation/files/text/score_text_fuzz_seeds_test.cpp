// The seed corpora of the score text and clip fuzz targets are texts this writer produces.
// Run with KVT_WRITE_FUZZ_SEEDS=1 to write them again into fuzz/corpus/; otherwise the test
// checks that every committed seed still reads cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "notation/files/text/clip_text.h"
#include "notation/services/services.h"
#include "notation/files/text/score_text_reader.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

const std::filesystem::path kCorpus = std::filesystem::path(KVT_SOURCE_DIR) / "fuzz" / "corpus";

std::unique_ptr<TMusicScore> SmallScore() {
  auto score = std::make_unique<TMusicScore>();
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(u"Flute");
  AddItem(*staff, TItemPtr(new TClefData(kClefTreble)));
  AddItem(*staff, TItemPtr(new TKeyData(1 << 5, 0, 6)));
  AddItem(*staff, TItemPtr(new TTimeSignatureData(3, 2)));
  for (const char* name : {"NoteEverything", "ChordSplitTwoDurations", "RestChordChord", "Text", "User", "MpcSweep",
                           "EndingFull", "BarRepeat"}) {
    for (const TItemCase& c : kItemCases)
      if (std::string(c.name) == name) AddItem(*staff, c.make());
  }
  staff->MakeLyrics().Add(std::make_unique<TLyricText>());
  staff->GetLyrics()->GetLine(0)->ReadFromEdit(u"la-la lu", true);
  score->AddStaff(std::move(staff));
  score->AddStaff(std::make_unique<TMusicStaff>());
  return score;
}

// Seed name (with the first byte the fuzz target reads as its options) and text.
std::map<std::string, std::string> ScoreSeeds() {
  TMusicScore empty;
  empty.AddStaff(std::make_unique<TMusicStaff>());
  const std::string small = WriteScore(*SmallScore());
  std::string lf = small;
  for (size_t at = lf.find("\r\n"); at != std::string::npos; at = lf.find("\r\n", at)) lf.erase(at, 1);
  return {
      {"empty_staff", std::string(1, '\0') + WriteScore(empty)},
      {"small_score", std::string(1, '\0') + small},
      {"small_score_lf_bom", std::string(1, '\0') + "\xEF\xBB\xBF" + lf},
      {"tool_text", std::string(1, '\1') + "|SongInfo|Title:\"T\"\n|AddStaff|Name:\"A\"\n|Note|Dur:8th|Pos:2\n"},
  };
}

std::map<std::string, std::string> ClipSeeds() {
  TMusicStaff staff;
  const std::unique_ptr<TMusicScore> score = SmallScore();
  TMusicStaff* source = score->GetStaff(0);
  TOutStream framed;
  WriteClipText(*source, 5, 8, *framed, false, true);
  TOutStream bare;
  WriteClipText(*source, 4, 4, *bare, false, false);
  return {
      {"clip_with_context", std::string(1, '\0') + framed.Text()},
      {"bare_note", std::string(1, '\1') + bare.Text()},
      {"plain_text", std::string(1, '\1') + "two lines\r\nof text\r\n"},
  };
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ScoreTextFuzzSeedsTest, SeedsAreCleanWriterOutput) {
  const std::map<std::string, std::map<std::string, std::string>> corpora = {
      {"score_text_reader", ScoreSeeds()}, {"clip_reader", ClipSeeds()}};
  if (std::getenv("KVT_WRITE_FUZZ_SEEDS")) {
    for (const auto& [dir, seeds] : corpora) {
      std::filesystem::create_directories(kCorpus / dir);
      for (const auto& [name, bytes] : seeds) std::ofstream(kCorpus / dir / name, std::ios::binary) << bytes;
    }
  }
  for (const auto& [name, expected] : corpora.at("score_text_reader")) {
    const std::string bytes = ReadFile(kCorpus / "score_text_reader" / name);
    ASSERT_FALSE(bytes.empty()) << name;
    TTextStream stream(std::string_view(bytes).substr(1));
    const int mode = (bytes[0] & 1) ? kScoreTextModeTool : kScoreTextModeFile;
    const TScoreLoadResult info = ReadScoreText(*stream, TServices{}, mode);
    EXPECT_TRUE(info.score) << name;
    EXPECT_EQ(info.status, (bytes[0] & 1) ? TLoadStatus::kCorrupt : TLoadStatus::kLoaded) << name;  // no end line
  }
  for (const auto& [name, expected] : corpora.at("clip_reader")) {
    const std::string bytes = ReadFile(kCorpus / "clip_reader" / name);
    ASSERT_FALSE(bytes.empty()) << name;
    TTextStream stream(std::string_view(bytes).substr(1));
    TMusicStaff staff;
    TClipTextReader reader(*stream, staff, (bytes[0] & 1) != 0, nullptr);
    EXPECT_GT(reader.Read().items, 0) << name;
    EXPECT_FALSE(reader.IsCorrupt()) << name;
  }
}

}  // namespace
}  // namespace kvt
