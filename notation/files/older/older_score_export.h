#pragma once
// Export in the older 1.75 binary version: the binary container with format version 16 and
// the older binary layout as its body, always wrapped in the "[KVZ]"-tagged zlib framing.
//
// Header: "[Tarlowmede Sorbyle]", 0, "[Tarlowmede Razadove]", 0x014B (1.75), 2, 0, "N/A", the
// file code, date 0, code page 0, 0, format version 16. Body: the score part and the staves at
// version 16 (older_score_writer.h), each staff's items as older_item_writer.h converts them.
// A staff writes at most 11,999 records, its two enclosing bar lines included: the items past
// that are left out.

#include <string>

#include "utils/atomic_file_write.h"

namespace kvt {

class TKRVStream;
class TMusicScore;

// Records of one staff in the 1.75 file, the enclosing bar lines included.
inline constexpr int kMaxExportStaffRecords = 11999;

// Writes header and body to the stream as they are (the caller adds the framing). True when
// the stream has no error afterwards.
bool WriteScoreFile175(TKRVStream& stream, const TMusicScore& score);

// The export command's file: header and body through the tagged compressing stream, finished
// with End, written by WriteFileAtomically (utils/atomic_file_write.h: a symbolic link at the
// path is followed and stays). True when every layer succeeded.
bool ExportScoreFile175(const std::string& path, const TMusicScore& score,
                        const TSaveBackups& backups = {});

}  // namespace kvt
