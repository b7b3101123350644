#pragma once
// Text score files (".kvttxt"): the load and save that the editor, user tools and the
// converter share, beside the binary file's (binary_score_file.h).

#include <string>

#include "utils/atomic_file_write.h"
#include "notation/files/score_load_result.h"

namespace kvt {

class TMusicScore;
struct TServices;

// Reads a text score file, plain or gzip-compressed, in the file mode (a header line is
// required; see ReadScoreText). A file that cannot be opened gives no score, status kNotScore
// and fileOpened false; a file without a score header gives no score and kNotScore. A text cut
// before its end line, or a file or compressed stream that fails while being read, gives the
// corrupt status with the score as far as it was read. `services` stays the caller's.
TScoreLoadResult LoadTextScoreFile(const std::string& path, const TServices& services);

// Writes the whole score as score text, plain, through WriteFileAtomically: the old file is
// replaced only when every layer succeeded. True when it was.
bool SaveTextScoreFile(const std::string& path, const TMusicScore& score, const TSaveBackups& backups = {});

}  // namespace kvt
