// Opening a binary score damaged by a text-mode copy: the repair is offered, and a repair that
// gives nothing leaves the first load standing.

#include "app/shell/open_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/shell/main_frame.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "tests/tools/recording_message_box.h"
#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

// Every LF becomes CR LF, as a text-mode transfer does.
std::string TextModeCopy(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// Answers the repair question and, before the repair reads the file, runs `beforeRepair` (the
// file changing under the question).
class TRepairQuestion final : public TMessageBoxService {
public:
  TRepairQuestion(int answer, std::function<void()> beforeRepair)
      : answer(answer), beforeRepair(std::move(beforeRepair)) {
    GetKVAppBase()->SetMessageBoxService(this);
  }
  ~TRepairQuestion() override { GetKVAppBase()->SetMessageBoxService(nullptr); }

  int Show(QWidget*, uint32_t, const QString& caption, const QString& text) override {
    captions.push_back(caption);
    texts.push_back(text);
    if (caption != "Improper File Translation") return IDOK;
    if (beforeRepair) beforeRepair();
    return answer;
  }

  std::vector<QString> captions;
  std::vector<QString> texts;

private:
  int answer;
  std::function<void()> beforeRepair;
};

class OpenFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    sample = LoadTextScoreFile(KVT_EXAMPLES_DIR "/example.kvttxt", TServices()).score;
    ASSERT_NE(sample, nullptr);
  }

  // The sample saved uncompressed, copied in text mode and cut inside its score text: the
  // first load gives the part before the cut, marked damaged.
  std::string CutTextModeCopy() {
    const std::string saved = folder / "saved.kvt";
    EXPECT_TRUE(WriteScoreToFile(saved.c_str(), false, *sample));
    std::string bytes = TextModeCopy(TTempFolder::ReadFile(saved));
    bytes.resize(bytes.size() * 2 / 3);
    if (bytes.back() == '\r') bytes.pop_back();
    const std::string path = folder / "damaged.kvt";
    TTempFolder::WriteFile(path, bytes);
    return path;
  }

  std::unique_ptr<TMusicScore> sample;
  TTempFolder folder;
  TScoreFileHeader header;
};

TEST_F(OpenFileTest, AFailedRepairKeepsThePartThatLoaded) {
  const std::string path = CutTextModeCopy();
  TScoreFileHeader firstHeader;
  TScoreLoadResult first = ReadScoreFromFile(path.c_str(), firstHeader, TServices());
  ASSERT_NE(first.score, nullptr) << "the fixture must load in part";
  ASSERT_EQ(first.status, TLoadStatus::kCorrupt);
  ASSERT_TRUE(IsTextModeCopyDamage(path.c_str(), first.status));

  struct TCase {
    const char* what;
    int answer;
    bool changeFile;  // a bare LF appears before the repair reads the file: nothing to repair
  };
  const TCase cases[] = {
      {"declined", IDNO, false},
      {"repair gives nothing", IDYES, true},
      {"file gone before the repair", IDYES, false},
  };
  for (const TCase& c : cases) {
    const std::string bytes = TTempFolder::ReadFile(path);
    std::function<void()> change;
    if (c.changeFile)
      change = [&] { TTempFolder::WriteFile(path, bytes + "\n"); };
    else if (c.answer == IDYES)
      change = [&] { std::remove(path.c_str()); };
    TRepairQuestion boxes(c.answer, change);
    std::unique_ptr<TMusicScore> score = LoadNativeScoreFile(nullptr, path, kOpenDialog, header);
    ASSERT_NE(score, nullptr) << c.what;
    EXPECT_EQ(score->GetStaffCount(), first.score->GetStaffCount()) << c.what;
    EXPECT_EQ(header.status, TLoadStatus::kCorrupt) << c.what << ": the first load's header";
    ASSERT_EQ(boxes.captions.size(), 2u) << c.what;
    EXPECT_EQ(boxes.captions[1], "File Open") << c.what;
    EXPECT_TRUE(boxes.texts[1].endsWith("An error was detected while loading the file."))
        << c.what << ": " << boxes.texts[1].toStdString();
    TTempFolder::WriteFile(path, bytes);
  }
}

TEST_F(OpenFileTest, AWholeTextModeCopyIsRepairedWhenAsked) {
  const std::string saved = folder / "saved.kvt";
  ASSERT_TRUE(WriteScoreToFile(saved.c_str(), true, *sample));
  const std::string path = folder / "damaged.kvt";
  TTempFolder::WriteFile(path, TextModeCopy(TTempFolder::ReadFile(saved)));
  TRepairQuestion boxes(IDYES, nullptr);
  std::unique_ptr<TMusicScore> score = LoadNativeScoreFile(nullptr, path, kOpenDialog, header);
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kLoaded);
  EXPECT_EQ(score->GetStaffCount(), sample->GetStaffCount());
  ASSERT_EQ(boxes.captions.size(), 1u) << "the question only";
}

}  // namespace
}  // namespace kvt
