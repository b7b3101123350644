#pragma once
// TSMFImportInstructions: one import instruction, the recipe for one staff of a MIDI import:
// which track, which channels, which pitch range, and how to notate. A packed record of 8
// bytes; the instruction list is a vector of them.
//
// Duration codes: 0 whole (768 ticks) ... 6 sixty-fourth (12); the grid of code c is 768 >> c.

#include <cstdint>
#include <string>
#include <vector>

namespace kvt {

// Option bits of TSMFImportInstructions::options.
enum TSMFImportOption : uint8_t {
  kImportPedalMarks = 1,    // notate sustain-pedal marks
  kImportPatchChanges = 2,  // insert instrument changes
  kImportAutoBeam = 4,      // automatic beaming
  kImportCompoundTime = 8,  // detect compound time
};

inline constexpr int kImportMaxDurationCode = 6;
// Tracks an instruction can name.
inline constexpr int kImportMaxTrack = 255;

#pragma pack(push, 1)
struct TSMFImportInstructions {
  uint16_t channelMask = 0xFFFF;  // bit n: MIDI channel n + 1
  uint8_t track = 0;
  uint8_t highPitch = 127;
  uint8_t lowPitch = 0;
  uint8_t noteResolution = 5;
  uint8_t restResolution = 2;
  uint8_t options = kImportAutoBeam | kImportCompoundTime;

  // The defaults above.
  void Reset() { *this = TSMFImportInstructions(); }
  bool Has(TSMFImportOption bit) const { return (options & bit) != 0; }
  // The lowest channel of the mask (0-based); the first channel for an empty mask.
  int LowestChannel() const;

  friend bool operator==(const TSMFImportInstructions&, const TSMFImportInstructions&) = default;
};
#pragma pack(pop)
static_assert(sizeof(TSMFImportInstructions) == 8);

using TSMFImportInstructionList = std::vector<TSMFImportInstructions>;

// The grid of a duration code in ticks (codes limited to 0..6).
int ImportGridTicks(int code);

// "-" for an empty mask; else the runs of channels numbered from 1, ascending, joined by ",":
// "%d" for one, "%d,%d" for a run of two, "%d-%d" for longer runs (1-3,5,7,8).
std::string FormatChannelList(uint16_t mask);
// "Track=%02d  channel=%s", then "  pitch=%s through %s" when the range is not 0..127.
std::string FormatInstructionText(const TSMFImportInstructions& instruction);

}  // namespace kvt
