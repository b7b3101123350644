// A selector window's Save and Revert with a scripted host: the score kept compressed in the
// host's selector file, a failed write reported and the window left modified, and the reset to
// one new staff that deletes the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/editor/score_document.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/staff/music_score.h"
#include "tests/app/editor/scripted_score_window_host.h"
#include "tests/app/example_score.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

// The view's side, as far as Save and Revert ask it.
class TSerialClient final : public TScoreDocumentClient {
public:
  uint64_t StateSerial() const override { return serial; }
  void CommitPendingEdit() override {}
  void TitleChanged() override {}
  void ScoreReplaced() override { ++replacements; }
  int ActiveStaff() const override { return 0; }
  int CaretIndex() const override { return 1; }
  void PlayStarted() override {}
  void ScrollByKey(int) override {}
  void StaffAppended(int) override {}
  uint64_t serial = 1;
  int replacements = 0;
};

class ScoreDocumentSelectorTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_selector_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    host = std::make_unique<TScriptedScoreWindowHost>(root + "/autosave");
    host->selectorFolder = root;
    document =
        std::make_unique<TScoreDocument>(*host, ":101", example::MakeExampleScore(), 1, true);
    document->AttachClient(&client);
    client.serial = 2;  // an edit
    document->SetModified(false);
  }
  void TearDown() override {
    EXPECT_TRUE(host->AllAnswersUsed());
    document.reset();
    fs::remove_all(root);
  }

  std::string root;
  std::unique_ptr<TScriptedScoreWindowHost> host;
  TSerialClient client;
  std::unique_ptr<TScoreDocument> document;
};

TEST_F(ScoreDocumentSelectorTest, SaveKeepsTheScoreInTheSelectorFile) {
  ASSERT_TRUE(document->IsModified());
  EXPECT_EQ(document->Save(), TSaveResult::kSaved);
  const std::string path = root + "/101.kvt";
  ASSERT_TRUE(fs::exists(path));
  EXPECT_FALSE(document->IsModified());
  EXPECT_EQ(host->selectorChanges, 1);
  TScoreFileHeader header;
  const TScoreLoadResult reread = ReadScoreFromFile(path.c_str(), header, TServices());
  ASSERT_NE(reread.score, nullptr);
  EXPECT_EQ(reread.score->GetStaffCount(), document->Score().GetStaffCount());
  EXPECT_TRUE(reread.score->GetCompressed());
  EXPECT_TRUE(host->dialogs.empty());  // no Save As for a selector
}

TEST_F(ScoreDocumentSelectorTest, AFailedWriteIsReportedAndStaysModified) {
  host->selectorFolder = root + "/missing";
  host->Answer({IDOK});
  EXPECT_EQ(document->Save(), TSaveResult::kFailed);
  ASSERT_EQ(host->boxes.size(), 1u);
  EXPECT_EQ(host->boxes[0].caption, "File Save");
  EXPECT_TRUE(document->IsModified());
  EXPECT_EQ(host->selectorChanges, 0);
}

TEST_F(ScoreDocumentSelectorTest, RevertResetsToOneNewStaffAndDeletesTheFile) {
  ASSERT_EQ(document->Save(), TSaveResult::kSaved);
  const int staves = document->Score().GetStaffCount();
  ASSERT_GT(staves, 1);
  host->Answer({IDCANCEL, IDOK});
  document->Revert();
  EXPECT_EQ(document->Score().GetStaffCount(), staves);
  EXPECT_TRUE(fs::exists(root + "/101.kvt"));
  document->Revert();
  EXPECT_EQ(host->boxes.back().caption, "Reset Selector");
  EXPECT_EQ(host->boxes.back().text, "This will reset the selector back to factory defaults.");
  EXPECT_EQ(document->Score().GetStaffCount(), 1);
  EXPECT_FALSE(fs::exists(root + "/101.kvt"));
  EXPECT_EQ(client.replacements, 1);
  EXPECT_EQ(host->selectorChanges, 2);
  EXPECT_FALSE(document->IsModified());
}

}  // namespace
}  // namespace kvt
