// The paste path from clipboard bytes to a staff: the first byte picks the clipboard format
// (bit 0: text, else the program's own) and how many items of the target are selected (bits
// 1-3); the rest is the clipboard's data. Whatever is pasted must fit the room check and land
// in the staff in full.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "notation/files/text/clip_exchange.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_staff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const kvt::TClipFormat format =
      (data[0] & 1) != 0 ? kvt::TClipFormat::kText : kvt::TClipFormat::kScore;
  std::unique_ptr<kvt::TMusicStaff> clip =
      kvt::ReadPastedClip(std::span<const uint8_t>(data + 1, size - 1), format, nullptr);
  if (!clip) return 0;
  const int count = kvt::PastedItemCount(*clip);
  if (count <= 0) __builtin_trap();

  // A small staff: clef, rests and a bar line, with a selection of up to 4 items to replace.
  kvt::TMusicStaff staff;
  staff.InsertItem(std::make_unique<kvt::TClefData>(kvt::kClefTreble), 1);
  for (int i = 0; i < 3; ++i)
    staff.InsertItem(std::make_unique<kvt::TRestNote>(kvt::kDurQuarter, 0), 2);
  staff.InsertItem(std::make_unique<kvt::TBarLineData>(), 5);
  const int selected = (data[0] >> 1) & 3;
  if (!kvt::HasRoomForClip(staff, count, selected)) return 0;
  for (int i = 0; i < selected; ++i) staff.DetachItem(2);
  const int before = staff.GetItemCount();
  int moved = 0;
  const int at = kvt::InsertClipItems(*clip, staff, 2, moved);
  if (at != 2 || moved != count || staff.GetItemCount() != before + count) __builtin_trap();
  return 0;
}
