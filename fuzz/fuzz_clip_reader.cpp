// Clipboard text pasted as a clip: the first byte says whether bare item lines are taken; the
// rest is the text. Whatever is read must copy as a clip and paste back to the same items.
#include <cstddef>
#include <cstdint>
#include <string>

#include "notation/files/text/clip_text.h"
#include "notation/staff/music_staff.h"
#include "notation/files/text/score_text_writer.h"
#include "utils/flat_ram_stream.h"

namespace {

std::string ItemLines(const kvt::TMusicStaff& staff) {
  std::string lines;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    kvt::AppendItemLine(lines, *staff.GetItem(i), kvt::kTextModeScore);
    lines += '\n';
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const bool bare = (data[0] & 1) != 0;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  kvt::TKRVFlatRamStream in(bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(bytes.size()));
  kvt::TMusicStaff staff;
  const int result = kvt::ReadClipText(in, staff, bare, nullptr).items;
  if (result < -1 || (result >= 0 && result != staff.GetItemCount() - 2)) __builtin_trap();
  if (staff.GetItemCount() <= 2) return 0;

  kvt::TKRVFlatRamStream copy(0, 65536);
  kvt::WriteClipText(staff, 1, staff.GetLastIndex() - 1, copy, true, (data[0] & 2) != 0);
  std::string clip(static_cast<size_t>(copy.Size()), '\0');
  copy.Rewind();
  copy.Read(clip.data(), static_cast<int>(clip.size()));
  kvt::TKRVFlatRamStream pasteIn(clip.data(), static_cast<int>(clip.size()), static_cast<int>(clip.size()));
  kvt::TMusicStaff pasted;
  kvt::TClipTextReader reader(pasteIn, pasted, false, nullptr);
  if (reader.Read().items != staff.GetItemCount() - 2 || reader.IsCorrupt()) __builtin_trap();
  if (ItemLines(pasted) != ItemLines(staff)) __builtin_trap();
  return 0;
}
