#include "midi/import/import_instructions.h"

#include <algorithm>
#include <cstdio>

#include "notation/staff/staff_utils.h"

namespace kvt {

int TSMFImportInstructions::LowestChannel() const {
  for (int c = 0; c < 16; ++c)
    if (channelMask & (1u << c)) return c;
  return 0;
}

int ImportGridTicks(int code) { return 768 >> std::clamp(code, 0, kImportMaxDurationCode); }

std::string FormatChannelList(uint16_t mask) {
  if (mask == 0) return "-";
  std::string out;
  char part[16];
  for (int c = 0; c < 16;) {
    if (!(mask & (1u << c))) {
      ++c;
      continue;
    }
    int end = c;
    while (end + 1 < 16 && (mask & (1u << (end + 1)))) ++end;
    if (end == c)
      std::snprintf(part, sizeof part, "%d", c + 1);
    else if (end == c + 1)
      std::snprintf(part, sizeof part, "%d,%d", c + 1, end + 1);
    else
      std::snprintf(part, sizeof part, "%d-%d", c + 1, end + 1);
    if (!out.empty()) out += ',';
    out += part;
    c = end + 1;
  }
  return out;
}

std::string FormatInstructionText(const TSMFImportInstructions& instruction) {
  char text[160];
  std::snprintf(text, sizeof text, "Track=%02d  channel=%s", instruction.track,
                FormatChannelList(instruction.channelMask).c_str());
  std::string out = text;
  if (instruction.lowPitch != 0 || instruction.highPitch < 127) {
    std::snprintf(text, sizeof text, "  pitch=%s through %s",
                  GetMidiNoteName(instruction.lowPitch).c_str(),
                  GetMidiNoteName(instruction.highPitch).c_str());
    out += text;
  }
  return out;
}

}  // namespace kvt
