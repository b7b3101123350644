// The single-instance socket: hand-over, acknowledgement, stale sockets, bad senders.

#include "app/shell/single_instance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "tests/app/shell/shell_test_env.h"
#include "tests/utils/scoped_env.h"

namespace kvt {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
  std::string SocketPath(const char* name) { return test::ShellTestFolder() + "/" + name; }

  // The handler's calls, as the event loop delivers them.
  std::vector<std::vector<THandOverEntry>> received;
  TSingleInstanceServer::THandler Handler() {
    return [this](std::vector<THandOverEntry> entries) { received.push_back(std::move(entries)); };
  }
};

TEST_F(SingleInstanceTest, SecondStartHandsOverAndIsAcknowledgedBeforeTheHandlerRuns) {
  const std::string path = SocketPath("s1");
  TSingleInstanceServer server(path, Handler());
  ASSERT_TRUE(server.Listen());
  const std::vector<THandOverEntry> entries = {{THandOverKind::kArgument, "/a/b.kvt"},
                                               {THandOverKind::kArgument, "/a/c.kvt"}};
  // The sender blocks on its own thread, as a second process would.
  bool handedOver = false;
  std::thread sender([&] { handedOver = HandOverToRunningInstance(path, entries, 5000); });
  for (int i = 0; i < 200 && received.empty(); ++i) QTest::qWait(10);
  sender.join();
  EXPECT_TRUE(handedOver);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], entries);
}

TEST_F(SingleInstanceTest, NothingListeningMeansNoInstance) {
  EXPECT_FALSE(HandOverToRunningInstance(SocketPath("none"), {}, 200));
}

TEST_F(SingleInstanceTest, StaleSocketIsReplacedAndALiveOneKept) {
  const std::string path = SocketPath("s2");
  {
    // A socket file left by an instance that died: bound, never listened on.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
  }
  TSingleInstanceServer first(path, Handler());
  ASSERT_TRUE(first.Listen());
  TSingleInstanceServer second(path, Handler());
  EXPECT_FALSE(second.Listen());  // the first answers, so its socket stays
  EXPECT_TRUE(first.IsListening());
  bool handedOver = false;
  std::thread sender([&] { handedOver = HandOverToRunningInstance(path, {}, 5000); });
  for (int i = 0; i < 200 && received.empty(); ++i) QTest::qWait(10);
  sender.join();
  EXPECT_TRUE(handedOver);
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(SingleInstanceTest, MalformedAndOversizedFramesAreDropped) {
  const std::string path = SocketPath("s3");
  TSingleInstanceServer server(path, Handler());
  ASSERT_TRUE(server.Listen());
  const QByteArray frames[] = {
      QByteArray("\xFF\xFF\xFF\x7F", 4),  // length over the bound
      QByteArray("\x09\x00\x00\x00\x01\x00\x00\x00\x07\x00\x00\x00\x00", 13),  // unknown kind
  };
  for (const QByteArray& frame : frames) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    ASSERT_TRUE(socket.waitForConnected(1000));
    socket.write(frame);
    socket.flush();
    for (int i = 0; i < 50 && socket.state() == QLocalSocket::ConnectedState; ++i) {
      QTest::qWait(10);
      socket.waitForReadyRead(1);
    }
  }
  QTest::qWait(50);
  EXPECT_TRUE(received.empty());
  EXPECT_TRUE(server.IsListening());
}

// Without $XDG_RUNTIME_DIR the socket lives in a folder of ours in the shared temporary folder;
// whatever else is found under that name is refused, never used or repaired.
TEST_F(SingleInstanceTest, TheTemporaryFolderFallbackIsPrivateOrRefused) {
  namespace fs = std::filesystem;
  const fs::path temporary = fs::path(test::ShellTestFolder()) / "shared-tmp";
  fs::create_directories(temporary);
  TScopedEnv noRuntime("XDG_RUNTIME_DIR", nullptr);
  TScopedEnv tmp("TMPDIR", temporary.c_str());
  const fs::path folder = TemporaryRuntimeFolder();
  ASSERT_EQ(folder.parent_path(), temporary);
  EXPECT_EQ(folder.filename(), "kvt2-" + std::to_string(geteuid()));

  // Made when missing: mode 0700, the socket inside, and it serves.
  const std::string path = SingleInstanceSocketPath();
  ASSERT_EQ(path, (folder / kSingleInstanceName).string());
  struct stat st {};
  ASSERT_EQ(lstat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  {
    TSingleInstanceServer server(path, Handler());
    ASSERT_TRUE(server.Listen());
    std::thread sender([&] { EXPECT_TRUE(HandOverToRunningInstance(path, {}, 5000)); });
    for (int i = 0; i < 200 && received.empty(); ++i) QTest::qWait(10);
    sender.join();
    EXPECT_EQ(received.size(), 1u);
  }
  EXPECT_EQ(SingleInstanceSocketPath(), path) << "an existing private folder is reused";

  // What someone else may have left under the name.
  const fs::path elsewhere = temporary / "elsewhere";
  fs::create_directories(elsewhere);
  fs::permissions(elsewhere, fs::perms::owner_all);
  struct TCase {
    const char* what;
    std::function<void()> make;
  };
  const TCase cases[] = {
      {"a link to a private folder", [&] { fs::create_directory_symlink(elsewhere, folder); }},
      {"a dangling link", [&] { fs::create_directory_symlink(temporary / "none", folder); }},
      {"a plain file", [&] { std::ofstream(folder) << "x"; }},
      {"a folder others may write",
       [&] {
         fs::create_directory(folder);
         fs::permissions(folder, fs::perms::all);
       }},
      {"a folder others may read",
       [&] {
         fs::create_directory(folder);
         fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read);
       }},
  };
  for (const TCase& c : cases) {
    fs::remove_all(folder);
    c.make();
    const fs::file_status before = fs::symlink_status(folder);
    EXPECT_EQ(SingleInstanceSocketPath(), "") << c.what;
    EXPECT_FALSE(PreparePrivateRuntimeFolder(folder)) << c.what;
    EXPECT_EQ(fs::symlink_status(folder).type(), before.type()) << c.what << ": left alone";
    EXPECT_EQ(fs::symlink_status(folder).permissions(), before.permissions()) << c.what;
  }
  EXPECT_EQ(fs::directory_iterator(elsewhere), fs::directory_iterator()) << "nothing made there";

  // A folder of another user (only root can make one to try).
  fs::remove_all(folder);
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_all);
  if (geteuid() == 0 && chown(folder.c_str(), 4242, 4242) == 0) {
    EXPECT_FALSE(PreparePrivateRuntimeFolder(folder));
    EXPECT_EQ(SingleInstanceSocketPath(), "");
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace kvt
