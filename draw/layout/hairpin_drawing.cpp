#include "draw/layout/hairpin_drawing.h"

#include <algorithm>
#include <cstdint>

#include "draw/items/item_color.h"
#include "draw/items/other_item_kinds.h"
#include "draw/layout/lyric_band.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr float kDefaultHairpinPosition = 9.0f;

uint16_t HairpinMask(const TNotatedItem* item) {
  const auto* song = ItemAs<TSongNote>(item);
  if (!song) return 0;
  return song->GetFlags() & (kMaskCrescendo | kMaskDiminuendo);
}

}  // namespace

int DrawHairpin(TScoreDrawInfo& score, int slot, int pos, int x) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  if (!layout || !layout->GetStaff() || !layout->PositionAt(pos)) return -1;
  const TMusicStaff& staff = *layout->GetStaff();
  const int noteItem = layout->PositionAt(pos)->GetItemIndex();
  const uint16_t mask = HairpinMask(staff.GetItem(noteItem));
  if (mask == 0) return -1;
  // The run: song notes with the same option, other kinds of items passed over.
  int first = noteItem, last = noteItem;
  for (int i = noteItem - 1; i >= 0; --i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (!item->IsSongNoteClass()) continue;
    if (HairpinMask(item) != mask) break;
    first = i;
  }
  for (int i = noteItem + 1; i < staff.GetItemCount(); ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (!item->IsSongNoteClass()) continue;
    if (HairpinMask(item) != mask) break;
    last = i;
  }
  TMusicFonts& fonts = score.Fonts();
  float position = kDefaultHairpinPosition;
  // Clear of the lyric lines: level with its dynamic, which moves as the expressions do, or,
  // without one, as a mark one space high (a hairpin's opening).
  float up = 1.0f, down = 1.0f;
  for (int i = first - 1; i >= 0; --i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemDynamic || item->GetType() == kItemDynamicVariance) {
      const auto& dynamic = static_cast<const TNtnGeneralExpression&>(*item);
      position = dynamic.GetPos();
      ExpressionReach(fonts, dynamic, up, down);
      break;
    }
  }
  position = ClearOfLyricBand(GetLyricBand(score, slot), position, up, down,
                              staff.GetTopLinePosition(), staff.GetBottomLinePosition());
  const int unit = fonts.GetGlyphWidth(kGlyphFilledHead);
  const TStaffDrawPos& at = *layout->PositionAt(pos);
  const int64_t start = first == noteItem ? x + layout->GetLeadWidth(at) + unit / 2 : x;
  int64_t end = start;
  bool allHidden = true;
  bool reachedLast = false;
  int64_t px = x;
  for (int n = pos; n < layout->GetDrawPosCount(); ++n) {
    const TStaffDrawPos& p = *layout->PositionAt(n);
    if (p.GetItemIndex() > last) {
      reachedLast = true;
      break;
    }
    if (p.GetKind() == kDrawNote && !p.IsHidden()) allHidden = false;
    if (p.GetItemIndex() == last && (p.GetKind() == kDrawNote || p.GetKind() == kDrawGraceNote)) {
      const int64_t heads = px + layout->GetLeadWidth(p) +
                            static_cast<int64_t>(unit) * std::max(p.GetHeadColumns(), 1);
      end = std::max(px + p.GetWidth() - unit, heads);
      reachedLast = true;
    }
    px += p.GetWidth();
  }
  if (!reachedLast) end = px - unit;
  if (allHidden && !score.ShowsHiddenItems()) return last;
  const int saved = fonts.GetColorIndex();
  const bool active = score.GetActiveStaff() == slot;
  fonts.SetColorIndex(allHidden
                          ? HiddenColorIndex(score.ShowsHiddenItems(), active)
                          : StaffColorIndex(staff.GetColor(), score.ShowsHiddenItems(), active));
  fonts.DrawHairpinLines((mask & kMaskCrescendo) != 0 ? 1 : 2, static_cast<int>(start),
                         static_cast<int>(std::max(end, start)), position, false);
  fonts.SetColorIndex(saved);
  return last;
}

}  // namespace kvt
