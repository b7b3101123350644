// Reads arbitrary bytes as a binary score file, both as they are and through the
// decompressing filter in tagged mode (as files are opened), and as the body of the older
// layout at the version the first byte names (3 to 36), so that older versions are reached
// without a valid header. Every read must end without a crash, leave a status from the table
// and, for a loaded score, a staff array within its limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "notation/files/binary/binary_score_file.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/files/older/older_score_reader.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_in_stream.h"

namespace {

void CheckScore(const kvt::TMusicScore* score, kvt::TLoadStatus status) {
  if (status < kvt::TLoadStatus::kNew || status > kvt::TLoadStatus::kCorrupt) abort();
  if (!score) return;
  if (score->GetStaffCount() > kvt::TMusicScore::MaxScoreStaffs) abort();
  for (int i = 0; i < score->GetStaffCount(); ++i) {
    const kvt::TMusicStaff* staff = score->GetStaff(i);
    if (staff->GetItemCount() < 2 || staff->GetItemCount() > kvt::kStaffFullCount + 1) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  void* bytes = const_cast<uint8_t*>(data);
  const int n = static_cast<int>(size);
  {
    kvt::TKRVFlatRamStream stream(bytes, n, n);
    kvt::TScoreFileHeader header;
    std::unique_ptr<kvt::TMusicScore> score = kvt::LoadScore(stream, header, kvt::TServices{}).score;
    CheckScore(score.get(), header.status);
  }
  {
    kvt::TKRVFlatRamStream file(bytes, n, n);
    kvt::TKRVZLibInStream stream(kvt::TKRVZLibInStream::kModeTagged, &file);
    kvt::TScoreFileHeader header;
    std::unique_ptr<kvt::TMusicScore> score = kvt::LoadScore(stream, header, kvt::TServices{}).score;
    CheckScore(score.get(), header.status);
  }
  if (size > 1) {
    kvt::TKRVFlatRamStream stream(static_cast<uint8_t*>(bytes) + 1, n - 1, n - 1);
    kvt::TScoreFileHeader header;
    header.formatVersion = 3 + data[0] % 34;
    kvt::TMusicScore score;
    kvt::ReadScoreBody(score, header, stream);
    CheckScore(&score, kvt::TLoadStatus::kCorrupt);
  }
  return 0;
}
