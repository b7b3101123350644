#include "app/convert_load.h"

#include "notation/staff/music_score.h"
// The reader's header uses the item class without including it.
#include "notation/items/notated_item.h"
#include "notation/files/text/score_text_reader.h"
#include "utils/file_stream.h"
#include "utils/zlib_in_stream.h"

namespace kvt {

std::unique_ptr<TMusicScore> LoadTextScoreToConvert(const std::string& path,
                                                    std::string& messages) {
  TKRVFStream file(kFileModeRead | kFileShareRead, path.c_str());
  if (file.IsError()) {
    messages += "Error: The file \"" + path + "\" could not be opened.";
    return nullptr;
  }
  TKRVZLibInStream text(TKRVZLibInStream::kModeGzip, &file);
  TScoreTextLoadInfo info;
  std::unique_ptr<TMusicScore> score = ReadScoreText(text, &info, kScoreTextModeFile);
  if (score == nullptr) {
    messages += "Error: The file \"" + path + "\" could not be processed.";
    return nullptr;
  }
  // The reader gives the corrupt status for a text without its end line and for a stream
  // that failed underneath; the stream is asked as well, so no fault can pass unseen.
  if (info.status == kScoreFileCorrupt || text.IsFailed() || file.IsFailed()) {
    messages += "Error: The file \"" + path + "\" appears to be corrupt.\n";
    return nullptr;
  }
  return score;
}

}  // namespace kvt
