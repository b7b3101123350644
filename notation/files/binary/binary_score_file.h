#pragma once
// The binary score file (".kvt"): the header of score_file_header.h followed by the score, as
// score text from format version 35 on and in the older binary layout before; the whole file
// may be wrapped in the "[KVZ]"-tagged zlib framing.
//
// Loading never throws on file data. The header record receives the load status:
//   0 the stream held at most one byte: a new score with one default staff
//   1 loaded (format version 33 to 36)        2 loaded (32 or below; marked as older)
//   3 not a score file, or it could not be opened
//   4 too new (37 and above)  5 made by a newer application  6 product not accepted
//   7 loaded as far as the data was sound: the stream failed (corrupt or truncated compressed
//     data, a read fault) or values had to be bounded or dropped
// Saving goes through WriteFileAtomically (utils/atomic_file_write.h): a symbolic link at the
// path is followed and stays, and the old file is replaced only when every layer succeeded; a
// failed save leaves it as it was.

#include <memory>
#include <string>

#include "notation/staff/music_score.h"
#include "utils/atomic_file_write.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/score_load_result.h"
#include "notation/services/services.h"

namespace kvt {

class TKRVStream;
class TNotatedItem;

// The part of a score that ReadScoreSettings hands out.
struct TScoreSettingsBlock {
  TScoreSongInfo songInfo;
  TPageMargins margins;
  int zoom = 0;
  int pageNumbers = 0;
  int staffLabels = 0;
  int barNumbers = 0;
  int startingBar = 0;
  uint8_t optionBitsA = 0;
  uint8_t optionBitsB = 0;
};

// Reads a score from the stream: header, then the body by its format version (the older
// layout through ReadOlderScore, score text through ReadScoreText; both end in the load's
// finishing step). The result holds the score (the caller owns it) or null, and the status,
// code page and format version the header record also receives. The services (the caller's,
// for the call only) give a new score its page-setup defaults, show the older layout's
// progress on their status bar, serve the audit and, for the file reads below, the wait
// cursor.
TScoreLoadResult LoadScore(TKRVStream& stream, TScoreFileHeader& header,
                           const TServices& services);

// Opens the file (read, others may read) under the decompressing stream in tagged mode, loads
// it and marks the score compressed when the data was. A file that cannot be opened leaves
// status 3 with fileOpened false. The compressed data is checked to its end, so a damaged end
// gives status 7.
TScoreLoadResult ReadScoreFromFile(const char* path, TScoreFileHeader& header,
                                   const TServices& services);

// Whether a load that ended with `status` may be a binary file damaged by a text-mode copy:
// status 3 or 7 and every line feed of the file follows a carriage return.
bool IsTextModeCopyDamage(const char* path, TLoadStatus status);
// Reads the file with every CR LF turned back into LF, repaired in memory (nothing is written
// anywhere); repaired.textModeDamage is set when it gave a score. No score, with status 3,
// when the file cannot be read or holds a bare LF.
TScoreLoadResult ReadRepairedScoreFile(const char* path, TScoreFileHeader& header,
                                       const TServices& services);
// ReadScoreFromFile, then the repair when IsTextModeCopyDamage says so. The load the
// converter, the editor and user tools make for a binary score file.
TScoreLoadResult ReadScoreFromFileRepairing(const char* path, TScoreFileHeader& header,
                                            const TServices& services);

// Zero-fills `settings`; false when the stream's size is below 2 or the header fails. Reads
// the whole score text (version 35 on) or the score part of the older layout, copies the
// settings out and returns true when the stream has no error.
bool ReadScoreSettings(TKRVStream& stream, TScoreFileHeader& header, TScoreSettingsBlock& settings);
// The same from a file (plain file stream under the decompressing stream in tagged mode).
bool ReadScoreSettings(const char* path, TScoreFileHeader& header, TScoreSettingsBlock& settings);

// Writes header (format version 36) and score text; true when the stream has no error.
bool WriteScoreFile(TKRVStream& stream, const TMusicScore& score);

// Writes the file through a buffered file stream and the compressing stream ("[KVZ]"-tagged
// zlib when compressed, plain otherwise). True only when header, body, the compressor's End,
// the file's close, the flush to disk, the backups (when asked for) and the final rename all
// succeeded.
bool WriteScoreToFile(const char* path, bool compressed, const TMusicScore& score,
                      const TSaveBackups& backups = {}, const TServices& services = TServices());

}  // namespace kvt
