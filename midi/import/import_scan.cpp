#include <algorithm>

#include "midi/import/import_convert.h"

namespace kvt {

void ScanImportInstructions(TKVTImportData& data, bool extractChannels, int maxChordSize) {
  TSMFImportInstructionList& list = data.GetInstructions();
  list.clear();
  // An instruction names its track in one byte.
  const int tracks = std::min(data.GetTrackCount(), kImportMaxTrack + 1);
  for (int t = 0; t < tracks; ++t) {
    const TMidiFileBuf& events = data.GetTrack(t)->GetEvents();
    if (events.IsEmpty()) continue;
    const uint16_t mask = events.GetChannelsUsed(0xFF, 0xFFFF);
    if (mask == 0) continue;
    std::vector<uint16_t> candidates;
    if (extractChannels) {
      for (int c = 0; c < 16; ++c)
        if (mask & (1u << c)) candidates.push_back(static_cast<uint16_t>(1u << c));
    } else {
      candidates.push_back(mask);
    }
    for (uint16_t candidateMask : candidates) {
      TSMFImportInstructions instruction;
      instruction.track = static_cast<uint8_t>(t);
      instruction.channelMask = candidateMask;
      instruction.lowPitch = 0;
      instruction.highPitch = 127;
      const int span = events.GetWidestSpread(candidateMask);
      if (span > maxChordSize) {
        const int split = std::clamp(events.GetLowestNote(candidateMask) + span / 2, 1, 127);
        TSMFImportInstructions upper = instruction;
        upper.lowPitch = static_cast<uint8_t>(split);
        upper.highPitch = 127;
        list.push_back(upper);
        instruction.lowPitch = 0;
        instruction.highPitch = static_cast<uint8_t>(split - 1);
      }
      list.push_back(instruction);
    }
  }
}

}  // namespace kvt
