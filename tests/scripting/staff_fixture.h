#pragma once
// A one-staff score read from clip text, for the script modules' tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"

namespace kvt::test {

// The score of the clip lines (each without its line end); null when it does not read.
inline std::unique_ptr<TMusicScore> ReadClipScore(const std::string& lines) {
  std::string text = "!TarlowmedeRazadoveClip(2.75,Single)\r\n" + lines +
                     "!TarlowmedeRazadoveClip-End\r\n";
  TKRVFlatRamStream stream(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
  TScoreLoadResult result = ReadScoreText(stream, TServices{});
  return std::move(result.score);
}

}  // namespace kvt::test
