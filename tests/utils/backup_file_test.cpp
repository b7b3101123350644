#include "utils/backup_file.h"

#include "tests/utils/temp_folder.h"
#include "utils/file_utils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace kvt {
namespace {

class BackupFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    song = folder / "a.kvt";
  }

  // Saves a new version of the song with the given write time.
  void SaveVersion(const std::string& contents, time_t when) {
    TTempFolder::WriteFile(song, contents);
    TTempFolder::SetWriteTime(song, when);
  }
  void SaveBackup(const std::string& name, const std::string& contents, time_t when) {
    TTempFolder::WriteFile(folder / name, contents);
    TTempFolder::SetWriteTime(folder / name, when);
  }
  std::string Read(const std::string& name) { return TTempFolder::ReadFile(folder / name); }

  TTempFolder folder;
  std::string song;
};

TEST(BackupNameTest, NumberGoesBeforeTheOwnExtension) {
  struct Case {
    const char* base;
    int k;
    const char* expected;
  } cases[] = {
      {"/s/a.kvt", 0, "/s/a.kvt.bak"}, {"/s/a.kvt", 1, "/s/a.kvt.bak"},
      {"/s/a.kvt", 2, "/s/a.q1.kvt.bak"}, {"/s/a.kvt", 3, "/s/a.q2.kvt.bak"},
      {"/s/song", 2, "/s/song.q1.bak"}, {"/x.d/song", 3, "/x.d/song.q2.bak"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " " + std::to_string(c.k));
    EXPECT_EQ(MakeBackupName(c.base, ".bak", c.k), c.expected);
  }
}

TEST_F(BackupFileTest, MissingFileNeedsNoBackup) {
  EXPECT_TRUE(MakeBackupFile(song, "", "", 3));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(BackupFileTest, KeepZeroReplacesTheOneBackup) {
  SaveBackup("a.kvt.bak", "older", 100);
  SaveVersion("current", 200);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 0));
  EXPECT_FALSE(FileExists(song));
  EXPECT_EQ(Read("a.kvt.bak"), "current");
  EXPECT_FALSE(FileExists(folder / "a.q1.kvt.bak"));
}

TEST_F(BackupFileTest, SuccessiveBackupsFillTheSlotsNewestFirst) {
  SaveVersion("v1", 100);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 3));
  SaveVersion("v2", 200);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 3));
  SaveVersion("v3", 300);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 3));
  // Each previous newest backup went to the first free slot.
  EXPECT_EQ(Read("a.kvt.bak"), "v3");
  EXPECT_EQ(Read("a.q1.kvt.bak"), "v1");
  EXPECT_EQ(Read("a.q2.kvt.bak"), "v2");

  // All three slots are taken: the oldest (v1) gives way to the previous newest.
  SaveVersion("v4", 400);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 3));
  EXPECT_EQ(Read("a.kvt.bak"), "v4");
  EXPECT_EQ(Read("a.q1.kvt.bak"), "v3");
  EXPECT_EQ(Read("a.q2.kvt.bak"), "v2");
  EXPECT_FALSE(FileExists(folder / "a.q3.kvt.bak"));
}

TEST_F(BackupFileTest, KeepTwoWithBothSlotsReplacesTheOlder) {
  SaveBackup("a.kvt.bak", "newest", 300);
  SaveBackup("a.q1.kvt.bak", "oldest", 100);
  SaveVersion("current", 400);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 2));
  EXPECT_EQ(Read("a.kvt.bak"), "current");
  EXPECT_EQ(Read("a.q1.kvt.bak"), "newest");
}

TEST_F(BackupFileTest, OldestSlotIsFoundByTimeNotNumber) {
  SaveBackup("a.kvt.bak", "newest", 500);
  SaveBackup("a.q1.kvt.bak", "oldest", 100);
  SaveBackup("a.q2.kvt.bak", "middle", 300);
  SaveVersion("current", 600);
  ASSERT_TRUE(MakeBackupFile(song, "", "", 3));
  EXPECT_EQ(Read("a.kvt.bak"), "current");
  EXPECT_EQ(Read("a.q1.kvt.bak"), "newest");
  EXPECT_EQ(Read("a.q2.kvt.bak"), "middle");
}

TEST_F(BackupFileTest, BackupFolderAndExtension) {
  ASSERT_TRUE(CreateDir(folder / "backups"));
  SaveVersion("v1", 100);
  ASSERT_TRUE(MakeBackupFile(song, folder / "backups", ".old", 2));
  SaveVersion("v2", 200);
  ASSERT_TRUE(MakeBackupFile(song, folder / "backups/", ".old", 2));
  EXPECT_EQ(Read("backups/a.kvt.old"), "v2");
  EXPECT_EQ(Read("backups/a.q1.kvt.old"), "v1");
}

TEST_F(BackupFileTest, BackupFolderOnAnotherFileSystem) {
  struct stat here, there;
  if (::stat(folder.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
      here.st_dev == there.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  TTempFolder other("/dev/shm");
  ASSERT_TRUE(other.IsValid());
  for (int version = 1; version <= 3; ++version) {
    SaveVersion("v" + std::to_string(version), 100 * version);
    ASSERT_TRUE(MakeBackupFile(song, other.Path(), "", 2));
  }
  // The write times travel with the copies, so the rotation still finds the oldest.
  EXPECT_EQ(TTempFolder::ReadFile(other / "a.kvt.bak"), "v3");
  EXPECT_EQ(TTempFolder::ReadFile(other / "a.q1.kvt.bak"), "v2");
}

// Regression: when the newest backup could not make room, the file was moved over it anyway
// and that backup was lost.
TEST_F(BackupFileTest, FailedRotationKeepsEverything) {
  SaveBackup("a.kvt.bak", "newest", 300);
  ASSERT_TRUE(CreateDir(folder / "a.q1.kvt.bak"));  // a folder in the way of slot 2
  TTempFolder::WriteFile(folder / "a.q1.kvt.bak/x", "x");
  SaveVersion("current", 400);
  EXPECT_FALSE(MakeBackupFile(song, "", "", 2));
  EXPECT_EQ(Read("a.kvt.bak"), "newest");
  EXPECT_EQ(TTempFolder::ReadFile(song), "current");
}

}  // namespace
}  // namespace kvt
