#pragma once
// The clip as the clipboard carries it, both ways, without any window system:
//
// - Copy: WriteCompressedClip writes a run of items as a framed clip with its context lines
//   through a gzip stream, giving the bytes the clipboard's score format holds.
// - Paste: ReadPastedClip takes the bytes of one clipboard format, whatever program put them
//   there, and gives the items they hold in a temporary staff, or nothing. The bytes are
//   decompressed (gzip, tagged zlib or plain) up to kMaxPastedClipBytes; text of the text
//   format is UTF-8 with invalid sequences replaced, and a clip there whose header says a
//   version before the one whose texts are UTF-8 is read as Windows-1252, as such a clip kept
//   its texts in the ANSI code page. The clip reader's own limits and the staff's item limit
//   then bound what is read.
// - HasRoomForClip and InsertClipItems: the insertion of the pasted items into a staff.
//
// Errors are values: a damaged or oversized compressed stream, or data that gives no item, is
// a null staff; nothing here throws for any input. The services serve the call only.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "notation/services/services.h"

namespace kvt {

class TMusicScore;
class TMusicStaff;
class TNotatedItem;

// The most bytes a pasted clip may decompress to; more is refused as too large.
inline constexpr size_t kMaxPastedClipBytes = size_t{8} << 20;

// Which clipboard format the bytes came from.
enum class TClipFormat {
  kScore,  // the program's own format ("kvttxt/gzip"): the clip's bytes as written
  kText,   // text ("text/plain"): UTF-8 up to its first zero byte
};

// Items first..last of the staff as a gzip-compressed framed clip with context lines; nothing
// when a stream layer failed.
std::optional<std::vector<uint8_t>> WriteCompressedClip(TMusicStaff& staff, int first, int last,
                                                        const TServices& services = TServices());

// The bytes decompressed as the paste reads them; nothing when the compressed data is damaged
// or decompresses to more than kMaxPastedClipBytes.
std::optional<std::vector<uint8_t>> DecompressPastedClip(std::span<const uint8_t> bytes);

// The clip in the bytes, read into a new staff (items at 1 .. count); null when the data is
// damaged, too large, or gives no item. The score, when given, chooses the code pages of texts
// of old versions as the clip reader does.
std::unique_ptr<TMusicStaff> ReadPastedClip(std::span<const uint8_t> bytes, TClipFormat format,
                                            const TMusicScore* score,
                                            const TServices& services = TServices());

// The items a pasted staff holds (its items between the boundary bar lines).
int PastedItemCount(const TMusicStaff& clip);

// Whether the staff has room for `count` new items once `freed` of its items are deleted: the
// free item count, and no insert into a staff that is already full (music_staff.h).
bool HasRoomForClip(const TMusicStaff& staff, int count, int freed);

// Takes the clip's items (those between its boundary bar lines) out of it, in order.
std::vector<std::unique_ptr<TNotatedItem>> TakeClipItems(TMusicStaff& clip);

// Moves the clip's items into the staff before index `at` (limited to 1 .. the staff's last
// index), in order, and audits around them; answers the index of the first one and sets
// `moved` to how many went in. Fewer than the clip held (its last ones) only when the staff
// filled up, which HasRoomForClip rules out; the items that did not go in are dropped.
int InsertClipItems(TMusicStaff& clip, TMusicStaff& staff, int at, int& moved);

}  // namespace kvt
