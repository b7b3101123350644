#include "utils/internet_access.h"

#include "tests/utils/temp_folder.h"
#include "utils/file_utils.h"
#include "utils/stream.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kvt {
namespace {

// Keeps what is written in memory and notes the largest single write. With a capacity, a
// write past it fails the stream, as a full disk would.
class VectorStream : public TKRVStream {
public:
  explicit VectorStream(size_t capacity = SIZE_MAX) : capacity(capacity) {}
  void PutByte(int b) override {
    if (bytes.size() >= capacity) {
      SetFailed();
      return;
    }
    bytes.push_back(static_cast<char>(b));
  }
  void Write(const void* buffer, int n) override {
    largestWrite = std::max(largestWrite, n);
    TKRVStream::Write(buffer, n);
  }
  int32_t Size() override { return static_cast<int32_t>(bytes.size()); }

  std::string bytes;
  int largestWrite = 0;
  size_t capacity;
};

// An HTTP server on 127.0.0.1 and a free port, in a thread of the test. Each connection
// gets one canned response, chosen by method and path, and is then closed.
class TLocalHttpServer {
public:
  TLocalHttpServer() {
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener, 16) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port = ntohs(address.sin_port);
    thread = std::thread([this] { Serve(); });
  }
  ~TLocalHttpServer() {
    stop = true;
    if (thread.joinable()) thread.join();
    if (listener >= 0) ::close(listener);
  }

  int Port() const { return port; }
  void Route(const std::string& request, const std::string& response) {
    std::lock_guard<std::mutex> lock(mutex);
    routes[request] = response;
  }
  // The request heads received so far.
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex);
    return requests;
  }

private:
  void Serve() {
    while (!stop) {
      pollfd waiting{listener, POLLIN, 0};
      if (::poll(&waiting, 1, 20) <= 0) continue;
      int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      Answer(client);
      ::close(client);
    }
  }

  void Answer(int client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      pollfd readable{client, POLLIN, 0};
      if (::poll(&readable, 1, 5000) <= 0) return;
      ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) return;
      head.append(buffer, static_cast<size_t>(got));
      if (head[0] == '\x16') break;  // a TLS handshake, not HTTP: noted and dropped
    }
    std::string requestLine = head.substr(0, head.find(' ', head.find(' ') + 1));
    std::string response = "HTTP/1.1 500 No Route\r\nContent-Length: 0\r\n\r\n";
    {
      std::lock_guard<std::mutex> lock(mutex);
      requests.push_back(head);
      if (head[0] == '\x16') return;
      auto found = routes.find(requestLine);
      if (found != routes.end()) response = found->second;
    }
    for (size_t sent = 0; sent < response.size();) {
      ssize_t n = ::send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
    ::shutdown(client, SHUT_WR);
  }

  int listener = -1;
  int port = 0;
  std::atomic<bool> stop{false};
  std::thread thread;
  std::mutex mutex;
  std::map<std::string, std::string> routes;  // guarded by mutex
  std::vector<std::string> requests;          // guarded by mutex
};

std::string Response(const std::string& statusLine, const std::string& headers,
                     const std::string& body) {
  return "HTTP/1.1 " + statusLine + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

std::string Pattern(size_t n) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

class InternetAccessTest : public ::testing::Test {
protected:
  void SetUp() override {
    // Every request of these tests goes to 127.0.0.1 directly, never through a proxy.
    for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                             "all_proxy", "ALL_PROXY"}) {
      ::unsetenv(name);
    }
    ASSERT_GT(server.Port(), 0);
    ASSERT_TRUE(client.Open(u"127.0.0.1", server.Port(), false, u"kvt-test"));
  }

  TLocalHttpServer server;
  TKVInternetAccess client;
};

TEST_F(InternetAccessTest, GetDownloadsTheWholeBodyInSmallWrites) {
  const std::string body = Pattern(5000);
  server.Route("GET /files/big.bin", Response("200 OK", "", body));
  VectorStream stream;
  ASSERT_TRUE(client.Get("/files/big.bin", stream));
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(stream.bytes, body);
  EXPECT_FALSE(stream.IsError());
  EXPECT_LE(stream.largestWrite, 2048);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_NE(server.Requests()[0].find("User-Agent: kvt-test\r\n"), std::string::npos);
}

