// Standard MIDI File bytes through the import reader: any input reads without fault, costs
// what it holds, and leaves track texts that walk back out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/smf/smf_import.h"
#include "utils/flat_ram_stream.h"
#include "utils/seg_ram_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  kvt::TKRVFlatRamStream input(bytes.data(), static_cast<int>(bytes.size()),
                               static_cast<int>(bytes.size()));
  kvt::TKRVSegRamStream log(2048);
  kvt::TSMFData smf;
  kvt::ImportSMF(smf, input, &log);
  for (int t = 0; t < smf.GetTrackCount(); ++t) {
    kvt::TSMFTrackData& track = *smf.GetTrack(t);
    const kvt::TMidiFileBuf& events = track.GetEvents();
    for (int i = 1; i < events.GetEventCount(); ++i)
      if (events.GetEvent(i - 1).SortsAfter(events.GetEvent(i))) __builtin_trap();
    for (int kind : {kvt::kSMFTextLyrics, kvt::kSMFTextKaraoke}) {
      track.HasTextAfterStart(kind);
      uint32_t time = 0;
      std::string text;
      while (track.NextText(time, text, 61, kind))
        if (text.size() > 60) __builtin_trap();
    }
    if (track.GetPort() < 0 || track.GetPort() > 15) __builtin_trap();
  }
  return 0;
}
