#pragma once
// In-memory stand-ins for the sequencer's clock, timer, UI post and ports, and a catalog of
// them, so the sequencer and the device manager run under virtual time without devices.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "midi/devices/kv_midi.h"
#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"

namespace kvt::test {

// A clock that moves only when told; a retry pause moves it too.
class TFakeClock final : public TMidiClock {
public:
  int64_t NowMs() const override { return now.load(); }
  void SleepMs(int ms) const override {
    now += ms;
    ++sleeps;
  }
  void Set(int64_t ms) { now = ms; }
  void Advance(int64_t ms) { now += ms; }

  mutable std::atomic<int64_t> now{1000};
  mutable std::atomic<int> sleeps{0};
};

// Holds the tick function; the test fires it.
class TFakeTimer final : public TMidiTimer {
public:
  bool Start(int periodMs, std::function<void()> fn) override {
    if (refuse) return false;
    period = periodMs;
    tick = std::move(fn);
    return true;
  }
  void Stop() override {
    tick = nullptr;
    if (onStop) onStop();
  }
  void Fire() {
    if (tick) tick();
  }
  bool Running() const { return tick != nullptr; }

  bool refuse = false;
  int period = 0;
  std::function<void()> tick;
  std::function<void()> onStop;
};

// Posted calls wait until the test pumps them (the UI thread's queue).
class TQueuePost final : public TMidiUiPost {
public:
  void Post(std::function<void()> call) override {
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back(std::move(call));
  }
  // Runs what is queued, including calls those calls post; returns how many ran.
  int Pump() {
    int ran = 0;
    for (;;) {
      std::function<void()> call;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (calls.empty()) return ran;
        call = std::move(calls.front());
        calls.pop_front();
      }
      call();
      ++ran;
    }
  }
  size_t Pending() {
    std::lock_guard<std::mutex> lock(mutex);
    return calls.size();
  }

private:
  std::mutex mutex;
  std::deque<std::function<void()>> calls;
};

struct TSentMsg {
  uint32_t msg = 0;
  int64_t dueMs = 0;
  int64_t sentMs = 0;  // the clock when it was sent
  std::thread::id thread;
};

// Records what it is sent; can refuse the next sends as not ready.
class TRecordingPort final : public TMidiOutPort {
public:
  explicit TRecordingPort(const TMidiClock* clock = nullptr) : clock(clock) {}
  TMidiSendResult Send(uint32_t shortMsg, int64_t dueMs) override {
    std::lock_guard<std::mutex> lock(mutex);
    if (notReady > 0) {
      --notReady;
      ++refused;
      return TMidiSendResult::kNotReady;
    }
    sent.push_back({shortMsg, dueMs, clock ? clock->NowMs() : 0, std::this_thread::get_id()});
    if (log) log->push_back("send");
    return TMidiSendResult::kDone;
  }
  void DropScheduled() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++drops;
    if (log) log->push_back("drop");
  }
  std::vector<TSentMsg> Sent() {
    std::lock_guard<std::mutex> lock(mutex);
    return sent;
  }
  std::vector<uint32_t> Messages() {
    std::vector<uint32_t> out;
    for (const TSentMsg& s : Sent()) out.push_back(s.msg);
    return out;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    sent.clear();
  }
  // The keys (channel << 8 | note) still sounding after everything sent so far: a note-on
  // strikes, a note off releases, all notes off (CC 123) releases the channel.
  std::set<int> Sounding() {
    std::set<int> keys;
    for (const TSentMsg& s : Sent()) {
      const int status = s.msg & 0xFF, d1 = (s.msg >> 8) & 0x7F, d2 = (s.msg >> 16) & 0x7F;
      const int channel = status & 15;
      if ((status & 0xF0) == 0x90 && d2 > 0) keys.insert(channel << 8 | d1);
      if ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && d2 == 0))
        keys.erase(channel << 8 | d1);
      if ((status & 0xF0) == 0xB0 && d1 == 123)
        for (int k = 0; k < 128; ++k) keys.erase(channel << 8 | k);
    }
    return keys;
  }

  int notReady = 0;
  int refused = 0;
  int drops = 0;
  std::vector<std::string>* log = nullptr;

private:
  const TMidiClock* clock;
  std::mutex mutex;
  std::vector<TSentMsg> sent;
};

// An output handed out by the catalog that forwards to a port the test keeps.
class TForwardPort final : public TMidiOutPort {
public:
  explicit TForwardPort(TMidiOutPort& target) : target(target) {}
  TMidiSendResult Send(uint32_t shortMsg, int64_t dueMs) override {
    return target.Send(shortMsg, dueMs);
  }
  void DropScheduled() override { target.DropScheduled(); }

private:
  TMidiOutPort& target;
};

class TFakeInPort final : public TMidiInPort {
public:
  TFakeInPort(TMidiInputSink& sink, std::vector<TMidiInputSink*>& open) : open(open) {
    open.push_back(&sink);
  }
  ~TFakeInPort() override { open.pop_back(); }

private:
  std::vector<TMidiInputSink*>& open;
};

// A catalog of named devices; output i records into outputs[i].
class TFakeCatalog final : public TMidiDeviceCatalog {
public:
  explicit TFakeCatalog(std::vector<std::string> outNames, std::vector<std::string> inNames = {})
      : outNames(std::move(outNames)), inNames(std::move(inNames)) {
    for (size_t i = 0; i < this->outNames.size(); ++i)
      outputs.push_back(std::make_unique<TRecordingPort>());
  }
  std::vector<std::string> GetOutputNames() override { return outNames; }
  std::vector<std::string> GetInputNames() override { return inNames; }
  std::unique_ptr<TMidiOutPort> OpenOutput(int id) override {
    opens.push_back(id);
    if (id < 0 || id >= static_cast<int>(outputs.size()) || failing.count(id)) return nullptr;
    return std::make_unique<TForwardPort>(*outputs[id]);
  }
  std::unique_ptr<TMidiInPort> OpenInput(int id, TMidiInputSink& sink) override {
    if (id < 0 || id >= static_cast<int>(inNames.size()) || failingInputs.count(id))
      return nullptr;
    return std::make_unique<TFakeInPort>(sink, openInputs);
  }
  void SetSoundFont(const std::string& path) override { soundFont = path; }

  std::vector<std::string> outNames, inNames;
  std::vector<std::unique_ptr<TRecordingPort>> outputs;
  std::vector<int> opens;
  std::set<int> failing, failingInputs;
  std::vector<TMidiInputSink*> openInputs;
  std::string soundFont;
};

// Records the sequencer's messages; may run a reaction for each.
class TRecordingReceiver final : public TMidiSeqReceiver {
public:
  void OnSequencerMessage(int message) override {
    messages.push_back(message);
    if (react) react(message);
  }
  std::vector<int> messages;
  std::function<void(int)> react;
};

}  // namespace kvt::test
