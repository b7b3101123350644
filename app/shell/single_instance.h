#pragma once
// One editor per user: the first instance listens on a local socket named after the frame
// class ("TarlowmedeVezeroza2") in $XDG_RUNTIME_DIR, owner-only; a second start connects,
// sends its arguments as one hand-over frame (app/hand_over_message.h), waits for the
// acknowledgement and ends. A socket file that nothing answers on is stale and is removed;
// one that answers belongs to a running instance and is left alone.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/hand_over_message.h"

class QLocalServer;
class QLocalSocket;

namespace kvt {

inline constexpr char kSingleInstanceName[] = "TarlowmedeVezeroza2";

// The socket path: $XDG_RUNTIME_DIR/TarlowmedeVezeroza2; without a usable $XDG_RUNTIME_DIR,
// TarlowmedeVezeroza2 in the private folder "kvt2-<uid>" of the temporary folder (see
// PreparePrivateRuntimeFolder). Empty when that folder is not ours: the caller then runs as a
// lone instance, neither handing over nor listening.
std::string SingleInstanceSocketPath();

// Makes `folder` with mode 0700 (mkdir, which never follows or reuses anything already there)
// or checks the one that exists: true only for a real folder, not a link, owned by this user
// and open to nobody else. A folder that fails is left alone, never repaired: in a shared
// temporary folder its maker may not be us.
bool PreparePrivateRuntimeFolder(const std::string& folder);
// "<temporary folder>/kvt2-<uid>": the socket's folder without a usable $XDG_RUNTIME_DIR.
std::string TemporaryRuntimeFolder();

// Sends the frame to a running instance. False when none answers at the path (start-up then
// goes on); true once the frame was sent, acknowledged or not (the running instance has it).
// Needs no application object.
bool HandOverToRunningInstance(const std::string& socketPath,
                               const std::vector<THandOverEntry>& entries, int timeoutMs = 5000);

// The first instance's listener. The handler runs from the event loop after the sender has
// been acknowledged, so a question it asks never keeps the second start waiting. UI thread.
class TSingleInstanceServer final : public QObject {
public:
  using THandler = std::function<void(std::vector<THandOverEntry> entries)>;

  TSingleInstanceServer(std::string socketPath, THandler handler, QObject* parent = nullptr);
  ~TSingleInstanceServer() override;

  // Listens; removes a stale socket first. False when another instance answers on the path or
  // the socket cannot be made.
  bool Listen();
  bool IsListening() const;

  // How long a sender may take to deliver its frame.
  static constexpr int kReceiveTimeoutMs = 5000;

private:
  void Accept();
  void Receive(QLocalSocket* socket);

  std::string path;
  THandler handler;
  QLocalServer* server;
};

}  // namespace kvt
