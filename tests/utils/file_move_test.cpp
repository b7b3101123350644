#include "utils/file_move.h"

#include "tests/utils/temp_folder.h"
#include "utils/file_utils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

namespace kvt {
namespace {

class FileMoveTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(folder.IsValid()); }

  size_t EntryCount(const std::string& path) const {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path)) ++count;
    return count;
  }

  // A folder on another file system than /tmp, or null when there is none to test with.
  static std::unique_ptr<TTempFolder> OtherFileSystemFolder(const std::string& than) {
    struct stat here, there;
    if (::stat(than.c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
        here.st_dev == there.st_dev) {
      return nullptr;
    }
    auto other = std::make_unique<TTempFolder>("/dev/shm");
    return other->IsValid() ? std::move(other) : nullptr;
  }

  TTempFolder folder;
};

TEST_F(FileMoveTest, CopyReplacesTargetKeepingModeAndTime) {
  std::string source = folder / "source.kvt";
  std::string target = folder / "target.kvt";
  TTempFolder::WriteFile(source, "new contents");
  TTempFolder::WriteFile(target, "old");
  ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
  TTempFolder::SetWriteTime(source, 1234567890);

  ASSERT_TRUE(CopyFileTo(source, target));
  EXPECT_EQ(TTempFolder::ReadFile(target), "new contents");
  EXPECT_EQ(TTempFolder::ReadFile(source), "new contents");
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_mtim.tv_sec, 1234567890);
  EXPECT_EQ(EntryCount(folder.Path()), 2u) << "no temporary file is left behind";
}

TEST_F(FileMoveTest, FailedCopyLeavesTargetAndNoDebris) {
  std::string target = folder / "target.kvt";
  TTempFolder::WriteFile(target, "old");
  ASSERT_TRUE(CreateDir(folder / "sub"));

  EXPECT_FALSE(CopyFileTo(folder / "missing", target));
  EXPECT_FALSE(CopyFileTo(folder / "sub", target)) << "folders are not copied";
  EXPECT_FALSE(CopyFileTo(target, target)) << "equal names";
  EXPECT_FALSE(CopyFileTo(target, folder / "sub")) << "a folder is not replaced by a file";
  EXPECT_EQ(TTempFolder::ReadFile(target), "old");
  EXPECT_EQ(EntryCount(folder.Path()), 2u);
  EXPECT_EQ(EntryCount(folder / "sub"), 0u);
}

TEST_F(FileMoveTest, MoveReplacesTarget) {
  std::string source = folder / "source.kvt";
  std::string target = folder / "target.kvt";
  TTempFolder::WriteFile(source, "new");
  TTempFolder::WriteFile(target, "old");
  ASSERT_TRUE(MoveFileReplace(source, target));
  EXPECT_FALSE(FileExists(source));
  EXPECT_EQ(TTempFolder::ReadFile(target), "new");
}

// Regression: the target was deleted before the move, so a move that then failed lost it.
TEST_F(FileMoveTest, FailedMoveKeepsTarget) {
  std::string target = folder / "target.kvt";
  TTempFolder::WriteFile(target, "old");
  EXPECT_FALSE(MoveFileReplace(folder / "missing", target));
  EXPECT_FALSE(MoveFileReplace(target, target));
  EXPECT_EQ(TTempFolder::ReadFile(target), "old");
}

TEST_F(FileMoveTest, MoveAcrossFileSystemsCopiesThenRemovesSource) {
  auto other = OtherFileSystemFolder(folder.Path());
  if (!other) GTEST_SKIP() << "no second file system at /dev/shm";
  std::string source = folder / "source.kvt";
  std::string target = *other / "target.kvt";
  TTempFolder::WriteFile(source, std::string(100000, 'n'));
  TTempFolder::WriteFile(target, "old");
  TTempFolder::SetWriteTime(source, 1000000000);

  ASSERT_TRUE(MoveFileReplace(source, target));
  EXPECT_FALSE(FileExists(source));
  EXPECT_EQ(TTempFolder::ReadFile(target), std::string(100000, 'n'));
  TFileTime time = 0;
  ASSERT_TRUE(GetFileWriteTime(target, time));
  EXPECT_EQ(time, 116444736000000000ull + 1000000000ull * 10000000ull) << "the time moves along";
  EXPECT_EQ(EntryCount(other->Path()), 1u);
}

TEST_F(FileMoveTest, FolderIsNotCopiedAcrossFileSystems) {
  auto other = OtherFileSystemFolder(folder.Path());
  if (!other) GTEST_SKIP() << "no second file system at /dev/shm";
  std::string target = *other / "target";
  TTempFolder::WriteFile(target, "old");
  ASSERT_TRUE(CreateDir(folder / "sub"));
  EXPECT_FALSE(MoveFileReplace(folder / "sub", target));
  EXPECT_TRUE(IsDirectory(folder / "sub"));
  EXPECT_EQ(TTempFolder::ReadFile(target), "old");
}

}  // namespace
}  // namespace kvt
