#include "notation/files/text/score_text_file.h"

#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/music_score.h"
#include "utils/file_stream.h"
#include "utils/stream.h"
#include "utils/zlib_in_stream.h"

namespace kvt {

TScoreLoadResult LoadTextScoreFile(const std::string& path, const TServices& services) {
  TKRVFStream file(kFileModeRead | kFileShareRead, path.c_str());
  if (file.IsError()) {
    TScoreLoadResult result;
    result.fileOpened = false;
    return result;
  }
  TKRVZLibInStream text(TKRVZLibInStream::kModeGzip, &file);
  TScoreLoadResult result = ReadScoreText(text, services, kScoreTextModeFile);
  // The reader asks the stream it reads; the file underneath is asked as well, so no read
  // fault passes unseen.
  if (result.score && (text.IsFailed() || file.IsFailed())) result.status = TLoadStatus::kCorrupt;
  return result;
}

bool SaveTextScoreFile(const std::string& path, const TMusicScore& score, const TSaveBackups& backups) {
  return WriteFileAtomically(path, backups, [&score](TKRVStream& file) {
    WriteScoreText(file, score);
    return !file.IsError();
  });
}

}  // namespace kvt
