#include "midi/import/midi_entry_decoder.h"

namespace kvt {

namespace {

constexpr int kNoteOff = 0x80;
constexpr int kNoteOn = 0x90;
constexpr int kControlChange = 0xB0;
constexpr int kProgramChange = 0xC0;
constexpr int kSustainController = 64;

bool IsDurationController(int controller) {
  return controller == 1 || (controller >= 4 && controller <= 6);
}

int DotsFromValue(int value) {
  if (value <= 35) return 0;
  if (value <= 71) return 1;
  return value <= 107 ? 2 : -1;
}

}  // namespace

TMidiEntryAction TMidiEntryDecoder::Feed(uint32_t shortMsg) {
  TMidiEntryAction action;
  const int status = static_cast<int>(shortMsg & 0xFF);
  // Data bytes without a status byte and system messages carry nothing to enter.
  if (status < 0x80 || status >= 0xF0) return action;
  const int data1 = static_cast<int>((shortMsg >> 8) & 0x7F);
  const int data2 = static_cast<int>((shortMsg >> 16) & 0x7F);
  switch (status & 0xF0) {
    case kNoteOn:
      if (data2 > 0) {
        held.insert(data1);
        break;
      }
      [[fallthrough]];
    case kNoteOff:
      if (held.count(data1) == 0) break;
      action.kind = TMidiEntryKind::kEnterKeys;
      action.keys.assign(held.begin(), held.end());
      held.clear();
      break;
    case kControlChange:
      if (data1 == kSustainController) {
        action.kind = TMidiEntryKind::kSetTie;
        action.value = data2 >= 64 ? 1 : 0;
      } else if (IsDurationController(data1)) {
        if (held.empty()) {
          action.kind = TMidiEntryKind::kSetDuration;
          action.value = data2 / 20;
        } else if (const int dots = DotsFromValue(data2); dots >= 0) {
          action.kind = TMidiEntryKind::kSetDots;
          action.value = dots;
        }
      }
      break;
    case kProgramChange:
      action.kind = TMidiEntryKind::kProgramChange;
      action.value = data1 + 1;
      break;
    default: break;
  }
  return action;
}

}  // namespace kvt
