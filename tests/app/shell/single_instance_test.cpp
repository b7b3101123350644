// The single-instance socket: hand-over, acknowledgement, stale sockets, bad senders.

#include "app/shell/single_instance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <thread>

#include "tests/app/shell/shell_test_env.h"

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

}  // namespace
}  // namespace kvt