TEST_F(InternetAccessTest, ErrorStatusFailsButKeepsStatusAndBody) {
  server.Route("GET /missing", Response("404 Not Found", "", "no such page"));
  VectorStream stream;
  EXPECT_FALSE(client.Get("/missing", stream));
  EXPECT_EQ(client.GetStatus(), 404);
  EXPECT_EQ(stream.bytes, "no such page");
  EXPECT_FALSE(stream.IsFailed()) << "the body itself arrived whole";
}

// Regression: a body cut short by the server was taken for a complete download.
TEST_F(InternetAccessTest, TruncatedBodyIsAFailure) {
  std::string response = Response("200 OK", "", Pattern(5000));
  response.resize(response.size() - 2000);
  server.Route("GET /cut", response);
  VectorStream stream;
  EXPECT_FALSE(client.Get("/cut", stream));
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(stream.bytes, Pattern(3000));
  EXPECT_TRUE(stream.IsFailed());
}

TEST_F(InternetAccessTest, FailingStreamStopsTheDownload) {
  server.Route("GET /big", Response("200 OK", "", Pattern(100000)));
  VectorStream stream(1000);
  EXPECT_FALSE(client.Get("/big", stream));
  EXPECT_EQ(stream.bytes.size(), 1000u);
  EXPECT_LT(stream.Size(), 100000);
}

TEST_F(InternetAccessTest, RedirectIsFollowed) {
  server.Route("GET /old", "HTTP/1.1 302 Found\r\nLocation: /new\r\nContent-Length: 0\r\n"
                           "Connection: close\r\n\r\n");
  server.Route("GET /new", Response("200 OK", "", "moved here"));
  VectorStream stream;
  ASSERT_TRUE(client.Get("/old", stream));
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(stream.bytes, "moved here");
}

TEST_F(InternetAccessTest, PathIsPercentEncodedWhereItMustBe) {
  server.Route("GET /a%20b/%C3%BC?x=1,2", Response("200 OK", "", "ok"));
  VectorStream stream;
  EXPECT_TRUE(client.Get("/a b/\xC3\xBC?x=1,2", stream));
  EXPECT_EQ(stream.bytes, "ok");
}

struct HeadCase {
  const char* name;
  std::string response;
  bool ok;
  int32_t status;
  const char* tag;
};

TEST_F(InternetAccessTest, HeadReadsTheEntityTag) {
  const HeadCase cases[] = {
      {"quoted", Response("200 OK", "ETag: \"2.76\"\r\n", ""), true, 200, "\"2.76\""},
      {"plain, blanks around", Response("200 OK", "etag:   2.75  \r\n", ""), true, 200, "2.75"},
      {"Latin-1 byte", Response("200 OK", "ETag: caf\xE9\r\n", ""), true, 200, "caf\xC3\xA9"},
      {"no tag", Response("200 OK", "", ""), false, 200, ""},
      {"error status", Response("404 Not Found", "ETag: \"x\"\r\n", ""), false, 404, ""},
      {"too long", Response("200 OK", "ETag: " + std::string(600, 'v') + "\r\n", ""), false,
       200, ""},
  };
  for (const HeadCase& c : cases) {
    SCOPED_TRACE(c.name);
    server.Route("HEAD /version", c.response);
    TKVMemoryBlock tag;
    EXPECT_EQ(client.Head("/version", tag), c.ok);
    EXPECT_EQ(client.GetStatus(), c.status);
    if (c.ok) {
      EXPECT_STREQ(tag.Text(), c.tag);
    }
  }
  EXPECT_EQ(server.Requests().back().rfind("HEAD /version HTTP/1.1\r\n", 0), 0u);
}

TEST_F(InternetAccessTest, RequestsFailWhenNotOpen) {
  client.Close();
  EXPECT_FALSE(client.IsOpen());
  VectorStream stream;
  TKVMemoryBlock tag;
  EXPECT_FALSE(client.Get("/", stream));
  EXPECT_FALSE(client.Head("/", tag));
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(InternetAccessTest, OpenRefusesBadHostsAndPorts) {
  struct Case {
    const char16_t* host;
    int port;
  } cases[] = {{u"", 80},           {u"a/b", 80},      {u"a b", 80},      {u"user@host", 80},
               {u"host?x", 80},      {u"127.0.0.1", -1}, {u"127.0.0.1", 65536}};
  for (const Case& c : cases) {
    EXPECT_FALSE(client.Open(c.host, c.port, false, u"kvt-test"));
    EXPECT_FALSE(client.IsOpen());
  }
  EXPECT_FALSE(client.Open(nullptr, 80, false, nullptr));
}

TEST_F(InternetAccessTest, RefusedConnectionGivesStatusZero) {
  // A port that was just free: nothing listens there.
  int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length), 0);
  ::close(probe);

  ASSERT_TRUE(client.Open(u"127.0.0.1", ntohs(address.sin_port), false, nullptr));
  VectorStream stream;
  EXPECT_FALSE(client.Get("/", stream));
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_FALSE(stream.IsError()) << "nothing reached the stream";
}

