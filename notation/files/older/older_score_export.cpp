#include "notation/files/older/older_score_export.h"

#include <vector>

#include "notation/files/text/score_text_legacy_styles.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/older/older_item_writer.h"
#include "notation/files/older/older_layout_io.h"
#include "notation/files/older/older_score_writer.h"
#include "notation/files/binary/score_file_header.h"
#include "utils/stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

// The legacy staff style that stands for the staff's connections at version 16.
int LegacyStyleOf(const TMusicScore& score, int i) {
  const TMusicStaff& staff = *score.GetStaff(i);
  int prev = i - 1;
  while (prev >= 0 && !score.IsStaffIncluded(prev)) --prev;
  const TMusicStaff* before = prev >= 0 ? score.GetStaff(prev) : nullptr;
  if (staff.GetBraceWithNext()) return kLegacyStaffUpperGrand;
  if (before && before->GetBraceWithNext()) return kLegacyStaffLowerGrand;
  if (staff.GetBracketWithNext() || (before && before->GetBracketWithNext()))
    return kLegacyStaffOrchestral;
  return kLegacyStaffStandard;
}

void WriteStaffItems(TKRVStream& s, const TMusicStaff& staff, const TExportStaffContext& context) {
  // The enclosing bar lines count; the items are taken while the total stays in the limit.
  int total = 2;
  int last = 1;
  for (; last < staff.GetLastIndex(); ++last) {
    const int records = CountExportRecords(*staff.GetItem(last));
    if (total + records > kMaxExportStaffRecords) break;
    total += records;
  }
  s.WriteShort(total);
  for (int i = 1; i < last; ++i) WriteExportItem(s, *staff.GetItem(i), context);
}

}  // namespace

bool WriteScoreFile175(TKRVStream& s, const TMusicScore& score) {
  TScoreHeaderFields fields;
  fields.writerVersion = kExportWriterVersion;
  fields.fileCode = MakeScoreFileCode(score);
  fields.date = 0;
  fields.codePage = 0;
  fields.formatVersion = kExportFormatVersion;
  WriteScoreHeader(s, fields);

  const int version = kExportFormatVersion;
  const TMusicFontsData* fonts = &score.GetFonts();
  WriteScoreProperties(s, score, version);
  const int count = score.GetStaffCount();
  s.WriteShort(count);
  int visibleCount = 0;
  for (int i = 0; i < count; ++i) visibleCount += score.IsStaffIncluded(i) ? 1 : 0;
  bool visibleBefore = false;
  for (int i = 0; i < count; ++i) {
    const TMusicStaff& staff = *score.GetStaff(i);
    WriteStaffProperties(s, staff, fonts, version, LegacyStyleOf(score, i));
    s.WriteShort(staff.GetLyrics() ? 1 : 0);
    WriteStaffLyrics(s, staff, fonts, version);
    s.WriteShort(0);
    s.WriteShort(0);
    TExportStaffContext context;
    context.visibleStaffBefore = visibleBefore;
    context.visibleStaffCount = visibleCount;
    context.fonts = fonts;
    WriteStaffItems(s, staff, context);
    visibleBefore = visibleBefore || score.IsStaffIncluded(i);
  }
  return !s.IsError();
}

bool ExportScoreFile175(const std::string& path, const TMusicScore& score,
                        const TSaveBackups& backups) {
  return WriteFileAtomically(path, backups, [&score](TKRVStream& file) {
    TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, &file);
    bool ok = WriteScoreFile175(out, score);
    ok = out.End() && ok;
    return ok;
  });
}

}  // namespace kvt
