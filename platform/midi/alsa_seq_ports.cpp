#include "platform/midi/alsa_seq_ports.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "midi/devices/device_names.h"

namespace kvt {

namespace {

snd_seq_t* OpenClient(int mode) {
  snd_seq_t* seq = nullptr;
  if (snd_seq_open(&seq, "default", mode, SND_SEQ_NONBLOCK) < 0) return nullptr;
  snd_seq_set_client_name(seq, kAlsaClientName);
  return seq;
}

}  // namespace

bool AlsaSequencerPresent() { return access("/dev/snd/seq", F_OK) == 0; }

std::shared_ptr<TAlsaSeqClient> TAlsaSeqClient::Open() {
  if (!AlsaSequencerPresent()) return nullptr;
  std::shared_ptr<TAlsaSeqClient> client(new TAlsaSeqClient());
  client->seq = OpenClient(SND_SEQ_OPEN_OUTPUT);
  if (!client->seq) return nullptr;
  return client;
}

TAlsaSeqClient::~TAlsaSeqClient() {
  if (seq) snd_seq_close(seq);
}

std::vector<TAlsaPortAddress> TAlsaSeqClient::ListPorts(bool outputs) {
  std::vector<TAlsaPortAddress> ports;
  const unsigned int need = outputs ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE
                                    : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
  const int self = snd_seq_client_id(seq);
  snd_seq_client_info_t* clientInfo = nullptr;
  snd_seq_port_info_t* portInfo = nullptr;
  snd_seq_client_info_alloca(&clientInfo);
  snd_seq_port_info_alloca(&portInfo);
  snd_seq_client_info_set_client(clientInfo, -1);
  while (snd_seq_query_next_client(seq, clientInfo) >= 0) {
    const int client = snd_seq_client_info_get_client(clientInfo);
    if (client == self || client == SND_SEQ_CLIENT_SYSTEM) continue;
    snd_seq_port_info_set_client(portInfo, client);
    snd_seq_port_info_set_port(portInfo, -1);
    while (snd_seq_query_next_port(seq, portInfo) >= 0) {
      if ((snd_seq_port_info_get_capability(portInfo) & need) != need) continue;
      if (!(snd_seq_port_info_get_type(portInfo) & SND_SEQ_PORT_TYPE_MIDI_GENERIC)) continue;
      const char* name = snd_seq_port_info_get_name(portInfo);
      ports.push_back({client, snd_seq_port_info_get_port(portInfo), name ? name : ""});
    }
  }
  return ports;
}

std::unique_ptr<TAlsaOutPort> TAlsaOutPort::Open(std::shared_ptr<TAlsaSeqClient> client,
                                                 const TAlsaPortAddress& target) {
  if (!client) return nullptr;
  const int port = snd_seq_create_simple_port(
      client->Handle(), "out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0) return nullptr;
  if (snd_seq_connect_to(client->Handle(), port, target.client, target.port) < 0) {
    snd_seq_delete_simple_port(client->Handle(), port);
    return nullptr;
  }
  std::unique_ptr<TAlsaOutPort> out(new TAlsaOutPort(std::move(client), port));
  if (!out->codec.IsValid()) return nullptr;
  return out;
}

TAlsaOutPort::~TAlsaOutPort() { snd_seq_delete_simple_port(client->Handle(), port); }

TMidiSendResult TAlsaOutPort::Send(uint32_t shortMsg, int64_t) {
  snd_seq_event_t event;
  {
    std::lock_guard<std::mutex> lock(codecMutex);
    if (!codec.Encode(shortMsg, event)) return TMidiSendResult::kDone;
  }
  snd_seq_ev_set_source(&event, port);
  snd_seq_ev_set_subs(&event);
  snd_seq_ev_set_direct(&event);
  std::lock_guard<std::mutex> lock(client->SendMutex());
  const int result = snd_seq_event_output_direct(client->Handle(), &event);
  return result == -EAGAIN ? TMidiSendResult::kNotReady : TMidiSendResult::kDone;
}

std::unique_ptr<TAlsaInPort> TAlsaInPort::Open(const TAlsaPortAddress& source,
                                               TMidiInputSink& sink) {
  if (!AlsaSequencerPresent()) return nullptr;
  std::unique_ptr<TAlsaInPort> in(new TAlsaInPort(sink));
  in->seq = OpenClient(SND_SEQ_OPEN_INPUT);
  if (!in->seq) return nullptr;
  const int port = snd_seq_create_simple_port(
      in->seq, "in", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
      SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
  if (port < 0 || snd_seq_connect_from(in->seq, port, source.client, source.port) < 0) {
    snd_seq_close(in->seq);
    in->seq = nullptr;
    return nullptr;
  }
  TAlsaInPort* self = in.get();
  in->thread = std::thread([self] { self->Run(); });
  return in;
}

TAlsaInPort::~TAlsaInPort() {
  stopping = true;
  if (thread.joinable()) thread.join();
  if (seq) snd_seq_close(seq);
}

void TAlsaInPort::Run() {
  TAlsaMidiCodec codec;
  const int count = snd_seq_poll_descriptors_count(seq, POLLIN);
  std::vector<pollfd> fds(static_cast<size_t>(count > 0 ? count : 0));
  if (fds.empty() || !codec.IsValid()) return;
  snd_seq_poll_descriptors(seq, fds.data(), static_cast<unsigned int>(fds.size()), POLLIN);
  while (!stopping.load()) {
    // A short poll keeps the close prompt without another wake-up channel.
    if (poll(fds.data(), fds.size(), 50) <= 0) continue;
    snd_seq_event_t* event = nullptr;
    while (snd_seq_event_input(seq, &event) >= 0 && event) {
      uint32_t msg = 0;
      if (codec.Decode(*event, msg)) sink.OnShortMessage(msg);
      event = nullptr;
    }
  }
}

}  // namespace kvt
