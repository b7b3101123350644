#pragma once
// Writing the score part and the staff fields of the older binary layout, the counterpart of
// older_score_reader.h, at version 36 (the in-memory copies of score and staff properties that
// the page setup and staff properties dialogs apply) or at version 16 (the 1.75 export).
//
// Version 16 writes what that version can hold: no lyricist, label, abbreviation, instrument
// name, velocities, bend range or editor state; whole-point font sizes; a legacy staff style
// in place of the connections; colours above 2 as 3. The text fonts number ten below version
// 15 and twelve from it on, as the reader takes them: version 16 files carry twelve (their
// text items name fonts up to User 6).
//
// Errors stay in the stream's flags; callers test the stream afterwards.

#include "notation/files/older/older_layout_io.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
class TMusicStaff;
class TMusicFontsData;

// The score part (without the staff count).
void WriteScoreProperties(TKRVStream& stream, const TMusicScore& score,
                          int version = kOlderLayoutCopyVersion);

// The staff fields from the name up to the colour. `fonts` chooses the code page of the texts
// below version 33 (may be null); legacyStyle is written in place of the connections below
// version 28.
void WriteStaffProperties(TKRVStream& stream, const TMusicStaff& staff, const TMusicFontsData* fonts,
                          int version = kOlderLayoutCopyVersion, int legacyStyle = 0);

// The lyrics record of a staff (line count, settings and lines); nothing for a staff without
// lyrics. Lines longer than 65,535 bytes are cut on a character boundary.
void WriteStaffLyrics(TKRVStream& stream, const TMusicStaff& staff, const TMusicFontsData* fonts,
                      int version = kOlderLayoutCopyVersion);

// Copies one object's properties to another through the version-36 layout in memory (segments
// of 1,024 bytes). Staves, items and lyrics of the target stay as they are. True when the copy
// read back without error.
bool CopyScoreProperties(TMusicScore& score, const TMusicScore& from);
bool CopyStaffProperties(TMusicStaff& staff, const TMusicStaff& from);

}  // namespace kvt
