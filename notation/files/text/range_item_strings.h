#pragma once
// Snapshots of a run of staff items, as the editor keeps them for undo: a 16-bit item count
// (little-endian), then each item as a score text record line (mode 0) ended by a zero byte.

namespace kvt {

class TKRVStream;
class TMusicStaff;
class TStaffRange;

// Writes the items first..last of the staff (limited to the staff; an empty run writes the
// count 0).
void WriteRangeItemStrings(const TMusicStaff& staff, int first, int last, TKRVStream& stream);

// Reads a snapshot and inserts its items at `first` onwards (first is limited to
// 1..GetLastIndex(), so the staff's boundary bar lines stay outside). Nothing is inserted when
// the count does not fit the staff's free room. A line that makes no item, a line the stream
// cuts short, or a full staff stops the reading with false. With audit, the inserted span is
// audited. `last` is left on the last inserted item (first - 1 when none was). True when every
// item of the snapshot was inserted.
bool ReadRangeItemStrings(TMusicStaff& staff, int& first, int& last, TKRVStream& stream, bool audit);

// The same for a staff range: its items are written; read items go in at its first index
// (an invalid range writes the count 0 and reads nothing), and its last index is left on the
// last inserted item.
void WriteRangeItemStrings(const TStaffRange& range, TKRVStream& stream);
bool ReadRangeItemStrings(TStaffRange& range, TKRVStream& stream, bool audit);

}  // namespace kvt
