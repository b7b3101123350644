// Raw MIDI records as the MIDI file reader hands them on: records of 9 bytes (an operation,
// a 32-bit time, a 32-bit word) go into a small buffer that must stay sorted and answer every
// query without fault.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "midi/events/mfb_index.h"
#include "midi/events/midi_file_buf.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kvt::TMidiFileBuf buf(1);
  for (size_t i = 0; i + 9 <= size && i < 9 * 6000; i += 9) {
    const uint32_t time = Le32(data + i + 1) % 100000;
    const uint32_t word = Le32(data + i + 5);
    switch (data[i] & 7) {
      case 0:
        buf.SetStartOffset(time % 5000);
        break;
      case 1:
        buf.SetEndCutoff(time);
        break;
      case 2:
        buf.SetFilter(static_cast<uint16_t>(word));
        break;
      case 3:
        buf.AddPause(static_cast<int>(word % 100));
        break;
      default:
        buf.AddEvent(time, kvt::TMidiMsg(word));
        break;
    }
  }
  const int count = buf.GetEventCount();
  for (int i = 1; i < count; ++i)
    if (buf.GetEvent(i - 1).SortsAfter(buf.GetEvent(i))) __builtin_trap();

  uint16_t programs[128];
  uint16_t keys[128];
  buf.GetPatchesAndDrumKeys(3, 0xFFFF, 0xFFFF, programs, keys);
  buf.GetWidestSpread(0xFFFF);
  buf.GetLowestNote(0xFFFF);
  buf.GetChannelsUsed(0xFF, 0xFFFF);
  const uint32_t last = buf.GetLastTime();
  for (uint32_t t : {0u, 1u, last / 2, last, last + 1}) {
    const int index = buf.FindTimeIndex(t);
    if (index < 0 || (count > 0 && index >= count)) __builtin_trap();
    buf.GetPlayLength(t);
  }
  kvt::TMFBTimeIndex cursor(buf);
  const int64_t total = buf.GetPlayLength(0);
  cursor.SeekMs(total / 2);
  cursor.SeekMs(total + 10);
  cursor.SeekMs(1);
  cursor.NextTempoOrWait(1);
  cursor.NextTempoOrWait(-1);
  return 0;
}
