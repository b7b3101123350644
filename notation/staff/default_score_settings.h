#pragma once
// The default score settings: the song information every new score starts from. The block is
// zero until the application fills it at start-up with its default copyright and product
// texts; a new score copies it (TMusicScore(&GetDefaultScoreSettings()), or a copy the user
// edited first). Page setup and options of a new score are the score's own defaults (its
// Reset, with the margins from the page-setup defaults).
//
// UI thread (and the converter's one thread); filled before the first score is made.

#include <string_view>

#include "notation/staff/music_score.h"

namespace kvt {

// The block as it stands.
const TScoreSongInfo& GetDefaultScoreSettings();
// Zeroes the block.
void ResetDefaultScoreSettings();
// Fills one song-information field (TSongInfoField), cut to the field's size on a character
// boundary; false (nothing changes) for a field outside 0..5.
bool SetDefaultScoreText(int field, std::u16string_view text);

}  // namespace kvt
