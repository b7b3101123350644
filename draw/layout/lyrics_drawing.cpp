// The lyric lines of a staff: each syllable under its note by the staff's alignment rule, and
// the hyphens that join the syllables of a word.
#include <algorithm>
#include <cstdint>

#include "draw/layout/layout_metrics.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_drawing.h"
#include "draw/music_fonts.h"
#include "notation/items/item_cast.h"
#include "notation/items/lyric_text.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

constexpr int kSeparatorHyphen = 45;

struct TPlacedSyllable {
  int x = 0;  // left end
  int width = 0;
};

// x of a syllable's left end at a note position: at the note, or centred under its head.
int SyllableLeft(TScoreDrawInfo& score, const TStaffDrawInfo& layout, const TStaffLyrics& lyrics,
                 const TStaffDrawPos& pos, int x, int width) {
  if (lyrics.GetAlign() != kLyricsAlignStandard) return x;
  x += layout.GetLeadWidth(pos);
  const auto* note = ItemAs<TSongNote>(layout.GetStaff()->GetItem(pos.GetItemIndex()));
  const bool joins = note && (note->GetFlags() & (kMaskSlur | kMaskTieOut)) != 0;
  if (joins) return x;
  return x + score.Metrics().UnitWidth() / 2 - width / 2;
}

}  // namespace

float GetLyricLinePosition(TScoreDrawInfo& score, int slot, int line) {
  const TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  const TStaffLyrics* lyrics =
      layout && layout->GetStaff() ? layout->GetStaff()->GetLyrics() : nullptr;
  if (!lyrics) return 0;
  const float h = static_cast<float>(score.Fonts().GetLyricLineHeight());
  const TStackedStaff& stack = score.GetStack(slot);
  if (lyrics->GetPlacement() == kLyricsTop)
    return static_cast<float>(lyrics->GetOffset() - stack.upper) + h / 2 +
           static_cast<float>(line) * h;
  return static_cast<float>(stack.lower - lyrics->GetOffset()) -
         h * static_cast<float>(lyrics->GetCount()) + h / 2 + static_cast<float>(line) * h;
}

void DrawSyllable(TScoreDrawInfo& score, int slot, int n, int line, int x) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  const TStaffLyrics* lyrics =
      layout && layout->GetStaff() ? layout->GetStaff()->GetLyrics() : nullptr;
  const TStaffDrawPos* pos = layout ? layout->PositionAt(n) : nullptr;
  if (!lyrics || !pos || line < 0 || line >= lyrics->GetCount()) return;
  const bool noteKind = pos->GetKind() == kDrawNote || pos->GetKind() == kDrawGraceNote;
  const TLyricText* text = lyrics->GetLine(line);
  if (!noteKind || pos->GetCounter() <= 0 || !text || text->IsEmpty()) return;
  TLyricSyllableIter iter;
  iter.Start(*text, pos->GetCounter() - 1);
  if (!iter.IsValid() || iter.GetIndex() != pos->GetCounter() - 1) return;
  TMusicFonts& fonts = score.Fonts();
  const std::u16string_view syllable = iter.GetSyllable();
  const int width = fonts.GetLyricTextWidthW(syllable);
  fonts.DrawLyricTextW(SyllableLeft(score, *layout, *lyrics, *pos, x, width),
                       GetLyricLinePosition(score, slot, line), syllable);
}

void DrawLyrics(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  const TStaffLyrics* lyrics =
      layout && layout->GetStaff() ? layout->GetStaff()->GetLyrics() : nullptr;
  if (!lyrics) return;
  TMusicFonts& fonts = score.Fonts();
  const int hyphenWidth = fonts.GetLyricTextWidthW(u"-");
  for (int line = lyrics->GetCount() - 1; line >= 0; --line) {
    const TLyricText* text = lyrics->GetLine(line);
    if (!text || text->IsEmpty()) continue;
    const float position = GetLyricLinePosition(score, slot, line);
    TLyricSyllableIter iter;
    bool havePrevious = false;
    TPlacedSyllable previous;
    int lastIndex = -1;
    int64_t x = leftX;
    for (int n = 0; n < layout->GetDrawPosCount(); ++n) {
      const TStaffDrawPos& pos = *layout->PositionAt(n);
      const int64_t here = x;
      x += pos.GetWidth();
      const int counter =
          pos.GetKind() == kDrawNote || pos.GetKind() == kDrawGraceNote ? pos.GetCounter() : 0;
      // Hidden notes keep their syllables (a lyric staff's notes are all hidden).
      if (counter <= 0) {
        if (here > span.right) break;
        continue;
      }
      // Syllables follow each other along the system: step from the last one rather than
      // walking from the line's start for every note, which grew with the position in the score.
      if (iter.IsValid())
        iter.SeekTo(counter - 1);
      else
        iter.Start(*text, counter - 1);
      if (!iter.IsValid() || iter.GetIndex() != counter - 1) break;
      const std::u16string_view syllable = iter.GetSyllable();
      const int width = fonts.GetLyricTextWidthW(syllable);
      const int left = SyllableLeft(score, *layout, *lyrics, pos, static_cast<int>(here), width);
      fonts.DrawLyricTextW(left, position, syllable);
      if (iter.GetSeparator() == kSeparatorHyphen && havePrevious) {
        const int gapLeft = previous.x + previous.width;
        fonts.DrawLyricTextW(gapLeft + (left - gapLeft) / 2 - hyphenWidth / 2, position, u"-");
      }
      havePrevious = true;
      previous = {left, width};
      lastIndex = counter - 1;
      if (here > span.right) break;
    }
    // A word that goes on in the next system ends this one with a hyphen.
    if (havePrevious && !score.ShowsHiddenItems()) {
      iter.SeekTo(lastIndex + 1);
      if (iter.IsValid() && iter.GetIndex() == lastIndex + 1 &&
          iter.GetSeparator() == kSeparatorHyphen)
        fonts.DrawLyricTextW(previous.x + previous.width + hyphenWidth, position, u"-");
    }
  }
}

}  // namespace kvt
