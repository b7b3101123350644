#pragma once
// The ALSA sequencer's ports as MIDI devices. Only where /dev/snd/seq exists: elsewhere the
// client does not open and the lists are empty, silently.
//
// TAlsaSeqClient: our sequencer client "kvt2" (non-blocking), which lists the other clients'
// ports: the writable ones are outputs, the readable ones inputs. An output (TAlsaOutPort)
// sends through a port of that client connected to the device; a device that cannot take an
// event now (-EAGAIN) answers kNotReady. An input (TAlsaInPort) has a client of its own with a
// thread that delivers each short message to the sink until the port is destroyed.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/devices/midi_ports.h"
#include "platform/midi/alsa_midi_codec.h"

namespace kvt {

inline constexpr char kAlsaClientName[] = "kvt2";

bool AlsaSequencerPresent();

struct TAlsaPortAddress {
  int client = 0;
  int port = 0;
  std::string name;
};

class TAlsaSeqClient {
public:
  // Null without a sequencer.
  static std::shared_ptr<TAlsaSeqClient> Open();
  ~TAlsaSeqClient();
  TAlsaSeqClient(const TAlsaSeqClient&) = delete;
  TAlsaSeqClient& operator=(const TAlsaSeqClient&) = delete;

  // The other clients' ports that can be written to (outputs) or read from (inputs).
  std::vector<TAlsaPortAddress> ListPorts(bool outputs);

  snd_seq_t* Handle() const { return seq; }
  std::mutex& SendMutex() { return sendMutex; }

private:
  TAlsaSeqClient() = default;
  snd_seq_t* seq = nullptr;
  std::mutex sendMutex;  // the handle is not safe for sending from several threads
};

class TAlsaOutPort final : public TMidiOutPort {
public:
  // Null when the port cannot be made or connected.
  static std::unique_ptr<TAlsaOutPort> Open(std::shared_ptr<TAlsaSeqClient> client,
                                            const TAlsaPortAddress& target);
  ~TAlsaOutPort() override;
  TMidiSendResult Send(uint32_t shortMsg, int64_t dueMs) override;

private:
  TAlsaOutPort(std::shared_ptr<TAlsaSeqClient> client, int port) : client(std::move(client)), port(port) {}
  std::shared_ptr<TAlsaSeqClient> client;
  int port;
  std::mutex codecMutex;
  TAlsaMidiCodec codec;
};

class TAlsaInPort final : public TMidiInPort {
public:
  static std::unique_ptr<TAlsaInPort> Open(const TAlsaPortAddress& source, TMidiInputSink& sink);
  ~TAlsaInPort() override;

private:
  explicit TAlsaInPort(TMidiInputSink& sink) : sink(sink) {}
  void Run();

  TMidiInputSink& sink;
  snd_seq_t* seq = nullptr;
  std::atomic<bool> stopping{false};
  std::thread thread;
};

}  // namespace kvt
