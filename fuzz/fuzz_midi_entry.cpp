// MIDI keyboard entry is outside data: any stream of short messages, under any clef, octave
// clef, key and transposition, must decode, build, cut into tied pieces and go into a staff
// without fault. Every built note sounds one of the played keys' pitch classes (folding keeps
// the class), the pieces stay within their limit, and the staff never passes its size limit.
//
// Input: byte 0 the clef (bits 0-2), octave shift (bits 3-4) and whether the transposition is
// ignored (bit 7), byte 1 the key signature's letter masks, byte 2 the transposition (signed),
// then messages of three bytes (status, data 1, data 2).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "midi/import/midi_entry_builder.h"
#include "midi/import/midi_entry_decoder.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/patch_data.h"
#include "notation/staff/music_staff.h"

namespace {

constexpr int kMaxItems = 400;  // keeps one run short; the limit is checked as the editor does

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kvt;
  if (size < 3) return 0;
  TMusicStaff staff;
  auto clef = std::make_unique<TClefData>(data[0] & 7);
  clef->SetOctaveShift((data[0] >> 3) & 3);
  staff.InsertItem(std::move(clef), 1);
  // Any letter masks, even both for one letter: the spelling must still sound the key.
  const int mask = data[1] & 0x7F;
  staff.InsertItem(
      std::make_unique<TKeyData>(data[1] & 0x80 ? mask : 0, data[1] & 0x80 ? mask >> 1 : mask), 2);
  staff.GetInstrument().SetTransposition(static_cast<int8_t>(data[2]));
  const bool ignore = (data[0] & 0x80) != 0;

  TMidiEntryDecoder decoder;
  TEntryNoteSettings settings;
  int caret = staff.GetLastIndex();
  for (size_t i = 3; i + 3 <= size; i += 3) {
    const uint32_t msg = data[i] | static_cast<uint32_t>(data[i + 1]) << 8 |
                         static_cast<uint32_t>(data[i + 2]) << 16;
    const TMidiEntryAction action = decoder.Feed(msg);
    std::vector<std::unique_ptr<TNotatedItem>> items;
    switch (action.kind) {
      case TMidiEntryKind::kSetDuration: settings.duration = action.value; break;
      case TMidiEntryKind::kSetDots:
        settings.flags = (settings.flags & ~(kMaskDotted | kMaskDblDotted)) |
                         (action.value == 1   ? kMaskDotted
                          : action.value == 2 ? kMaskDblDotted
                                              : 0);
        break;
      case TMidiEntryKind::kSetTie:
        settings.flags =
            action.value ? settings.flags | kMaskTieOut : settings.flags & ~kMaskTieOut;
        break;
      case TMidiEntryKind::kEnterKeys: {
        const TStaffContextState state = EntryStateAt(staff, caret);
        std::unique_ptr<TMusicNote> note = BuildEntryItem(action.keys, settings, state, ignore);
        if (!note || note->GetMemberCount() < 1 ||
            note->GetMemberCount() > static_cast<int>(action.keys.size()))
          std::abort();
        std::set<int> classes;
        for (const int k : action.keys)
          classes.insert(((k - (ignore ? 0 : state.GetTransposition())) % 12 + 12) % 12);
        for (int m = 0; m < note->GetMemberCount(); ++m) {
          const int written = note->GetMember(m)->GetPitch(state) - state.GetTransposition();
          if (classes.count(((written % 12) + 12) % 12) == 0) std::abort();
        }
        items = SplitEntryItem(std::move(note), staff, caret);
        if (items.empty() || static_cast<int>(items.size()) > kMaxEntryPieces) std::abort();
        break;
      }
      case TMidiEntryKind::kProgramChange:
        if (action.value < 1 || action.value > 128) std::abort();
        items.push_back(BuildEntryProgramChange(staff, caret, action.value));
        break;
      case TMidiEntryKind::kNone: break;
    }
    const int count = static_cast<int>(items.size());
    if (count == 0 || staff.GetItemCount() + count > kMaxItems) continue;
    for (int k = 0; k < count; ++k)
      staff.InsertItemAndAudit(std::move(items[static_cast<size_t>(k)]), caret + k);
    caret += count;
  }
  return 0;
}
