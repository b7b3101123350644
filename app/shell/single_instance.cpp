#include "app/shell/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <span>

#include "utils/path_utils.h"

namespace kvt {

namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// The frame being received on one connection.
struct TReceiveState {
  QByteArray bytes;
  bool answered = false;
};

constexpr char kStateProperty[] = "kvtReceived";

}  // namespace

std::string SingleInstanceSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    std::string path = runtime;
    AppendPathComponent(path, kSingleInstanceName);
    return path;
  }
  // A shared temporary folder: the socket goes into a folder of ours, so nobody else can
  // put a socket of theirs where a second start would hand its paths over.
  std::string folder = TemporaryRuntimeFolder();
  if (!PreparePrivateRuntimeFolder(folder)) return {};
  AppendPathComponent(folder, kSingleInstanceName);
  return folder;
}

std::string TemporaryRuntimeFolder() {
  std::string folder = QDir::tempPath().toStdString();
  AppendPathComponent(folder, "kvt2-" + std::to_string(::geteuid()));
  return folder;
}

bool PreparePrivateRuntimeFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

bool HandOverToRunningInstance(const std::string& socketPath,
                               const std::vector<THandOverEntry>& entries, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(ToQString(socketPath));
  if (!socket.waitForConnected(timeoutMs)) return false;
  const std::vector<uint8_t> frame = EncodeHandOver(entries);
  socket.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
  while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(timeoutMs)) {
  }
  // The acknowledgement comes before the running instance acts on anything.
  if (socket.bytesAvailable() == 0) socket.waitForReadyRead(timeoutMs);
  socket.disconnectFromServer();
  return true;
}

TSingleInstanceServer::TSingleInstanceServer(std::string socketPath, THandler handler,
                                             QObject* parent)
    : QObject(parent),
      path(std::move(socketPath)),
      handler(std::move(handler)),
      server(new QLocalServer(this)) {
  server->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server, &QLocalServer::newConnection, this, &TSingleInstanceServer::Accept);
}

TSingleInstanceServer::~TSingleInstanceServer() = default;

bool TSingleInstanceServer::Listen() {
  // Someone answering means a running instance: its socket stays. (Listening would not tell:
  // an owner-only socket is made aside and renamed over the path.)
  QLocalSocket probe;
  probe.connectToServer(ToQString(path));
  if (probe.waitForConnected(1000)) {
    probe.disconnectFromServer();
    return false;
  }
  // Nothing answers: a socket file there is stale.
  QLocalServer::removeServer(ToQString(path));
  return server->listen(ToQString(path));
}

bool TSingleInstanceServer::IsListening() const { return server->isListening(); }

void TSingleInstanceServer::Accept() {
  while (QLocalSocket* socket = server->nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Receive(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A sender that never finishes its frame loses the connection.
    QPointer<QLocalSocket> guard(socket);
    QTimer::singleShot(kReceiveTimeoutMs, this, [guard] {
      if (guard) guard->abort();
    });
    Receive(socket);
  }
}

void TSingleInstanceServer::Receive(QLocalSocket* socket) {
  QByteArray received = socket->property(kStateProperty).toByteArray();
  // Never read past the bound: a frame longer than it is dropped whole.
  const qint64 room = static_cast<qint64>(kMaxHandOverBytes) - received.size();
  received += socket->read(room);
  socket->setProperty(kStateProperty, received);
  if (received.size() < static_cast<qsizetype>(kHandOverLengthBytes)) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(received.constData());
  const std::optional<uint32_t> length = DecodeHandOverLength(
      std::span<const uint8_t, kHandOverLengthBytes>(bytes, kHandOverLengthBytes));
  if (!length) {
    socket->abort();
    return;
  }
  const size_t total = kHandOverLengthBytes + *length;
  if (static_cast<size_t>(received.size()) < total) return;
  if (static_cast<size_t>(received.size()) > total) {
    socket->abort();  // more than one frame: not a sender of ours
    return;
  }
  disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
  std::optional<std::vector<THandOverEntry>> entries =
      DecodeHandOverBody(std::span<const uint8_t>(bytes + kHandOverLengthBytes, *length));
  const char ack = static_cast<char>(kHandOverAck);
  socket->write(&ack, 1);
  socket->flush();
  socket->disconnectFromServer();
  if (!entries) return;
  // After the acknowledgement, from the event loop: the sender is gone before any question.
  QMetaObject::invokeMethod(
      this, [this, list = std::move(*entries)]() mutable { handler(std::move(list)); },
      Qt::QueuedConnection);
}

}  // namespace kvt
