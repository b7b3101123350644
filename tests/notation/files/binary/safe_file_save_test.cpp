#include "notation/files/binary/safe_file_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/utils/temp_folder.h"
#include "utils/stream.h"

namespace kvt {
namespace {

class SafeFileSave : public testing::Test {
protected:
  // The names in the folder, so a test sees any temporary file left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static bool WriteText(TKRVStream& file, const std::string& text) {
    file.Write(text.data(), static_cast<int>(text.size()));
    return !file.IsError();
  }

  TTempFolder folder;
  std::string target = folder / "song.kvt";
};

TEST_F(SafeFileSave, WritesANewFile) {
  EXPECT_TRUE(SaveFileSafely(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

TEST_F(SafeFileSave, ReplacesTheOldFileKeepingItsPermissions) {
  TTempFolder::WriteFile(target, "old contents");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  EXPECT_TRUE(SaveFileSafely(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target), "new");
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

// Each way a layer can fail leaves the old file as it was and no temporary file behind.
struct FailureCase {
  const char* name;
  bool (*body)(TKRVStream&);
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class SafeFileSaveFailure : public SafeFileSave, public testing::WithParamInterface<FailureCase> {};

TEST_P(SafeFileSaveFailure, LeavesTheOldFileUntouched) {
  TTempFolder::WriteFile(target, "old contents");
  TSaveBackups backups;
  backups.enabled = true;
  backups.keep = 2;
  EXPECT_FALSE(SaveFileSafely(target, backups, GetParam().body));
  EXPECT_EQ(TTempFolder::ReadFile(target), "old contents");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

INSTANTIATE_TEST_SUITE_P(
    Layers, SafeFileSaveFailure,
    testing::Values(
        // The body's own writer (a compressor whose End failed) reports failure.
        FailureCase{"BodyFails",
                    [](TKRVStream& f) {
                      f.Write("half", 4);
                      return false;
                    }},
        // The body says it succeeded, but the file recorded a fault: its close reports it.
        FailureCase{"FileFaultShowsAtClose",
                    [](TKRVStream& f) {
                      f.Write("half", 4);
                      f.SetFailed();
                      return true;
                    }}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(SafeFileSave, RotatesBackupsBeforeReplacing) {
  TTempFolder::WriteFile(target, "first");
  TSaveBackups backups;
  backups.enabled = true;
  backups.keep = 3;
  ASSERT_TRUE(SaveFileSafely(target, backups, [](TKRVStream& f) { return WriteText(f, "second"); }));
  ASSERT_TRUE(SaveFileSafely(target, backups, [](TKRVStream& f) { return WriteText(f, "third"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target), "third");
  EXPECT_EQ(TTempFolder::ReadFile(folder / "song.kvt.bak"), "second");
  EXPECT_EQ(TTempFolder::ReadFile(folder / "song.q1.kvt.bak"), "first");
}

TEST_F(SafeFileSave, AFolderInTheWayIsNotReplaced) {
  ASSERT_TRUE(std::filesystem::create_directory(target));
  TTempFolder::WriteFile(target + "/inside", "kept");
  EXPECT_FALSE(SaveFileSafely(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target + "/inside"), "kept");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

TEST_F(SafeFileSave, AMissingFolderFails) {
  EXPECT_FALSE(SaveFileSafely(folder / "none/song.kvt", {},
                              [](TKRVStream& f) { return WriteText(f, "new"); }));
}

TEST_F(SafeFileSave, FlushesFilesAndFolders) {
  TTempFolder::WriteFile(target, "x");
  EXPECT_TRUE(FlushPathToDisk(target));
  EXPECT_TRUE(FlushPathToDisk(folder.Path()));
  EXPECT_FALSE(FlushPathToDisk(folder / "missing"));
}

}  // namespace
}  // namespace kvt
