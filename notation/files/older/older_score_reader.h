#pragma once
// Reading the older binary score layout (format versions 3 to 34 in files, version 36 for the
// in-memory property copies): the score part, the staves with their lyrics and items.
//
// Every reader takes the format version and the ANSI code page from the header and counts the
// values it had to bound in the header's dataFaults (see older_layout_io.h). A stream error
// ends the staff and item loops; what was read stays in the score. Counts are bounded: at most
// 255 staves, at most 32,002 items announced per staff (and no more than the staff takes), at
// most 8 lyric lines (any other count marks the stream failed).

#include <cstdint>

#include "notation/files/binary/score_file_header.h"
#include "notation/files/score_load_result.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
class TMusicStaff;
class TSysStatusBar;
struct TServices;

// Items a staff record may announce, the two enclosing bar lines included.
inline constexpr int kMaxStaffRecordItems = 32002;

// What the staff fields carry besides the staff's own properties.
struct TOlderStaffExtras {
  // The legacy staff style of versions below 28 (0 otherwise).
  int legacyStyle = 0;
  // The instrument flag byte: bit 0, the bank is set.
  int instrumentFlags = 0;
};

// The older layout as the body of a binary file, after its header: the score part and the
// staves (ReadScoreBody) into a new score, marked as older when the header says status 2 and
// dated from the header, with one default staff when the body held none, then finished
// (FinishLoadedScore). Status: the header's, or kCorrupt after a stream error or a value that
// had to be bounded; an editor state the finishing step bounds leaves the status alone. Reports
// progress to services.status.
TScoreLoadResult ReadOlderScore(TKRVStream& stream, TScoreFileHeader& header, const TServices& services);

// The score part and the staves into a new score (one without staves). Sets header.score to
// the score. After a stream error, when no staff is visible or below version 8, the visible
// staves become those of the first staff's group; below version 28 the legacy staff styles
// are converted; the experimental flag follows the staves.
void ReadScoreBody(TMusicScore& score, TScoreFileHeader& header, TKRVStream& stream,
                   TSysStatusBar* status = nullptr);

// The score part alone: song information, options, margins, visibility, fonts, page options
// and editor state (not the staff count).
void ReadScoreProperties(TMusicScore& score, TScoreFileHeader& header, TKRVStream& stream);

// The staff fields from the name up to the colour.
void ReadStaffProperties(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& stream,
                         TOlderStaffExtras* extras = nullptr);

// A whole staff: its fields, lyrics and items between the two enclosing bar lines, with the
// conversions its version needs. Reports " Loading (%d items)" and " Auditing..." to the
// status bar when one is given. The staff is not audited: the load's finishing step does that.
void ReadStaff(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& stream,
               TSysStatusBar* status = nullptr, TOlderStaffExtras* extras = nullptr);

// The lyrics of a staff (line count, settings, lines); replaces the staff's lyrics. A stream
// error discards what was read.
void ReadStaffLyrics(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& stream);

}  // namespace kvt
