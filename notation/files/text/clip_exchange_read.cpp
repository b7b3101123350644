// The paste side of the clipboard's clip: bytes of any program to items, bounded at each step.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "notation/edits/staff_edits.h"
#include "notation/files/text/clip_exchange.h"
#include "notation/files/text/clip_text.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"
#include "utils/text_encoding.h"
#include "utils/zlib_in_stream.h"

namespace kvt {

namespace {

// Lines searched for the clip header when the text's version is sniffed (as many as the clip
// reader searches).
constexpr int kVersionSearchLines = 30000;
constexpr int kWindows1252 = 1252;

// The version of the first clip header among the text's first lines; 0 without one.
double SniffClipVersion(std::string_view text) {
  for (int n = 0; n < kVersionSearchLines && !text.empty(); ++n) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view rest;
    double version = 0;
    if (MatchFrameLine(line, &rest) == TFrameLine::kClipHeader && ParseFrameVersion(rest, version))
      return version;
  }
  return 0;
}

// Text of the text format as the clip reader takes it: up to its first zero byte, valid
// UTF-8, or Windows-1252 for a clip of a version that kept its texts in the ANSI code page.
std::string ClipboardText(std::vector<uint8_t>& bytes) {
  const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<size_t>(zero - bytes.begin()));
  const std::u16string wide = Utf8ToUtf16(raw);
  std::string text = Utf16ToUtf8(wide);
  const double version = SniffClipVersion(text);
  if (version > 0 && version < kUtf8TextVersion) return Utf16ToMultiByte(kWindows1252, wide);
  return text;
}

}  // namespace

std::optional<std::vector<uint8_t>> DecompressPastedClip(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxPastedClipBytes) return std::nullopt;
  // The stream only reads the memory.
  TKRVFlatRamStream packed(const_cast<uint8_t*>(bytes.data()), static_cast<int>(bytes.size()),
                           static_cast<int>(bytes.size()));
  TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &packed);
  std::vector<uint8_t> out;
  std::vector<uint8_t> block(TKRVZLibInStream::kBlockSize);
  for (;;) {
    const int n = in.Read(block.data(), static_cast<int>(block.size()));
    if (n > 0) {
      if (out.size() + static_cast<size_t>(n) > kMaxPastedClipBytes) return std::nullopt;
      out.insert(out.end(), block.begin(), block.begin() + n);
    }
    if (in.IsFailed()) return std::nullopt;
    if (n < static_cast<int>(block.size())) break;
  }
  return out;
}

std::unique_ptr<TMusicStaff> ReadPastedClip(std::span<const uint8_t> bytes, TClipFormat format,
                                            const TMusicScore* score, const TServices& services) {
  std::optional<std::vector<uint8_t>> data = DecompressPastedClip(bytes);
  if (!data) return nullptr;
  std::string text;
  if (format == TClipFormat::kText)
    text = ClipboardText(*data);
  else
    text.assign(data->begin(), data->end());
  data.reset();
  if (text.empty()) return nullptr;
  TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
  auto staff = std::make_unique<TMusicStaff>();
  const TClipLoadResult result = ReadClipText(in, *staff, true, score, services);
  if (result.items <= 0 || PastedItemCount(*staff) <= 0) return nullptr;
  return staff;
}

int PastedItemCount(const TMusicStaff& clip) { return std::max(0, clip.GetItemCount() - 2); }

bool HasRoomForClip(const TMusicStaff& staff, int count, int freed) {
  // The free count alone would let the staff pass its full mark, where inserting stops; the
  // last item must still go in while the staff is not full.
  const int64_t room = std::min<int64_t>(staff.GetFreeItemCount(),
                                         int64_t{kStaffFullCount} + 1 - staff.GetItemCount());
  return room + std::max(0, freed) >= count;
}

std::vector<std::unique_ptr<TNotatedItem>> TakeClipItems(TMusicStaff& clip) {
  // Detached from the clip's end, so no item of the clip moves more than once.
  std::vector<std::unique_ptr<TNotatedItem>> items;
  items.reserve(static_cast<size_t>(PastedItemCount(clip)));
  while (clip.GetItemCount() > 2) {
    std::unique_ptr<TNotatedItem> item = clip.DetachItem(clip.GetLastIndex() - 1);
    if (!item) break;
    items.push_back(std::move(item));
  }
  std::reverse(items.begin(), items.end());
  return items;
}

int InsertClipItems(TMusicStaff& clip, TMusicStaff& staff, int at, int& moved) {
  at = std::clamp(at, 1, staff.GetLastIndex());
  moved = InsertItemsAndAudit(staff, TakeClipItems(clip), at);
  return at;
}

}  // namespace kvt
