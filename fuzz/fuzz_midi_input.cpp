// Incoming MIDI is outside data: any stream of words must pass the sequencer's input (echo,
// input window, record ring), the port state tracker and the ALSA codec without fault. System
// messages never reach the record ring; a word the codec encodes decodes back to itself; the
// tracker's restore list stays within its fixed arrays.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "midi/devices/kv_midi.h"
#include "midi/devices/port_state_tracker.h"
#include "platform/midi/alsa_midi_codec.h"

namespace {

class TClock final : public kvt::TMidiClock {
public:
  int64_t NowMs() const override { return now; }
  void SleepMs(int ms) const override { now += ms; }
  mutable int64_t now = 0;
};
class TTimer final : public kvt::TMidiTimer {
public:
  bool Start(int, std::function<void()>) override { return true; }
  void Stop() override {}
};
class TPost final : public kvt::TMidiUiPost {
public:
  void Post(std::function<void()> call) override { calls.push_back(std::move(call)); }
  std::vector<std::function<void()>> calls;
};
class TPort final : public kvt::TMidiOutPort {
public:
  kvt::TMidiSendResult Send(uint32_t msg, int64_t) override {
    if ((msg & 0xFF) < 0x80 || msg > 0xFFFFFF) std::abort();
    return ++count % 7 == 0 ? kvt::TMidiSendResult::kNotReady : kvt::TMidiSendResult::kDone;
  }
  int count = 0;
};
class TWindow final : public kvt::TMidiInputReceiver {
public:
  void OnMidiInput(uint32_t msg) override {
    if ((msg & 0xFF) >= 0xF0) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x10000) return 0;
  TClock clock;
  TTimer timer;
  TPost post;
  TPort echo;
  TWindow window;
  kvt::TPortStateTracker tracker;
  kvt::TAlsaMidiCodec codec;
  {
    kvt::TKVMidi seq(clock, timer, post);
    seq.SetInputWindow(&window);
    for (size_t i = 0; i + 4 <= size; i += 4) {
      const uint32_t word = data[i] | data[i + 1] << 8 | data[i + 2] << 16 |
                            static_cast<uint32_t>(data[i + 3]) << 24;
      clock.now += data[i + 3] & 0x0F;
      switch ((data[i + 3] >> 4) & 7) {
        case 0: seq.OnShortMessage(word); break;
        case 1: tracker.Track(kvt::TMidiMsg(word)); break;
        case 2: seq.SetRecordMode((word & 1) != 0); break;
        case 3: seq.SetEcho((word & 1) ? &echo : nullptr, static_cast<int>(word >> 8 & 0x1F) - 2); break;
        case 4: {
          kvt::TRecordedEvent event;
          while (seq.GetRecordedEvent(event))
            if (event.msg.GetStatus() >= 0xF0 || event.msg.GetStatus() < 0x80) std::abort();
          break;
        }
        default: {
          snd_seq_event_t event;
          // Bytes past the status's data bytes mean nothing and do not come back.
          const int count = kvt::TAlsaMidiCodec::DataBytes(static_cast<int>(word & 0xFF));
          const uint32_t msg = word & (count < 0 ? 0xFFFFFFu : (1u << (8 * (count + 1))) - 1);
          uint32_t back = 0;
          if (codec.Encode(msg, event) && codec.Decode(event, back) && back != msg) {
            // A note-on of velocity 0 may come back as the note off it means.
            if (!((msg & 0xF0) == 0x90 && (msg >> 16) == 0 && back == ((msg & 0xFF0F) | 0x80)))
              std::abort();
          }
          break;
        }
      }
    }
    for (auto& call : post.calls) call();
  }
  std::vector<kvt::TMidiMsg> out;
  tracker.AppendRestore(out);
  tracker.AppendSilence(out);
  if (out.size() > 128 * 2 + 256 + 64 * 4 + 16) std::abort();
  return 0;
}
