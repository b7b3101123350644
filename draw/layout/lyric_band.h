#pragma once
// The band a staff's lyric lines take (in staff steps, positive downwards) and the place of an
// expression or hairpin kept clear of it. Lyric lines stand where the staff's lyric settings
// put them; a mark that the score places below the staff (above, for lyrics on top) and that
// would run into the lines moves between the staff and the band, or beyond the band when the
// room between them is too small (a mark between keeps a step clear of the outer staff line,
// where heads on that line reach).

namespace kvt {

class TScoreDrawInfo;

struct TLyricBand {
  bool present = false;
  bool below = true;  // lyric placement Bottom
  float top = 0;      // upper edge of the first line's text
  float bottom = 0;   // lower edge of the last line's text
};

// The band of the staff at slot; not present without lyric lines or in staff-only mode.
TLyricBand GetLyricBand(TScoreDrawInfo& score, int slot);

// The position of a mark at position whose ink reaches `up` steps above and `down` steps below
// it, moved out of the band. Only marks outside the staff on the band's side move: below the
// bottom line for a band below, above the top line for a band above.
float ClearOfLyricBand(const TLyricBand& band, float position, float up, float down, int topLine,
                       int bottomLine);

}  // namespace kvt
