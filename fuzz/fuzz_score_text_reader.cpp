// Score text as read from files, the clipboard and user tools: the first byte picks the header
// search mode and whether the bytes pass through the decompressing filter; the rest is the
// text. Whatever loads (status 1, lenient reading included, or damaged) must write, and what
// is written must read back to the same text with status 1 and without any value the reader
// had to bound or default: two loads of a saved score never differ.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "notation/staff/music_score.h"
#include "notation/services/services.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_in_stream.h"

namespace {

std::string Write(const kvt::TMusicScore& score) {
  kvt::TKRVFlatRamStream out(0, 65536);
  kvt::WriteScoreText(out, score);
  std::string text(static_cast<size_t>(out.Size()), '\0');
  out.Rewind();
  if (!text.empty()) out.Read(text.data(), static_cast<int>(text.size()));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const int mode = (data[0] & 1) ? kvt::kScoreTextModeTool : kvt::kScoreTextModeFile;
  const bool packed = (data[0] & 2) != 0;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  kvt::TKRVFlatRamStream raw(bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(bytes.size()));
  kvt::TKRVZLibInStream unpacked(kvt::TKRVZLibInStream::kModeTagged, &raw, false);
  kvt::TKRVStream& in = packed ? static_cast<kvt::TKRVStream&>(unpacked) : raw;

  kvt::TScoreLoadResult info = kvt::ReadScoreText(in, kvt::TServices{}, mode);
  std::unique_ptr<kvt::TMusicScore> score = std::move(info.score);
  if (!score) return 0;
  if (info.status != kvt::TLoadStatus::kLoaded && info.status != kvt::TLoadStatus::kCorrupt) __builtin_trap();

  const std::string first = Write(*score);
  kvt::TKRVFlatRamStream again(const_cast<char*>(first.data()), static_cast<int>(first.size()),
                               static_cast<int>(first.size()));
  kvt::TScoreLoadResult againInfo = kvt::ReadScoreText(again, kvt::TServices{}, kvt::kScoreTextModeFile);
  std::unique_ptr<kvt::TMusicScore> reread = std::move(againInfo.score);
  if (!reread || againInfo.status != kvt::TLoadStatus::kLoaded || againInfo.repaired.dataFaults)
    __builtin_trap();
  if (Write(*reread) != first) __builtin_trap();
  return 0;
}
