// The autosave folder and its claimed files: a private folder, exclusive 0600 files, no link
// followed, files held by a running window never listed for recovery, and every name taken
// reported.

#include "platform/autosave_store.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kvt {
namespace {

namespace fs = std::filesystem;

class AutosaveStoreTest : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt_autosave_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    folder = root + "/state/kvt2";
  }
  void TearDown() override { fs::remove_all(root); }

  static unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
  }
  static void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
  }
  static std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Named(int n) const {
    char name[16];
    std::snprintf(name, sizeof name, "/kvt%03d.asv", n);
    return folder + name;
  }

  std::string root;
  std::string folder;
};

TEST_F(AutosaveStoreTest, DefaultFolderFollowsXdgStateHome) {
  const char* oldState = std::getenv("XDG_STATE_HOME");
  const std::string savedState = oldState ? oldState : "";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  struct Case {
    const char* state;  // null: unset
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/x/state", "/home/u", "/x/state/kvt2"},
      {nullptr, "/home/u", "/home/u/.local/state/kvt2"},
      {"relative/state", "/home/u", "/home/u/.local/state/kvt2"},  // not absolute: ignored
      {nullptr, "relative", ""},
  };
  for (const Case& c : cases) {
    if (c.state)
      setenv("XDG_STATE_HOME", c.state, 1);
    else
      unsetenv("XDG_STATE_HOME");
    setenv("HOME", c.home, 1);
    EXPECT_EQ(DefaultAutosaveFolder(), c.expected) << (c.state ? c.state : "(unset)");
  }
  if (oldState)
    setenv("XDG_STATE_HOME", savedState.c_str(), 1);
  else
    unsetenv("XDG_STATE_HOME");
  if (oldHome)
    setenv("HOME", savedHome.c_str(), 1);
  else
    unsetenv("HOME");
}

TEST_F(AutosaveStoreTest, FolderIsMadePrivateAndLinksAreRefused) {
  TAutosaveStore store(folder);
  ASSERT_TRUE(store.PrepareFolder());
  EXPECT_EQ(ModeOf(folder), 0700u);

  ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
  ASSERT_TRUE(store.PrepareFolder());
  EXPECT_EQ(ModeOf(folder), 0700u);

  // A link in the folder's place (someone else's folder, say) is never used.
  const std::string elsewhere = root + "/elsewhere";
  fs::create_directory(elsewhere);
  const std::string linked = root + "/linked";
  fs::create_directory_symlink(elsewhere, linked);
  TAutosaveStore linkedStore(linked);
  EXPECT_FALSE(linkedStore.PrepareFolder());
  TAutosaveClaim claim;
  EXPECT_EQ(linkedStore.ClaimNewFile(claim), TAutosaveResult::kFolderFailed);
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(AutosaveStoreTest, ClaimsAreExclusivePrivateAndInOrder) {
  TAutosaveStore store(folder);
  TAutosaveClaim first, second;
  ASSERT_EQ(store.ClaimNewFile(first), TAutosaveResult::kOk);
  ASSERT_EQ(store.ClaimNewFile(second), TAutosaveResult::kOk);
  EXPECT_EQ(first.Path(), Named(0));
  EXPECT_EQ(second.Path(), Named(1));
  EXPECT_EQ(ModeOf(first.Path()), 0600u);

  // A file left by an ended session is recoverable, not reused: the next claim skips it.
  second.Release();
  TAutosaveClaim third;
  ASSERT_EQ(store.ClaimNewFile(third), TAutosaveResult::kOk);
  EXPECT_EQ(third.Path(), Named(2));

  first.Remove();
  EXPECT_FALSE(fs::exists(Named(0)));
  EXPECT_FALSE(fs::exists(Named(0) + ".lock"));
  TAutosaveClaim again;
  ASSERT_EQ(store.ClaimNewFile(again), TAutosaveResult::kOk);
  EXPECT_EQ(again.Path(), Named(0));
}

TEST_F(AutosaveStoreTest, LinksInTheFolderAreNeverFollowed) {
  TAutosaveStore store(folder);
  ASSERT_TRUE(store.PrepareFolder());
  const std::string victim = root + "/victim.txt";
  WriteText(victim, "keep me");
  fs::create_symlink(victim, Named(0));

  TAutosaveClaim claim;
  ASSERT_EQ(store.ClaimNewFile(claim), TAutosaveResult::kOk);
  EXPECT_EQ(claim.Path(), Named(1));
  EXPECT_TRUE(store.ClaimRecoverableFiles().empty());  // the link is not a recoverable file
  TAutosaveClaim linked;
  EXPECT_FALSE(store.ClaimExisting(Named(0), linked));
  EXPECT_EQ(ReadText(victim), "keep me");
}

TEST_F(AutosaveStoreTest, RecoverySkipsFilesARunningWindowHolds) {
  TAutosaveStore store(folder);
  TAutosaveClaim held, crashed, empty;
  ASSERT_EQ(store.ClaimNewFile(held), TAutosaveResult::kOk);
  ASSERT_EQ(store.ClaimNewFile(crashed), TAutosaveResult::kOk);
  ASSERT_EQ(store.ClaimNewFile(empty), TAutosaveResult::kOk);
  WriteText(held.Path(), "score 0");
  WriteText(crashed.Path(), "score 1");
  const std::string crashedPath = crashed.Path();
  const std::string emptyPath = empty.Path();
  crashed.Release();  // as a process that ended: the lock goes, the file stays
  empty.Release();    // ended before its first autosave

  // Another instance (a separate process, so a separate lock owner) lists what it may recover.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    std::string listed;
    for (const TAutosaveClaim& c : TAutosaveStore(folder).ClaimRecoverableFiles())
      listed += c.Path() + "\n";
    (void)!::write(pipeFds[1], listed.data(), listed.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string listed;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) listed.append(buffer, n);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);

  EXPECT_EQ(listed, crashedPath + "\n");
  EXPECT_FALSE(fs::exists(emptyPath));  // nothing to recover in it
  EXPECT_EQ(ReadText(held.Path()), "score 0");
}

TEST_F(AutosaveStoreTest, EveryNameTakenIsReported) {
  TAutosaveStore store(folder);
  ASSERT_TRUE(store.PrepareFolder());
  for (int n = 0; n < kAutosaveNameCount; ++n) WriteText(Named(n), "x");
  TAutosaveClaim claim;
  EXPECT_EQ(store.ClaimNewFile(claim), TAutosaveResult::kAllNamesTaken);
  EXPECT_FALSE(claim.IsHeld());

  fs::remove(Named(999));
  ASSERT_EQ(store.ClaimNewFile(claim), TAutosaveResult::kOk);
  EXPECT_EQ(claim.Path(), Named(999));
}

TEST_F(AutosaveStoreTest, ClaimExistingStaysInsideTheFolder) {
  TAutosaveStore store(folder);
  ASSERT_TRUE(store.PrepareFolder());
  const std::string outside = root + "/kvt000.asv";
  WriteText(outside, "x");
  TAutosaveClaim claim;
  EXPECT_FALSE(store.ClaimExisting(outside, claim));
  EXPECT_FALSE(store.ClaimExisting(folder + "/../kvt000.asv", claim));
  WriteText(Named(5), "x");
  EXPECT_TRUE(store.ClaimExisting(Named(5), claim));
  TAutosaveClaim second;
  EXPECT_FALSE(store.ClaimExisting(Named(5), second));  // held by the first claim
}

}  // namespace
}  // namespace kvt
