#include "utils/ini_profile.h"

#include "tests/utils/ini_test_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// The real file operations, counting writes and failing them on request.
class TCountingIo : public TIniFileIo {
public:
  TIniFileStamp Stamp(const std::string& path) override { return real.Stamp(path); }
  TIniReadResult Read(const std::string& path, size_t maxBytes, std::string& content) override {
    ++reads;
    return real.Read(path, maxBytes, content);
  }
  bool WriteAtomic(const std::string& path, std::string_view content, bool createFolder) override {
    ++writes;
    return !failWrites && real.WriteAtomic(path, content, createFolder);
  }

  TPosixIniFileIo real;
  int reads = 0;
  int writes = 0;
  bool failWrites = false;
};

class IniProfileTest : public ::testing::Test {
protected:
  std::string Path() const { return folder / "p.ini"; }

  TTempFolder folder;
  TCountingIo io;
};

TEST_F(IniProfileTest, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
  TIniProfile profile(folder / "sub/p.ini", io, /*createFolder=*/true);
  EXPECT_TRUE(profile.Refresh());
  EXPECT_FALSE(profile.Get("S", "k").has_value());
  ASSERT_TRUE(profile.Set("S", "k", "v"));
  EXPECT_EQ(ReadWholeFile(folder / "sub/p.ini"), "[S]\nk=v\n");
}

TEST_F(IniProfileTest, ReadsTheFileOnceWhileItIsUnchanged) {
  WriteWholeFile(Path(), "[S]\nk=v\n");
  TIniProfile profile(Path(), io, false);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(profile.Get("S", "k"), "v");
  EXPECT_EQ(io.reads, 1);
}

// A change made by another writer is seen, and a later write keeps it.
TEST_F(IniProfileTest, ChangeOnDiskIsReadBeforeTheNextWrite) {
  WriteWholeFile(Path(), "[S]\na=1\n");
  TIniProfile mine(Path(), io, false);
  EXPECT_EQ(mine.Get("S", "a"), "1");
  TIniProfile other(Path(), io, false);
  ASSERT_TRUE(other.Set("S", "b", "2"));
  EXPECT_EQ(mine.Get("S", "b"), "2");
  ASSERT_TRUE(mine.Set("S", "c", "3"));
  EXPECT_EQ(ReadWholeFile(Path()), "[S]\na=1\nb=2\nc=3\n");
}

TEST_F(IniProfileTest, FailedWriteLeavesMemoryAsTheDiskHoldsIt) {
  WriteWholeFile(Path(), "[S]\na=1\n");
  TIniProfile profile(Path(), io, false);
  io.failWrites = true;
  EXPECT_FALSE(profile.Set("S", "a", "2"));
  EXPECT_FALSE(profile.Erase("S", "a"));
  EXPECT_FALSE(profile.EraseSection("S"));
  EXPECT_EQ(profile.Get("S", "a"), "1");
  EXPECT_EQ(ReadWholeFile(Path()), "[S]\na=1\n");
}

TEST_F(IniProfileTest, WritesOnlyWhatChanges) {
  TIniProfile profile(Path(), io, false);
  ASSERT_TRUE(profile.Set("S", "a", "1"));
  ASSERT_TRUE(profile.Set("s", "A", "1"));      // the same value
  ASSERT_TRUE(profile.Erase("S", "missing"));   // already absent
  ASSERT_TRUE(profile.EraseSection("Missing"));
  EXPECT_EQ(io.writes, 1);
}

// A file that cannot be read is never replaced by what little the profile knows.
TEST_F(IniProfileTest, UnreadableFileIsNeverOverwritten) {
  std::string big(kIniMaxFileBytes + 1, ';');
  WriteWholeFile(Path(), big);
  TIniProfile profile(Path(), io, false);
  EXPECT_FALSE(profile.Refresh());
  EXPECT_FALSE(profile.Get("S", "k").has_value());
  EXPECT_FALSE(profile.Set("S", "k", "v"));
  EXPECT_EQ(io.writes, 0);
  EXPECT_EQ(std::filesystem::file_size(Path()), big.size());

  // Once the file is sound again the profile works again.
  WriteWholeFile(Path(), "[S]\nk=old\n");
  EXPECT_TRUE(profile.Set("S", "k", "new"));
  EXPECT_EQ(ReadWholeFile(Path()), "[S]\nk=new\n");
}

TEST_F(IniProfileTest, FolderInPlaceOfTheFileIsUnusable) {
  std::filesystem::create_directory(Path());
  TIniProfile profile(Path(), io, false);
  EXPECT_FALSE(profile.Set("S", "k", "v"));
  EXPECT_TRUE(profile.SectionNames().empty());
}

}  // namespace
}  // namespace kvt
