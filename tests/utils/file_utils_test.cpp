#include "utils/file_utils.h"

#include "tests/utils/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kvt {
namespace {

class FileUtilsTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(folder.IsValid()); }
  TTempFolder folder;
};

TEST_F(FileUtilsTest, KindsOfPath) {
  std::string file = folder / "song.kvt";
  TTempFolder::WriteFile(file, "x");
  std::string sub = folder / "sub";
  ASSERT_TRUE(CreateDir(sub));
  std::string missing = folder / "missing";

  struct Case {
    std::string path;
    bool file, directory;
  } cases[] = {{file, true, false}, {sub, false, true}, {missing, false, false}, {"", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileExists(c.path), c.file);
    EXPECT_EQ(IsDirectory(c.path), c.directory);
  }
  EXPECT_FALSE(CreateDir(sub)) << "it exists already";
}

TEST_F(FileUtilsTest, ReadOnlyIsTheOwnersMissingWriteBit) {
  std::string file = folder / "a.txt";
  TTempFolder::WriteFile(file, "x");
  EXPECT_FALSE(IsReadOnly(file));
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_TRUE(IsReadOnly(file));
  EXPECT_FALSE(IsReadOnly(folder / "missing"));
}

TEST_F(FileUtilsTest, RemoveFileAndRemoveDir) {
  std::string file = folder / "a.txt";
  TTempFolder::WriteFile(file, "x");
  std::string sub = folder / "sub";
  ASSERT_TRUE(CreateDir(sub));
  TTempFolder::WriteFile(sub + "/inside", "x");
  EXPECT_FALSE(RemoveDir(sub)) << "not empty";
  EXPECT_TRUE(RemoveFile(sub + "/inside"));
  EXPECT_TRUE(RemoveDir(sub));
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_FALSE(RemoveFile(file));
  EXPECT_FALSE(FileExists(file));
}

TEST_F(FileUtilsTest, WriteTimeCountsTicksFrom1601) {
  std::string file = folder / "a.txt";
  TTempFolder::WriteFile(file, "x");
  TTempFolder::SetWriteTime(file, 0);
  TFileTime time = 1;
  ASSERT_TRUE(GetFileWriteTime(file, time));
  EXPECT_EQ(time, 116444736000000000u);
  TTempFolder::SetWriteTime(file, 1000000000);
  ASSERT_TRUE(GetFileWriteTime(file, time));
  EXPECT_EQ(time, 116444736000000000u + 1000000000ull * 10000000ull);

  EXPECT_FALSE(GetFileWriteTime(folder.Path(), time)) << "a folder has no file time here";
  EXPECT_FALSE(GetFileWriteTime(folder / "missing", time));
}

TEST_F(FileUtilsTest, CurrentDirSaverReturnsEvenAfterARename) {
  std::string start = GetCurrentDir();
  ASSERT_FALSE(start.empty());
  std::string before = folder / "before";
  std::string after = folder / "after";
  ASSERT_TRUE(CreateDir(before));
  ASSERT_EQ(::chdir(before.c_str()), 0);
  {
    TCurrentDirSaver saver;
    ASSERT_EQ(::rename(before.c_str(), after.c_str()), 0);
    ASSERT_EQ(::chdir("/"), 0);
  }
  EXPECT_EQ(GetCurrentDir(), after);
  ASSERT_EQ(::chdir(start.c_str()), 0);
}

TEST_F(FileUtilsTest, NumberedNameSkipsTakenNames) {
  EXPECT_EQ(MakeNumberedName(folder.Path(), "Untitled", "kvt"), folder / "Untitled1.kvt");
  TTempFolder::WriteFile(folder / "Untitled1.kvt", "x");
  ASSERT_TRUE(CreateDir(folder / "Untitled2.kvt"));
  EXPECT_EQ(MakeNumberedName(folder.Path(), "Untitled", "kvt"), folder / "Untitled3.kvt");
  EXPECT_EQ(MakeNumberedName(folder.Path() + "/", "Untitled", "kvt"), folder / "Untitled3.kvt");
}

}  // namespace
}  // namespace kvt
