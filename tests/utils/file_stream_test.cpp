#include "utils/file_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "tests/utils/file_stream_fixture.h"

namespace kvt {
namespace {

class FileStreamTest : public FileStreamFixture {};

struct ModeCase {
  const char* label;
  int mode;
  bool fileExists;
  bool opens;
  bool reads;
  bool writes;
  const char* contentsAfterWritingZ;  // the file after one write of "Z" at the start
};

class FileStreamModeTest : public FileStreamFixture,
                           public testing::WithParamInterface<ModeCase> {};

TEST_P(FileStreamModeTest, OpensReadsAndWritesAsTheModeSays) {
  const ModeCase& c = GetParam();
  std::string path = c.fileExists ? MakeFile("f", "abc") : PathOf("f");
  TKRVFStream s(c.mode, path.c_str());
  ASSERT_EQ(s.IsOpen(), c.opens);
  EXPECT_EQ(s.IsFailed(), !c.opens);
  if (!c.opens) {
    EXPECT_FALSE(std::filesystem::exists(path)) << "a failed open creates nothing";
    return;
  }
  s.PutByte('Z');
  EXPECT_EQ(s.IsFailed(), !c.writes);
  s.Rewind();
  int first = s.GetByte();
  EXPECT_EQ(!s.IsError(), c.reads);
  if (c.reads) {
    EXPECT_EQ(first, c.writes ? 'Z' : 'a');
  }
  s.Close();
  EXPECT_EQ(Contents(path), c.contentsAfterWritingZ);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FileStreamModeTest,
    testing::Values(ModeCase{"NoBitsReadsExisting", 0, true, true, true, false, "abc"},
                    ModeCase{"ReadExisting", 1, true, true, true, false, "abc"},
                    ModeCase{"ReadSharedExisting", 5, true, true, true, false, "abc"},
                    ModeCase{"ReadMissing", 1, false, false, false, false, ""},
                    ModeCase{"WriteCreates", 2, false, true, false, true, "Z"},
                    ModeCase{"WriteEmptiesExisting", 2, true, true, false, true, "Z"},
                    ModeCase{"WriteWithShareBits", 2 | 4 | 8, true, true, false, true, "Z"},
                    ModeCase{"ReadWriteKeepsContents", 3, true, true, true, true, "Zbc"},
                    ModeCase{"ReadWriteMissing", 3, false, false, false, false, ""}),
    [](const testing::TestParamInfo<ModeCase>& info) { return info.param.label; });

TEST_F(FileStreamTest, FolderDoesNotOpen) {
  TKRVFStream s(kFileModeRead, folder.c_str());
  EXPECT_FALSE(s.IsOpen());
  EXPECT_TRUE(s.IsFailed());
}

TEST_F(FileStreamTest, AfterAFailedOpenEveryOperationFails) {
  TKRVFStream s(kFileModeRead, PathOf("missing").c_str());
  s.Rewind();
  EXPECT_TRUE(s.IsFailed()) << "Rewind seeks, which a closed stream cannot";
  char buffer[4];
  EXPECT_EQ(s.Read(buffer, 4), 0);
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.GetFileDateTime(), 0u);
  EXPECT_TRUE(s.IsFailed());
  EXPECT_FALSE(s.Close());
}

TEST_F(FileStreamTest, OpenClearsTheFlagsOfTheLastFile) {
  TKRVFStream s(kFileModeRead, PathOf("missing").c_str());
  ASSERT_TRUE(s.IsFailed());
  EXPECT_TRUE(s.Open(kFileModeRead, MakeFile("f", "x").c_str()));
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.GetByte(), 'x');
}

TEST_F(FileStreamTest, EndOfFileSetsOnlyTheErrorFlagInGetByteAndNoFlagInRead) {
  TKRVFStream s(kFileModeRead, MakeFile("f", "ab").c_str());
  char buffer[8] = {};
  EXPECT_EQ(s.Read(buffer, 8), 2);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(s.Read(buffer, 8), 0);
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
  EXPECT_TRUE(s.Close()) << "reaching the end is no fault";
}

TEST_F(FileStreamTest, SeekTellSizeAndSeekRelative) {
  TKRVFStream s(kFileModeRead, MakeFile("f", "0123456789").c_str());
  EXPECT_EQ(s.Size(), 10);
  EXPECT_TRUE(s.Seek(4));
  EXPECT_EQ(s.Tell(), 4);
  EXPECT_EQ(s.GetByte(), '4');
  EXPECT_TRUE(s.SeekRelative(-3));
  EXPECT_EQ(s.GetByte(), '2');
  EXPECT_TRUE(s.SeekRelative(2));
  EXPECT_EQ(s.Tell(), 5);
  EXPECT_FALSE(s.IsError());
  EXPECT_FALSE(s.SeekRelative(-6));
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  EXPECT_FALSE(s.Seek(-1));
  EXPECT_TRUE(s.IsFailed());
}

