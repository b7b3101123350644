#include "midi/events/hanging_note_guard.h"

#include <vector>

#include "midi/events/midi_file_buf.h"

namespace kvt {

namespace {

constexpr int kKeySlots = 16 * 16 * 128;  // port x channel x key
constexpr uint32_t kSilent = UINT32_MAX;

int KeySlot(const TMidiMsg& msg) {
  return (msg.GetPort() << 11) | (msg.GetChannel() << 7) | (msg.GetData1() & 127);
}

}  // namespace

int CloseHangingNotes(TMidiFileBuf& buffer, uint32_t endTime) {
  // Strike time of each sounding key; kSilent when released.
  std::vector<uint32_t> struck(kKeySlots, kSilent);
  std::vector<TMidiSongEvent> offs;
  const int count = buffer.GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiSongEvent& event = buffer.GetEvent(i);
    if (!event.msg.IsChannelMessage()) continue;
    const int slot = KeySlot(event.msg);
    if (event.msg.IsNoteOn()) {
      if (struck[static_cast<size_t>(slot)] != kSilent)
        offs.emplace_back(event.time, TMidiMsg::Channel(kMidiNoteOff, event.msg.GetPort(),
                                                        event.msg.GetChannel(),
                                                        event.msg.GetData1(), 0));
      struck[static_cast<size_t>(slot)] = event.time;
    } else if (event.msg.IsNoteOff()) {
      struck[static_cast<size_t>(slot)] = kSilent;
    }
  }
  for (int slot = 0; slot < kKeySlots; ++slot) {
    const uint32_t time = struck[static_cast<size_t>(slot)];
    if (time == kSilent) continue;
    const uint32_t end = endTime > time ? endTime : time + 1;
    offs.emplace_back(end, TMidiMsg::Channel(kMidiNoteOff, slot >> 11, (slot >> 7) & 15,
                                             slot & 127, 0));
  }
  for (const auto& off : offs) {
    buffer.AddEvent(off);
    if (buffer.GetOverflow()) return 0;
  }
  return static_cast<int>(offs.size());
}

}  // namespace kvt
