// The copy side of the clipboard's clip: the clip writer through a gzip stream into memory.

#include "notation/files/text/clip_exchange.h"
#include "notation/files/text/clip_text.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {

namespace {

// The memory stream grows by this much at a time.
constexpr int kClipGrowStep = 64 * 1024;

}  // namespace

std::optional<std::vector<uint8_t>> WriteCompressedClip(TMusicStaff& staff, int first, int last,
                                                        const TServices& services) {
  TKRVFlatRamStream packed(0, kClipGrowStep);
  {
    TKRVZLibOutStream out(TKRVZLibOutStream::kModeGzip, &packed);
    WriteClipText(staff, first, last, out, true, true, services);
    // The gzip data is whole only when its end was written through every layer.
    if (!out.End() || out.IsError()) return std::nullopt;
  }
  if (packed.IsError() || packed.Size() <= 0) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(packed.Size()));
  packed.Rewind();
  if (packed.Read(bytes.data(), static_cast<int>(bytes.size())) != static_cast<int>(bytes.size()))
    return std::nullopt;
  return bytes;
}

}  // namespace kvt
