// TStaffDrawInfo::SpaceLyrics: room for the lyric syllables under their notes.

#include <algorithm>
#include <climits>
#include <vector>

#include "draw/layout/staff_draw_info.h"
#include "notation/items/item_cast.h"
#include "notation/items/lyric_text.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

constexpr int kMaxLyricLines = 8;
constexpr int kSeparatorHyphen = 45;

// A hidden note keeps its syllable: the notes of a lyric staff are hidden, their words are not.
bool HasSyllable(const TStaffDrawPos& p) {
  return (p.GetKind() == kDrawNote || p.GetKind() == kDrawGraceNote) && p.GetCounter() > 0;
}

}  // namespace

void TStaffDrawInfo::SpaceLyrics() {
  const TStaffLyrics* lyrics = staff ? staff->GetLyrics() : nullptr;
  if (!lyrics || lyrics->GetCount() == 0) return;
  const bool standard = lyrics->GetAlign() == kLyricsAlignStandard;
  const int64_t unit = Metrics().UnitWidth();
  const int64_t hyphenWidth = host->LyricTextWidth(u"-");
  // Neighbouring words keep a space between them, and a hyphen gets one around it, so that
  // syllables never touch (a syllable exactly as wide as its room would run into the next).
  const int64_t wordGap = std::max<int64_t>(host->LyricTextWidth(u" "), unit / 4);
  const int count = GetDrawPosCount();
  for (int line = 0; line < std::min(lyrics->GetCount(), kMaxLyricLines); ++line) {
    const TLyricText* text = lyrics->GetLine(line);
    if (!text || text->IsEmpty()) continue;
    // The line's cursor is kept between builds: the next system's syllables lie close by.
    TLyricSyllableIter& it = syllableCursors[static_cast<size_t>(line)];
    if (syllableLines[static_cast<size_t>(line)] != text) {
      it.Start(*text, 0);
      syllableLines[static_cast<size_t>(line)] = text;
    }
    int64_t freeRoom = 0;
    int previous = -1;
    for (int n = 1; n < count; ++n) {
      TStaffDrawPos& pos = positions[static_cast<size_t>(n)];
      if (pos.GetKind() == kDrawBarLine) {
        // After a bar line the room left is the space after the bar itself.
        const int full = static_cast<int>(std::min<int64_t>(INT_MAX, GetFullWidth(n)));
        freeRoom = std::max<int64_t>(0, pos.GetWidth() - unit / 2 - full);
        if (!standard) previous = -1;
        continue;
      }
      if (!HasSyllable(pos)) continue;
      it.SeekTo(pos.GetCounter() - 1);
      if (!it.IsValid()) continue;
      const int64_t textWidth = host->LyricTextWidth(it.GetSyllable());
      TLyricSyllableIter next = it;
      next.Next();
      const int64_t hyphen =
          !next.IsValid() ? 0 : wordGap + (next.GetSeparator() == kSeparatorHyphen ? hyphenWidth : 0);
      // Room up to the next syllable (without "Standard Rules", a bar line ends it too).
      int64_t room = 0;
      for (int k = n; k < count; ++k) {
        const TStaffDrawPos& p = positions[static_cast<size_t>(k)];
        if (k > n && (HasSyllable(p) || (!standard && p.GetKind() == kDrawBarLine))) break;
        room += p.GetWidth();
      }
      const bool followedBySpacer = FollowedByVisibleSpacer(n);
      if (standard) {
        const auto* song = ItemAs<TSongNote>(staff->GetItem(pos.GetItemIndex()));
        const bool melismaStart = song && (song->IsSlurOut() || song->IsTieOut());
        // The part of the syllable left of the position's x (negative when it starts after
        // it): the syllable stands under the head, which comes after the accidentals.
        const int64_t lead = GetLeadWidth(pos);
        const int64_t left = (melismaStart ? 0 : textWidth / 2 - unit / 2) - lead;
        if (left > freeRoom && previous > 0 && !FollowedByVisibleSpacer(previous))
          positions[static_cast<size_t>(previous)].AddWidth(static_cast<int>(std::min<int64_t>(left - freeRoom, INT_MAX)));
        const int64_t excess = textWidth - left + hyphen - room;
        if (excess > 0 && !followedBySpacer) {
          pos.AddWidth(static_cast<int>(std::min<int64_t>(excess, INT_MAX)));
          freeRoom = 0;
        } else {
          freeRoom = -excess;
        }
      } else {
        const int64_t excess = textWidth + hyphen - room;
        if (excess > 0 && !followedBySpacer) pos.AddWidth(static_cast<int>(std::min<int64_t>(excess, INT_MAX)));
      }
      previous = n;
    }
  }
  MarkChanged();
}

}  // namespace kvt