TEST_F(FileStreamTest, ClearReturnsToTheStartAndKeepsTheLength) {
  std::string path = MakeFile("f", "0123456789");
  TKRVFStream s(kFileModeRead | kFileModeWrite, path.c_str());
  s.Seek(6);
  s.GetByte();
  s.Clear();
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.Size(), 10);
  s.Write("ab", 2);
  EXPECT_TRUE(s.Close());
  EXPECT_EQ(Contents(path), "ab23456789");
}

TEST_F(FileStreamTest, TypedWritesReachTheFile) {
  std::string path = PathOf("f");
  TKRVFStream s(kFileModeWrite, path.c_str());
  s.WriteLong(0x01020304);
  s.WriteString("hi");
  EXPECT_TRUE(s.Close());
  EXPECT_EQ(Contents(path), std::string("\x04\x03\x02\x01hi\0", 7));
}

TEST_F(FileStreamTest, FailedWriteIsAFaultAndCloseReportsIt) {
  TKRVFStream full(kFileModeWrite, "/dev/full");
  ASSERT_TRUE(full.IsOpen());
  full.Write("abc", 3);
  EXPECT_TRUE(full.IsFailed());
  EXPECT_FALSE(full.Close());

  TKRVFStream readOnly(kFileModeRead, MakeFile("f", "abc").c_str());
  readOnly.PutByte('x');
  EXPECT_TRUE(readOnly.IsFailed());
  EXPECT_FALSE(readOnly.Close());
}

// The packed value of a local date and time.
uint32_t Dos(int year, int month, int day, int hour, int minute, int second) {
  return static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day) << 16 |
         static_cast<uint32_t>(hour << 11 | minute << 5 | second / 2);
}

// Runs the test in a zone five hours east of UTC, then restores the zone of the process.
class FileDateTimeTest : public FileStreamFixture {
protected:
  void SetUp() override {
    FileStreamFixture::SetUp();
    const char* zone = std::getenv("TZ");
    hadZone = zone != nullptr;
    if (hadZone) savedZone = zone;
    setenv("TZ", "KVT-5", 1);
    tzset();
  }
  void TearDown() override {
    if (hadZone)
      setenv("TZ", savedZone.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
    FileStreamFixture::TearDown();
  }

  bool hadZone = false;
  std::string savedZone;
};

TEST_F(FileDateTimeTest, PackedTimeIsLocalAndAppliesToAccessAndWriteTimes) {
  std::string path = MakeFile("f", "x");
  TKRVFStream s(kFileModeRead, path.c_str());
  uint32_t moment = Dos(2021, 6, 15, 13, 45, 30);
  ASSERT_TRUE(s.SetFileDateTime(moment));
  EXPECT_EQ(s.GetFileDateTime(), moment);

  std::tm utc{};
  utc.tm_year = 121;
  utc.tm_mon = 5;
  utc.tm_mday = 15;
  utc.tm_hour = 8;  // 13:45:30 five hours east of UTC
  utc.tm_min = 45;
  utc.tm_sec = 30;
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mtime, timegm(&utc));
  EXPECT_EQ(info.st_atime, info.st_mtime);
}

TEST_F(FileStreamTest, InvalidPackedDateTimesAreRefused) {
  TKRVFStream s(kFileModeRead, MakeFile("f", "x").c_str());
  for (uint32_t bad : {Dos(2021, 13, 1, 0, 0, 0), Dos(2021, 0, 1, 0, 0, 0),
                       Dos(2021, 2, 29, 0, 0, 0), Dos(2021, 4, 0, 0, 0, 0),
                       Dos(2021, 4, 1, 24, 0, 0), Dos(2021, 4, 1, 0, 60, 0),
                       Dos(2021, 4, 1, 0, 0, 60)}) {
    s.Rewind();
    EXPECT_FALSE(s.SetFileDateTime(bad)) << std::hex << bad;
    EXPECT_TRUE(s.IsFailed());
  }
  s.Rewind();
  EXPECT_TRUE(s.SetFileDateTime(Dos(2020, 2, 29, 23, 59, 58)));
  EXPECT_EQ(s.GetFileDateTime(), Dos(2020, 2, 29, 23, 59, 58));
}

TEST_F(FileStreamTest, TimesBefore1980GiveTheFirstDosMoment) {
  std::string path = MakeFile("f", "x");
  struct timespec times[2] = {{86400 * 365, 0}, {86400 * 365, 0}};  // early 1971
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  TKRVFStream s(kFileModeRead, path.c_str());
  EXPECT_EQ(s.GetFileDateTime(), Dos(1980, 1, 1, 0, 0, 0));
}

}  // namespace
}  // namespace kvt
