#include "notation/staff/default_score_settings.h"

namespace kvt {

namespace {

TScoreSongInfo& Block() {
  static TScoreSongInfo block;
  return block;
}

}  // namespace

const TScoreSongInfo& GetDefaultScoreSettings() { return Block(); }

void ResetDefaultScoreSettings() { Block().Clear(); }

bool SetDefaultScoreText(int field, std::u16string_view text) { return Block().Set(field, text); }

}  // namespace kvt
