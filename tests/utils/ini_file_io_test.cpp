#include "utils/ini_file_io.h"

#include "tests/utils/ini_test_env.h"
#include "tests/utils/linked_output.h"
#include "utils/stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace kvt {
namespace {

using testing::CountEntries;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

// The real writer with one step made to fail, as a full disk or an I/O error would.
class TFailingIo : public TPosixIniFileIo {
public:
  enum TStep { kNone, kWrite, kFlush };
  explicit TFailingIo(TStep step) : step(step) {}

protected:
  bool WriteContent(TKRVStream& file, std::string_view content) override {
    if (step == kNone) return TPosixIniFileIo::WriteContent(file, content);
    // Half the text reaches the temporary file before the failure.
    TPosixIniFileIo::WriteContent(file, content.substr(0, content.size() / 2));
    if (step == kWrite) return false;
    // The write seemed to succeed; the fault shows only when the file is flushed.
    file.SetFailed();
    return true;
  }

private:
  TStep step;
};

class IniFileIoTest : public ::testing::Test {
protected:
  TTempFolder folder;
  TPosixIniFileIo io;
};

TEST_F(IniFileIoTest, WriteMakesFoldersAndReplacesTheFile) {
  std::string path = folder / "a/b/settings.ini";
  EXPECT_FALSE(io.WriteAtomic(path, "[S]\nk=1\n", /*createFolder=*/false));
  ASSERT_TRUE(io.WriteAtomic(path, "[S]\nk=1\n", /*createFolder=*/true));
  EXPECT_EQ(ReadWholeFile(path), "[S]\nk=1\n");
  ASSERT_TRUE(io.WriteAtomic(path, "[S]\nk=2\n", true));
  EXPECT_EQ(ReadWholeFile(path), "[S]\nk=2\n");
  EXPECT_EQ(CountEntries(folder / "a/b"), 1);
}

TEST_F(IniFileIoTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  for (TFailingIo::TStep step : {TFailingIo::kWrite, TFailingIo::kFlush}) {
    std::string path = folder / "settings.ini";
    WriteWholeFile(path, "[S]\nold=1\n");
    TFailingIo failing(step);
    EXPECT_FALSE(failing.WriteAtomic(path, "[S]\nnew=2\nmore=3\n", true)) << step;
    EXPECT_EQ(ReadWholeFile(path), "[S]\nold=1\n") << step;
    EXPECT_EQ(CountEntries(folder.Path()), 1) << step;
  }
}

TEST_F(IniFileIoTest, FailedRenameLeavesNoTemporaryFile) {
  std::string path = folder / "is-a-folder";
  std::filesystem::create_directory(path);
  std::filesystem::create_directory(path + "/inner");  // a non-empty folder cannot be replaced
  EXPECT_FALSE(io.WriteAtomic(path, "x", false));
  EXPECT_EQ(CountEntries(folder.Path()), 1);
}

TEST_F(IniFileIoTest, WriteIntoAReadOnlyFolderFailsCleanly) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  std::string path = folder / "ro/settings.ini";
  WriteWholeFile(path, "old");
  ::chmod((folder / "ro").c_str(), 0500);
  EXPECT_FALSE(io.WriteAtomic(path, "new", false));
  EXPECT_EQ(ReadWholeFile(path), "old");
}

TEST_F(IniFileIoTest, ReplacedFileKeepsItsModeAndNewFileIsPrivate) {
  std::string path = folder / "shared.ini";
  WriteWholeFile(path, "old");
  ::chmod(path.c_str(), 0644);
  ASSERT_TRUE(io.WriteAtomic(path, "new", false));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);

  std::string fresh = folder / "fresh.ini";
  ASSERT_TRUE(io.WriteAtomic(fresh, "new", false));
  ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(IniFileIoTest, LinkedFileIsReplacedThroughTheLink) {
  std::string real = folder / "real.ini";
  std::string link = folder / "link.ini";
  WriteWholeFile(real, "old");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(io.WriteAtomic(link, "new", false));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(real), "new");
}

TEST_F(IniFileIoTest, AChainOfRelativeLinksIsFollowed) {
  TLinkedOutput output(folder, "settings.ini");
  ASSERT_TRUE(io.WriteAtomic(output.LinkPath(), "[S]\nk=1\n", true));
  output.ExpectWrittenThroughLinks();
  EXPECT_EQ(output.RealContents(), "[S]\nk=1\n");
}

TEST_F(IniFileIoTest, ReadTellsMissingFromUnreadable) {
  std::string content = "left over";
  EXPECT_EQ(io.Read(folder / "none.ini", 100, content), TIniReadResult::kMissing);
  EXPECT_EQ(content, "");
  EXPECT_EQ(io.Read(folder.Path(), 100, content), TIniReadResult::kFailed);  // a folder
  WriteWholeFile(folder / "big.ini", std::string(101, 'x'));
  EXPECT_EQ(io.Read(folder / "big.ini", 100, content), TIniReadResult::kFailed);
  EXPECT_EQ(io.Read(folder / "big.ini", 101, content), TIniReadResult::kRead);
  EXPECT_EQ(content.size(), 101u);
}

TEST_F(IniFileIoTest, StampChangesWithEveryReplacement) {
  std::string path = folder / "s.ini";
  EXPECT_FALSE(io.Stamp(path).exists);
  ASSERT_TRUE(io.WriteAtomic(path, "same", false));
  TIniFileStamp first = io.Stamp(path);
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(io.Stamp(path), first);
  ASSERT_TRUE(io.WriteAtomic(path, "same", false));
  EXPECT_NE(io.Stamp(path), first);  // a new file, though the text is the same
}

}  // namespace
}  // namespace kvt
