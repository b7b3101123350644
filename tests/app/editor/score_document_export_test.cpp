// The Export command with a scripted host: the dialog's set-up from the file and the type
// chosen last, the three file kinds written at the chosen path with their extension, a
// cancelled dialog, and a failed write reported with the path as the caption.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/editor/score_document.h"
#include "notation/staff/music_score.h"
#include "tests/app/editor/scripted_score_window_host.h"
#include "tests/app/example_score.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class ScoreDocumentExportTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_export_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    fs::create_directories(root + "/songs");
    host = std::make_unique<TScriptedScoreWindowHost>(root + "/autosave");
    host->folders[static_cast<int>(TRememberedFolder::kMidiFiles)] = root + "/midi";
    document = std::make_unique<TScoreDocument>(*host, root + "/songs/song.kvt",
                                                example::MakeExampleScore(), 1, true);
  }
  void TearDown() override {
    EXPECT_TRUE(host->AllAnswersUsed());
    document.reset();
    fs::remove_all(root);
  }
  // Exports, the dialog answering path and type.
  bool Export(const std::string& path, int type) {
    host->savePaths.push_back(path);
    host->saveTypes.push_back(type);
    return document->Export();
  }
  static std::string Head(const std::string& path, size_t bytes) {
    std::ifstream in(path, std::ios::binary);
    std::string head(bytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(bytes));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
  }

  std::string root;
  std::unique_ptr<TScriptedScoreWindowHost> host;
  std::unique_ptr<TScoreDocument> document;
};

TEST_F(ScoreDocumentExportTest, EachTypeWritesItsKindWithItsExtension) {
  struct Case {
    int type;
    const char* chosen;
    const char* written;
    std::string head;
  };
  const Case cases[] = {
      {1, "one", "one.mid", std::string("MThd\0\0\0\6\0\1", 10)},
      {2, "zero.txt", "zero.mid", std::string("MThd\0\0\0\6\0\0", 10)},
      {3, "older.mid", "older.kvt", std::string("[KVZ]\0", 6)},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Export(root + "/songs/" + c.chosen, c.type)) << c.type;
    const std::string written = root + "/songs/" + c.written;
    EXPECT_EQ(Head(written, c.head.size()), c.head) << c.written;
    EXPECT_EQ(host->exportType, c.type);
    EXPECT_EQ(host->folders[static_cast<int>(TRememberedFolder::kMidiFiles)], root + "/songs");
  }
  EXPECT_FALSE(document->IsModified());
}

TEST_F(ScoreDocumentExportTest, TheDialogStartsFromTheFileAndTheTypeChosenLast) {
  EXPECT_FALSE(document->Export());  // cancelled: nothing written, nothing remembered
  ASSERT_EQ(host->dialogs.size(), 1u);
  const TFileSaveRequest& first = host->dialogs[0];
  EXPECT_EQ(first.filter,
            "Type 1 Midi File|*.mid|Type 0 Midi File|*.mid|Tarlowmede Razadove 1.75 File|*.kvt|");
  EXPECT_EQ(first.filterIndex, 1);
  EXPECT_EQ(first.defaultExtension, "mid");
  EXPECT_EQ(first.initialName, "song.mid");
  EXPECT_EQ(first.initialFolder, root + "/songs");
  EXPECT_EQ(host->exportType, 1);
  EXPECT_EQ(host->folders[static_cast<int>(TRememberedFolder::kMidiFiles)], root + "/midi");

  ASSERT_TRUE(Export(root + "/songs/old", 3));
  host->options.exportToMidiFolder = true;
  EXPECT_FALSE(document->Export());
  const TFileSaveRequest& again = host->dialogs.back();
  EXPECT_EQ(again.filterIndex, 3);
  EXPECT_EQ(again.initialName, "song.kvt");
  EXPECT_EQ(again.initialFolder, root + "/songs");  // the folder remembered by the export
}

TEST_F(ScoreDocumentExportTest, AFailedWriteIsReportedWithThePath) {
  host->Answer({IDOK});
  const std::string path = root + "/missing/out.mid";
  EXPECT_FALSE(Export(path, 1));
  ASSERT_EQ(host->boxes.size(), 1u);
  EXPECT_EQ(host->boxes[0].caption, path);
  EXPECT_EQ(host->boxes[0].text, "There was a problem saving the file!");
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace kvt
