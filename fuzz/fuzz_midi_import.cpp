// Standard MIDI File bytes read and converted into a score as the import does: any input gives
// a score without fault. Files spanning more than 64 bars are only read: the
// finishing edits of long staves take far longer than a fuzz run allows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "midi/import/import_convert.h"
#include "midi/smf/smf_import.h"
#include "notation/staff/music_score.h"
#include "utils/flat_ram_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  std::vector<uint8_t> bytes(data + 1, data + size);
  kvt::TKRVFlatRamStream input(bytes.data(), static_cast<int>(bytes.size()),
                               static_cast<int>(bytes.size()));
  kvt::TKVTImportData import;
  kvt::ImportSMF(import, input, nullptr);
  // The first byte picks the scan options and the lyric mode.
  const bool extract = data[0] & 1;
  const int maxChord = 2 + (data[0] >> 1) % 30;
  const int lyricMode = (data[0] >> 6) % 3;
  kvt::ScanImportInstructions(import, extract, maxChord);
  if (import.GetInstructions().size() > 24) return 0;
  for (int t = 0; t < import.GetTrackCount(); ++t)
    if (import.GetTrack(t)->GetEvents().GetLastTime() > 768 * 64) return 0;
  bool cancelled = true;
  auto score = kvt::ConvertImportToScore(import, lyricMode, kvt::TServices(), nullptr, &cancelled);
  if (!score || cancelled || score->GetStaffCount() < 1) __builtin_trap();
  return 0;
}
