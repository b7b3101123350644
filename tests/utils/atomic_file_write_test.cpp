#include "utils/atomic_file_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/utils/linked_output.h"
#include "tests/utils/temp_folder.h"
#include "utils/stream.h"

namespace kvt {
namespace {

class AtomicFileWrite : public testing::Test {
protected:
  // The names in the folder, so a test sees any temporary file left behind.
  std::vector<std::string> Names() const { return TTempFolder::ListNames(folder.Path()); }
  static bool WriteText(TKRVStream& file, const std::string& text) {
    file.Write(text.data(), static_cast<int>(text.size()));
    return !file.IsError();
  }

  TTempFolder folder;
  std::string target = folder / "song.kvt";
};

TEST_F(AtomicFileWrite, WritesANewFile) {
  EXPECT_TRUE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

TEST_F(AtomicFileWrite, ReplacesTheOldFileKeepingItsPermissions) {
  TTempFolder::WriteFile(target, "old contents");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  EXPECT_TRUE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
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

class AtomicFileWriteFailure : public AtomicFileWrite,
                               public testing::WithParamInterface<FailureCase> {};

TEST_P(AtomicFileWriteFailure, LeavesTheOldFileUntouched) {
  TTempFolder::WriteFile(target, "old contents");
  TSaveBackups backups;
  backups.enabled = true;
  backups.keep = 2;
  EXPECT_FALSE(WriteFileAtomically(target, backups, GetParam().body));
  EXPECT_EQ(TTempFolder::ReadFile(target), "old contents");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

INSTANTIATE_TEST_SUITE_P(
    Layers, AtomicFileWriteFailure,
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

// A save killed midway leaves its temporary file; the next save of the same target removes it
// unless the process that made it still runs. Files that only look alike stay.
TEST_F(AtomicFileWrite, RemovesTemporaryFilesOfKilledSavesOfTheSameTarget) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string dead = std::to_string(child);
  const std::string running = std::to_string(::getppid());
  const std::vector<std::string> kept = {
      ".song.kvt." + running + "-0-0badf00d.tmp",  // a save still running elsewhere
      ".song.kvt.notes.tmp",                       // the user's own file
      ".other.kvt." + dead + "-0-0badf00d.tmp",    // another target's
      ".song.kvt." + dead + "-0-0badf00d.tmp.keep",
  };
  for (const std::string& name : kept) TTempFolder::WriteFile(folder / name, "x");
  TTempFolder::WriteFile(folder / (".song.kvt." + dead + "-3-12345678.tmp"), "half a score");
  TTempFolder::WriteFile(folder / (".song.kvt." + dead + "-4-9abcdef0.tmp"), "");

  EXPECT_TRUE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  std::vector<std::string> expected = kept;
  expected.push_back("song.kvt");
  std::sort(expected.begin(), expected.end());
  std::vector<std::string> names = Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
}

TEST_F(AtomicFileWrite, RotatesBackupsBeforeReplacing) {
  TTempFolder::WriteFile(target, "first");
  TSaveBackups backups;
  backups.enabled = true;
  backups.keep = 3;
  ASSERT_TRUE(
      WriteFileAtomically(target, backups, [](TKRVStream& f) { return WriteText(f, "second"); }));
  ASSERT_TRUE(
      WriteFileAtomically(target, backups, [](TKRVStream& f) { return WriteText(f, "third"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target), "third");
  EXPECT_EQ(TTempFolder::ReadFile(folder / "song.kvt.bak"), "second");
  EXPECT_EQ(TTempFolder::ReadFile(folder / "song.q1.kvt.bak"), "first");
}

TEST_F(AtomicFileWrite, AFolderInTheWayIsNotReplaced) {
  ASSERT_TRUE(std::filesystem::create_directory(target));
  TTempFolder::WriteFile(target + "/inside", "kept");
  EXPECT_FALSE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(TTempFolder::ReadFile(target + "/inside"), "kept");
  EXPECT_EQ(Names(), std::vector<std::string>{"song.kvt"});
}

TEST_F(AtomicFileWrite, AMissingFolderFails) {
  EXPECT_FALSE(WriteFileAtomically(folder / "none/song.kvt", {},
                              [](TKRVStream& f) { return WriteText(f, "new"); }));
}

TEST_F(AtomicFileWrite, FlushesFilesAndFolders) {
  TTempFolder::WriteFile(target, "x");
  EXPECT_TRUE(FlushPathToDisk(target));
  EXPECT_TRUE(FlushPathToDisk(folder.Path()));
  EXPECT_FALSE(FlushPathToDisk(folder / "missing"));
}

TEST_F(AtomicFileWrite, ANewFileGetsTheRequestedModeLessTheMask) {
  const mode_t mask = ::umask(022);
  const bool shared =
      WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "a"); });
  const bool owned = WriteFileAtomically(folder / "private.ini", {},
                                         [](TKRVStream& f) { return WriteText(f, "b"); },
                                         kPrivateFileMode);
  ::umask(mask);
  ASSERT_TRUE(shared && owned);
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  ASSERT_EQ(::stat((folder / "private.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(AtomicFileWrite, AChainOfRelativeLinksIsFollowedAndStays) {
  TLinkedOutput output(folder, "song.kvt");
  ASSERT_TRUE(WriteFileAtomically(output.LinkPath(), {},
                                  [](TKRVStream& f) { return WriteText(f, "new"); }));
  output.ExpectWrittenThroughLinks();
  EXPECT_EQ(output.RealContents(), "new");
}

TEST_F(AtomicFileWrite, ALinkToNoFileMakesTheFileItNames) {
  std::filesystem::create_symlink("made.kvt", target);
  ASSERT_TRUE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(target)));
  EXPECT_EQ(TTempFolder::ReadFile(folder / "made.kvt"), "new");
}

TEST_F(AtomicFileWrite, ALoopOfLinksFails) {
  std::filesystem::create_symlink("other.kvt", target);
  std::filesystem::create_symlink("song.kvt", folder / "other.kvt");
  EXPECT_FALSE(WriteFileAtomically(target, {}, [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(Names(), (std::vector<std::string>{"other.kvt", "song.kvt"}));
}

TEST_F(AtomicFileWrite, BackupsOfALinkedFileLieBesideTheRealFile) {
  TLinkedOutput output(folder, "song.kvt");
  TSaveBackups backups;
  backups.enabled = true;
  ASSERT_TRUE(WriteFileAtomically(output.LinkPath(), backups,
                                  [](TKRVStream& f) { return WriteText(f, "new"); }));
  EXPECT_EQ(output.RealContents(), "new");
  EXPECT_EQ(TTempFolder::ReadFile(folder / "real/song.kvt.bak"), TLinkedOutput::kOldContents);
  EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(output.LinkPath())));
}

// What a write in a folder that the writer may not change gives: 0 written, 1 failed, 2 the
// test could not run. Root is not bound by folder permissions, so as root the write runs in a
// child process that has become the user "nobody".
int WriteAsUnprivileged(const std::string& path) {
  auto write = [&path] {
    return WriteFileAtomically(path, {}, [](TKRVStream& f) {
      f.Write("new", 3);
      return !f.IsError();
    });
  };
  if (::geteuid() != 0) return write() ? 0 : 1;
  const pid_t child = ::fork();
  if (child < 0) return 2;
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
    ::_exit(write() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 2;
  return WEXITSTATUS(status);
}

TEST_F(AtomicFileWrite, AnUnwritableFolderFailsAndKeepsTheOldFile) {
  // Others may pass through the test's folder, but not change the one inside.
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
  const std::string locked = folder / "locked";
  ASSERT_TRUE(std::filesystem::create_directory(locked));
  const std::string path = locked + "/song.kvt";
  TTempFolder::WriteFile(path, "old contents");
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
  const int result = WriteAsUnprivileged(path);
  ::chmod(locked.c_str(), 0755);
  if (result == 2) GTEST_SKIP() << "cannot write as another user here";
  EXPECT_EQ(result, 1);
  EXPECT_EQ(TTempFolder::ReadFile(path), "old contents");
  EXPECT_EQ(TTempFolder::ListNames(locked), std::vector<std::string>{"song.kvt"});
}

}  // namespace
}  // namespace kvt
