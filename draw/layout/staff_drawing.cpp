#include "draw/layout/staff_drawing.h"

#include <algorithm>
#include <cstdint>

#include "draw/items/item_color.h"
#include "draw/items/other_item_drawing.h"
#include "draw/layout/beam_layout.h"
#include "draw/layout/hairpin_drawing.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/slur_layout.h"
#include "draw/layout/staff_item_site.h"
#include "draw/layout/staff_prepare.h"
#include "draw/layout/tuplet_brackets.h"
#include "draw/music_fonts.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

bool IsSongNotePosition(const TStaffDrawPos& pos) {
  return pos.GetKind() == kDrawNote || pos.GetKind() == kDrawGraceNote;
}

int BarRightEdge(TMusicFonts& fonts, const TMusicStaff& staff, const TStaffDrawPos& bar, int x) {
  const auto* item = ItemAs<TBarLineData>(staff.GetItem(bar.GetItemIndex()));
  return x + fonts.GetBarLineWidth(item ? item->GetStyle() : kBarSingle);
}

void DrawLines(TScoreDrawInfo& score, int slot, int x0, int x1) {
  const TStackedStaff& stack = score.GetStack(slot);
  const TMusicStaff* staff = score.GetStaffDrawInfo(slot)->GetStaff();
  if (stack.collapsed || staff->GetLines() <= 0 || x1 <= x0) return;
  score.Fonts().DrawStaffLines(x0, x1, staff->GetLines(), false);
}

void DrawStaffLineSegments(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX,
                           int yOffset) {
  TStaffDrawInfo& layout = *score.GetStaffDrawInfo(slot);
  TMusicFonts& fonts = score.Fonts();
  const TMusicStaff& staff = *layout.GetStaff();
  int64_t x = leftX;
  int64_t segmentStart = leftX;
  const TStaffDrawPos* previous = nullptr;
  int64_t previousX = leftX;
  for (int n = 0; n < layout.GetDrawPosCount(); ++n) {
    const TStaffDrawPos& pos = *layout.PositionAt(n);
    if (n > 0 && pos.GetKind() == kDrawGap && !pos.IsHidden() && pos.GetWidth() > 0) {
      int64_t end = x;
      if (previous && previous->GetKind() == kDrawBarLine)
        end = BarRightEdge(fonts, staff, *previous, static_cast<int>(previousX));
      DrawLines(score, slot, static_cast<int>(segmentStart), static_cast<int>(end));
      segmentStart = x + pos.GetWidth();
      const auto* sizer = ItemAs<TStaffSizer>(staff.GetItem(pos.GetItemIndex()));
      if (slot == 0 && sizer && sizer->HasSystemConnections())
        DrawSystemStart(score, static_cast<int>(segmentStart), yOffset);
    }
    previous = &pos;
    previousX = x;
    x += pos.GetWidth();
    if (pos.GetKind() == kDrawBarLine && previousX > span.right) break;
  }
  DrawLines(score, slot, static_cast<int>(segmentStart), static_cast<int>(x));
}

}  // namespace

