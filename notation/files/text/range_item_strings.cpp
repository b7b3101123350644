#include "notation/files/text/range_item_strings.h"

#include <algorithm>
#include <string>

#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_line_reader.h"
#include "notation/audit/staff_audit.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/staff_range.h"
#include "utils/stream.h"

namespace kvt {

void WriteRangeItemStrings(const TMusicStaff& staff, int first, int last, TKRVStream& stream) {
  first = std::max(first, 0);
  last = std::min(last, staff.GetLastIndex());
  const int count = last >= first ? last - first + 1 : 0;
  stream.WriteShort(count);
  std::string line;
  for (int i = first; i <= last; ++i) {
    line.clear();
    if (const TNotatedItem* item = staff.GetItem(i)) AppendItemLine(line, *item, kTextModeScore);
    line.push_back('\0');
    stream.Write(line.data(), static_cast<int>(line.size()));
  }
}

bool ReadRangeItemStrings(TMusicStaff& staff, int& first, int& last, TKRVStream& stream, bool audit) {
  first = std::clamp(first, 1, staff.GetLastIndex());
  last = first - 1;
  const int count = stream.ReadShort();
  if (stream.IsError() || count >= staff.GetFreeItemCount()) return false;
  TKVTFindTextImporter importer;
  TScoreTextLineReader lines(stream, true);  // the snapshot may be followed by other data
  bool ok = true;
  int index = first;
  for (int k = 0; k < count; ++k) {
    if (!lines.Next() || lines.EndedWithoutTerminator() || lines.WasCut()) {
      ok = false;
      break;
    }
    std::unique_ptr<TNotatedItem> item = importer.ReadItemLine(lines.Line(), 0);
    if (!item || !staff.TryInsertItem(item, index)) {
      ok = false;
      break;
    }
    last = index++;
  }
  if (audit && last >= first) AuditStaffAround(staff, first, last);
  return ok;
}

void WriteRangeItemStrings(const TStaffRange& range, TKRVStream& stream) {
  if (!range.IsValid()) {
    stream.WriteShort(0);
    return;
  }
  WriteRangeItemStrings(*range.GetStaff(), range.GetFirst(), range.GetLast(), stream);
}

bool ReadRangeItemStrings(TStaffRange& range, TKRVStream& stream, bool audit) {
  TMusicStaff* staff = range.GetStaff();
  if (!staff) return false;
  int first = range.GetFirst();
  int last = first - 1;
  const bool ok = ReadRangeItemStrings(*staff, first, last, stream, audit);
  range.SetRange(first, first);
  if (last < first)
    range.Clear();
  else
    range.SetRange(first, last);
  return ok;
}

}  // namespace kvt
