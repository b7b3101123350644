#include "draw/layout/lyric_band.h"

#include <algorithm>

#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_drawing.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

TLyricBand GetLyricBand(TScoreDrawInfo& score, int slot) {
  TLyricBand band;
  const TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  const TStaffLyrics* lyrics =
      layout && layout->GetStaff() ? layout->GetStaff()->GetLyrics() : nullptr;
  if (!lyrics || lyrics->GetCount() <= 0 || score.GetDrawMode() == kDrawModeStaffOnly) return band;
  const float half = static_cast<float>(score.Fonts().GetLyricLineHeight()) / 2;
  band.present = true;
  band.below = lyrics->GetPlacement() != kLyricsTop;
  band.top = GetLyricLinePosition(score, slot, 0) - half;
  band.bottom = GetLyricLinePosition(score, slot, lyrics->GetCount() - 1) + half;
  return band;
}

float ClearOfLyricBand(const TLyricBand& band, float position, float up, float down, int topLine,
                       int bottomLine) {
  if (!band.present) return position;
  const bool outside = band.below ? position > static_cast<float>(bottomLine)
                                  : position < static_cast<float>(topLine);
  if (!outside || position + down <= band.top || position - up >= band.bottom) return position;
  // Between the staff and the lines only when the mark also clears a head on the outer line.
  if (band.below) {
    const float between = band.top - down;
    return between - up >= static_cast<float>(bottomLine + 1) ? between : band.bottom + up;
  }
  const float between = band.bottom + up;
  return between + down <= static_cast<float>(topLine - 1) ? between : band.top - down;
}

}  // namespace kvt