void DrawSystemStart(TScoreDrawInfo& score, int x, int yOffset) {
  if (score.GetDrawMode() == kDrawModeStaffOnly || score.GetStaffCount() == 0) return;
  TMusicFonts& fonts = score.Fonts();
  const int savedColor = fonts.GetColorIndex();
  const int savedOrigin = fonts.GetStaffOrigin();
  fonts.SetColorIndex(kColorInk);
  fonts.SetStaffOrigin(0);
  const int step = score.GetStepHeight();
  auto topLine = [&](int i) {
    return yOffset + score.GetStack(i).originY +
           score.GetStaffDrawInfo(i)->GetStaff()->GetTopLinePosition() * step;
  };
  auto bottomLine = [&](int i) {
    return yOffset + score.GetStack(i).originY +
           score.GetStaffDrawInfo(i)->GetStaff()->GetBottomLinePosition() * step;
  };
  bool drewJoin = false;
  // Bracket and brace runs: staves joined to the next continue a run.
  for (int kind = 0; kind < 2; ++kind) {
    int runStart = -1;
    for (int i = 0; i < score.GetStaffCount(); ++i) {
      const TStackedStaff& s = score.GetStack(i);
      const uint8_t bits = kind == 0 ? s.bracketBits : s.braceBits;
      if (runStart < 0 && (bits & kJoinedToNext) != 0) runStart = i;
      const bool endsRun =
          runStart >= 0 && (bits & kJoinedToNext) == 0 && (bits & kJoinedToPrevious) != 0;
      if (!endsRun) continue;
      if (kind == 0) {
        fonts.DrawBracket(x, topLine(runStart), bottomLine(i));
      } else {
        const bool heavier =
            (score.GetStack(runStart).bracketBits & (kJoinedToNext | kJoinedToPrevious)) != 0;
        fonts.DrawBrace(x, topLine(runStart), bottomLine(i), heavier);
      }
      drewJoin = true;
      runStart = -1;
    }
  }
  const int first = score.GetStacking().firstLinedStaff;
  int last = -1;
  for (int i = 0; i < score.GetStaffCount(); ++i)
    if (score.GetStaffDrawInfo(i)->GetStaff()->GetLines() > 0 && !score.GetStack(i).collapsed)
      last = i;
  if (last >= 0 && (score.GetLinedGroupCount() > 1 || drewJoin))
    fonts.DrawBarStroke(x, topLine(first), bottomLine(last));
  const TMusicScore* music = score.GetScore();
  const TStaffDrawInfo* firstLayout = score.GetStaffDrawInfo(0);
  if (music && music->GetBarNumbers() != 0 && firstLayout) {
    // The bars completed before the system: one less than the counter of its first bar line.
    int completed = 0;
    for (int n = 1; n < firstLayout->GetDrawPosCount(); ++n) {
      const TStaffDrawPos& pos = *firstLayout->PositionAt(n);
      const bool restStart = pos.GetKind() == kDrawMultiBarRest && !pos.IsAutoInsert();
      if (pos.GetKind() != kDrawBarLine && !restStart) continue;
      completed = pos.GetCounter() - 1;
      break;
    }
    const int number = std::max(completed, 0) + music->GetStartingBar();
    if (number > 1) {
      fonts.SetStaffOrigin(topLine(first));
      fonts.DrawBarNumber(x, -5.0f, music->GetBarNumbers(), number);
    }
  }
  fonts.SetStaffOrigin(savedOrigin);
  fonts.SetColorIndex(savedColor);
}

void DrawStaff(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX, int yOffset) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  if (!layout || !layout->GetStaff()) return;
  TMusicFonts& fonts = score.Fonts();
  const TStackedStaff& stack = score.GetStack(slot);
  fonts.SetStaffOrigin(yOffset + stack.originY);
  const bool active = score.GetActiveStaff() == slot;
  const int staffColor =
      StaffColorIndex(layout->GetStaff()->GetColor(), score.ShowsHiddenItems(), active);
  fonts.SetColorIndex(staffColor);
  if (slot == 0 && (score.IsPageOutput() || leftX > 0)) DrawSystemStart(score, leftX, yOffset);
  fonts.SetStaffOrigin(yOffset + stack.originY);
  fonts.SetColorIndex(staffColor);
  DrawStaffLineSegments(score, slot, span, leftX, yOffset);
  if (stack.collapsed) return;
  PrepareForDrawing(score, slot, leftX);
  fonts.SetColorIndex(staffColor);
  DrawSlurs(fonts, *layout, span.left, span.right);
  fonts.SetColorIndex(staffColor);
  if (score.GetDrawMode() != kDrawModeStaffOnly) DrawLyrics(score, slot, span, leftX);

  TStaffItemSite site(score, *layout);
  const TMusicStaff& staff = *layout->GetStaff();
  const int count = layout->GetDrawPosCount() - (score.GetDrawMode() == kDrawModeStaffOnly ? 1 : 0);
  int64_t x = leftX;
  int hairpinEnd = -1;
  for (int n = 0; n < count; ++n) {
    const TStaffDrawPos& pos = *layout->PositionAt(n);
    const int64_t here = x;
    x += pos.GetWidth();
    if (n == 0 || pos.IsStaffStart()) continue;
    if (pos.IsHidden() && !score.ShowsHiddenItems()) continue;
    const TNotatedItem* item = staff.GetItem(pos.GetItemIndex());
    if (!item) continue;
    if (IsSongNotePosition(pos) && item->IsSongNoteClass()) {
      if (pos.GetItemIndex() > hairpinEnd) {
        const int runEnd = DrawHairpin(score, slot, n, static_cast<int>(here));
        if (runEnd >= 0) hairpinEnd = runEnd;
      }
      const auto& song = static_cast<const TSongNote&>(*item);
      fonts.SetColorIndex(staffColor);
      if (song.GetBeamState() == kGroupFirst)
        DrawBeamGroup(fonts, *layout, n, static_cast<int>(here));
      if (song.GetTripletState() == kGroupFirst) DrawTupletBracket(fonts, *layout, n);
      fonts.SetColorIndex(ItemDrawColor(site, *item, pos));
      score.SongNotes().DrawSongNote(score, *layout, n, static_cast<int>(here));
    } else {
      DrawOtherItem(site, *item, n, pos, static_cast<int>(here));
    }
    if (pos.GetKind() == kDrawBarLine && here > span.right) break;
  }
  fonts.SetColorIndex(staffColor);
}

}  // namespace kvt
