#include "midi/smf/midi_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "midi/smf/midi_export_shell.h"
#include "notation/services/services.h"
#include "midi/smf/smf_export_stream.h"
#include "notation/staff/music_score.h"
#include "tests/midi/score_builder.h"
#include "tests/midi/smf_dump_runner.h"
#include "tests/utils/linked_output.h"
#include "tests/utils/recording_cursor_service.h"
#include "utils/seg_ram_stream.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

class TRecordingShell : public TMidiExportShell {
public:
  TMidiHeaderPlacement GetHeaderPlacement() const override { return kMidiHeaderTempoTrack; }
  bool GetExportPerTrackSignature() const override { return false; }
  void ShowStatus(const std::string&) override {}
  void ShowProblem(const std::string& text, const std::string& caption) override {
    problems.push_back({text, caption});
  }
  std::vector<std::pair<std::string, std::string>> problems;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Files may grow to `bytes` only, for the life of the guard: a write beyond fails (EFBIG).
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes) {
    previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
  }

private:
  rlimit previous{};
  void (*previousHandler)(int) = nullptr;
};

class MidiExportTest : public test::SmfFileTest {
protected:
  void SetUp() override {
    test::SmfFileTest::SetUp();
    test::AddStaff(score, "C D E F");
    target = folder + "/song.mid";
    services.exportShell = &shell;
  }

  TMusicScore score;
  TRecordingShell shell;
  TServices services;
  std::string target;
};

TEST_F(MidiExportTest, AWrittenFileReplacesTheOldOneAndKeepsItsPermissions) {
  WriteFile(target, "old contents");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(ExportMidiFile(score, target, 1, services));
  EXPECT_EQ(ReadFile(target).substr(0, 4), "MThd");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Files(), std::vector<std::string>{"song.mid"});
  EXPECT_NE(Dump(target).find("576 note_on ch=0 note=65 vel=110\n"), std::string::npos);
}

TEST_F(MidiExportTest, ANewFileGetsTheUsualPermissions) {
  const mode_t mask = umask(022);
  ASSERT_TRUE(ExportMidiFile(score, target, 0, services));
  umask(mask);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

TEST_F(MidiExportTest, ALinkIsFollowedAndStaysALink) {
  const std::string real = folder + "/real.mid";
  WriteFile(real, "old");
  fs::create_symlink("real.mid", target);
  ASSERT_TRUE(ExportMidiFile(score, target, 1, services));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target)));
  EXPECT_EQ(ReadFile(real).substr(0, 4), "MThd");
  EXPECT_EQ(Files(), (std::vector<std::string>{"real.mid", "song.mid"}));
}

TEST_F(MidiExportTest, AChainOfLinksInAnotherFolderIsFollowed) {
  TTempFolder outputs;
  TLinkedOutput output(outputs, "song.mid");
  ASSERT_TRUE(ExportMidiFile(score, output.LinkPath(), 1, services));
  output.ExpectWrittenThroughLinks();
  EXPECT_EQ(output.RealContents().substr(0, 4), "MThd");
}

TEST_F(MidiExportTest, AFolderThatDoesNotExistFailsWithoutAMessage) {
  EXPECT_FALSE(ExportMidiFile(score, folder + "/missing/song.mid", 1, services));
  EXPECT_TRUE(Files().empty());
  EXPECT_TRUE(shell.problems.empty());
}

TEST_F(MidiExportTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  WriteFile(target, "old contents");
  bool ok = true;
  {
    TFileSizeLimit limit(64);  // the song information alone is longer
    ok = ExportMidiFile(score, target, 1, services);
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadFile(target), "old contents");
  EXPECT_EQ(Files(), std::vector<std::string>{"song.mid"});
}

TEST_F(MidiExportTest, AFailedRenameLeavesNoTemporaryFile) {
  // A folder stands at the target's name: the finished file cannot take its place.
  fs::create_directory(target);
  fs::create_directory(target + "/inside");
  EXPECT_FALSE(ExportMidiFile(score, target, 1, services));
  EXPECT_TRUE(fs::is_directory(target + "/inside"));
  EXPECT_EQ(Files(), std::vector<std::string>{"song.mid"});
}

TEST_F(MidiExportTest, SavingReportsAProblemWithThePathAsCaption) {
  const std::string missing = folder + "/missing/song.mid";
  EXPECT_FALSE(SaveScoreAsMidiFile(score, missing, 1, services));
  ASSERT_EQ(shell.problems.size(), 1u);
  EXPECT_EQ(shell.problems[0].first, "There was a problem saving the file!");
  EXPECT_EQ(shell.problems[0].second, missing);

  EXPECT_TRUE(SaveScoreAsMidiFile(score, target, 0, services));
  EXPECT_EQ(shell.problems.size(), 1u);
}

TEST_F(MidiExportTest, SavingShowsTheWaitCursorOfItsServices) {
  test::TRecordingCursorService cursor;
  services.cursor = &cursor;
  EXPECT_TRUE(SaveScoreAsMidiFile(score, target, 1, services));
  EXPECT_EQ(cursor.calls, "SR");
  EXPECT_TRUE(shell.problems.empty());
}

// A memory stream whose writes fail from a given byte on.
class TFailingStream : public TKRVSegRamStream {
public:
  explicit TFailingStream(int failAt) : TKRVSegRamStream(256), failAt(failAt) {}
  void PutByte(int byte) override {
    if (count++ >= failAt) {
      SetFailed();
      return;
    }
    TKRVSegRamStream::PutByte(byte);
  }

private:
  int failAt;
  int count = 0;
};

TEST_F(MidiExportTest, AStreamThatFailsAnywhereGivesFailure) {
  TKRVSegRamStream whole(256);
  ASSERT_TRUE(WriteScoreAsMidi(whole, score, 1, services));
  const int size = whole.Size();
  for (int failAt : {0, 13, 40, size / 2, size - 1}) {
    TFailingStream broken(failAt);
    EXPECT_FALSE(WriteScoreAsMidi(broken, score, 1, services)) << "failing at byte " << failAt;
  }
}

}  // namespace
}  // namespace kvt