// A child process with its standard output on a pipe; killed when the object goes.
class TChildProcess {
public:
  explicit TChildProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    out = pipeEnds[0];
  }
  ~TChildProcess() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    if (out >= 0) ::close(out);
  }
  // Waits for the child to end; its exit status, or -1.
  int Wait() {
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The first line of output, waiting at most 10 s.
  std::string ReadLine() {
    std::string line;
    char c;
    while (out >= 0) {
      pollfd readable{out, POLLIN, 0};
      if (::poll(&readable, 1, 10000) <= 0 || ::read(out, &c, 1) != 1 || c == '\n') break;
      line += c;
    }
    return line;
  }

private:
  pid_t pid = -1;
  int out = -1;
};

class InternetAccessTlsTest : public InternetAccessTest {
protected:
  void SetUp() override {
    InternetAccessTest::SetUp();
    if (!FileExists("/usr/bin/openssl") || !FileExists("/usr/bin/python3")) {
      GTEST_SKIP() << "openssl or /usr/bin/python3 missing";
    }
    ASSERT_TRUE(folder.IsValid());
    certificate = folder / "cert.pem";
    std::string key = folder / "key.pem";
    // A certificate of our own making for 127.0.0.1, trusted by nobody else.
    TChildProcess make({"/usr/bin/openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                        "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key, "-out",
                        certificate, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                        "subjectAltName=IP:127.0.0.1"});
    ASSERT_EQ(make.Wait(), 0);
    tlsServer = std::make_unique<TChildProcess>(std::vector<std::string>{
        "/usr/bin/python3", KVT_TEST_DATA_DIR "/tls_server.py", certificate, key});
    tlsPort = std::atoi(tlsServer->ReadLine().c_str());
    ASSERT_GT(tlsPort, 0);
  }

  TTempFolder folder;
  std::string certificate;
  std::unique_ptr<TChildProcess> tlsServer;
  int tlsPort = 0;
};

TEST_F(InternetAccessTlsTest, UntrustedCertificateFails) {
  ASSERT_TRUE(client.Open(u"127.0.0.1", tlsPort, true, u"kvt-test"));
  VectorStream stream;
  EXPECT_FALSE(client.Get("/", stream));
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_TRUE(stream.bytes.empty());
}

TEST_F(InternetAccessTlsTest, CertificateTrustedThroughCaFile) {
  client.SetCaFile(certificate);
  ASSERT_TRUE(client.Open(u"127.0.0.1", tlsPort, true, u"kvt-test"));
  VectorStream stream;
  ASSERT_TRUE(client.Get("/", stream));
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(stream.bytes, "secure hello");
}

TEST_F(InternetAccessTlsTest, SecureConnectionDoesNotSpeakPlainHttp) {
  // The plain server is not spoken to in the clear: the TLS handshake fails.
  ASSERT_TRUE(client.Open(u"127.0.0.1", server.Port(), true, nullptr));
  VectorStream stream;
  EXPECT_FALSE(client.Get("/", stream));
  EXPECT_EQ(client.GetStatus(), 0);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0][0], '\x16') << "a TLS handshake came first";
}

TEST_F(InternetAccessTest, TimeoutSetAfterOpenAppliesAtOnce) {
  // A listener whose queue is full: the kernel drops further connection requests, so a
  // connect hangs until the client gives up.
  int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
    fillers.push_back(filler);
  }

  ASSERT_TRUE(client.Open(u"127.0.0.1", ntohs(address.sin_port), false, nullptr));
  client.SetTimeout(300);
  VectorStream stream;
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Get("/", stream));
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  for (int filler : fillers) ::close(filler);
  ::close(listener);
}

}  // namespace
}  // namespace kvt
