// Drawing one staff into a rectangle, and redrawing a single item of a laid-out staff.
#include <algorithm>
#include <cstdint>

#include "draw/items/item_color.h"
#include "draw/items/other_item_drawing.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_drawing.h"
#include "draw/layout/staff_item_site.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

// The position that stands for a cursor's place: a later bar of a multi-bar rest has its own.
int PositionOf(const TStaffDrawInfo& layout, const TLayoutStart& at) {
  if (at.restBar > 0)
    for (int n = 1; n < layout.GetDrawPosCount(); ++n) {
      const TStaffDrawPos& pos = *layout.PositionAt(n);
      if (pos.GetItemIndex() == at.itemIndex && pos.GetMultiBarRestBar() == at.restBar) return n;
    }
  return layout.FindPosition(at.itemIndex);
}

}  // namespace

void DrawStaffInRect(TScoreDrawInfo& score, int slot, const TDcRect& rect) {
  if (!score.GetStaffDrawInfo(slot)) return;
  const TStackedStaff& stack = score.GetStack(slot);
  const int64_t origin =
      static_cast<int64_t>(rect.top) + static_cast<int64_t>(stack.upper) * score.GetStepHeight();
  const int64_t yOffset = origin - stack.originY;
  DrawStaff(score, slot, TDrawSpan{rect.left, rect.right}, rect.left,
            static_cast<int>(std::clamp<int64_t>(yOffset, INT32_MIN, INT32_MAX)));
}

void DrawItemAt(TScoreDrawInfo& score, int slot, const TLayoutStart& at, int x, int yOffset,
                int colorOverride, int lyricLines) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  if (!layout || !layout->GetStaff()) return;
  const int n = PositionOf(*layout, at);
  const TStaffDrawPos* pos = layout->PositionAt(n);
  const TNotatedItem* item = pos ? layout->GetStaff()->GetItem(pos->GetItemIndex()) : nullptr;
  if (!item || pos->IsStaffStart()) return;
  TMusicFonts& fonts = score.Fonts();
  const bool active = score.GetActiveStaff() == slot;
  const int staffColor =
      StaffColorIndex(layout->GetStaff()->GetColor(), score.ShowsHiddenItems(), active);
  fonts.SetStaffOrigin(yOffset + score.GetStack(slot).originY);
  const int itemX = static_cast<int>(
      std::clamp<int64_t>(static_cast<int64_t>(layout->XOfPosition(n)) + x, INT32_MIN, INT32_MAX));
  if (!pos->IsHidden() || score.ShowsHiddenItems()) {
    TStaffItemSite site(score, *layout);
    const bool songNote = (pos->GetKind() == kDrawNote || pos->GetKind() == kDrawGraceNote) &&
                          item->IsSongNoteClass();
    if (songNote) {
      fonts.SetColorIndex(colorOverride >= 0 ? colorOverride : ItemDrawColor(site, *item, *pos));
      score.SongNotes().DrawSongNote(score, *layout, n, itemX);
    } else {
      DrawOtherItem(site, *item, n, *pos, itemX);
    }
    const TStaffLyrics* lyrics = layout->GetStaff()->GetLyrics();
    const int lines = lyrics ? std::min(lyricLines, lyrics->GetCount()) : 0;
    fonts.SetColorIndex(colorOverride >= 0 ? colorOverride : staffColor);
    if (songNote && !pos->IsHidden())
      for (int line = 0; line < lines; ++line) DrawSyllable(score, slot, n, line, itemX);
  }
  fonts.SetColorIndex(staffColor);
}

}  // namespace kvt
