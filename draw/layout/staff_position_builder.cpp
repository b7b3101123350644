#include "draw/layout/staff_position_builder.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "draw/items/song_note_metrics.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/general_expression.h"
#include "notation/items/item_cast.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr int kMaxSignatureNames = 32;
constexpr int kLeadInBars = 3;

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

bool IsBarOrContinuation(const TStaffDrawPos& p) {
  return p.GetKind() == kDrawBarLine || p.GetKind() == kDrawMultiBarRestContinuation;
}

// The value class of a duration in ticks: 0 shorter than a quarter, 1 quarter, 2 half, 3 whole.
int TicksValueClass(int64_t ticks) {
  const int64_t q = ticks / 192;
  return q > 3 ? 3 : (q > 1 ? 2 : (q == 1 ? 1 : 0));
}

}  // namespace

TStaffPositionBuilder::TStaffPositionBuilder(TStaffDrawInfo& layout)
    : layout(layout),
      staff(*layout.GetStaff()),
      metrics(layout.Metrics()),
      showHidden(layout.ShowsHiddenItems()),
      unit(layout.Metrics().UnitWidth()) {}

bool TStaffPositionBuilder::HasRoom() const {
  // Room for an item's position with its gap end or continuation.
  return layout.GetDrawPosCount() < kMaxDrawPositions - 4;
}

TStaffDrawPos& TStaffPositionBuilder::NewPosition() {
  auto& positions = layout.positions;
  if (positions.size() == positions.capacity())
    positions.reserve(std::min<size_t>(positions.capacity() + kDrawPositionGrowth, kMaxDrawPositions));
  TStaffDrawPos& pos = positions.emplace_back();
  pos.Reset();
  return pos;
}

void TStaffPositionBuilder::FillPosition(TStaffDrawPos& pos, const TRelNtnIdx& cursor, int itemIndex,
                                         bool autoInsert) {
  pos.Reset();
  pos.SetItemIndex(itemIndex);
  const TNotatedItem* item = staff.GetItem(itemIndex);
  if (!item) return;
  pos.SetAutoInsert(autoInsert || itemIndex != cursor.GetIndex());
  pos.SetHidden(!layout.IsItemVisible(*item));
  switch (item->GetType()) {
    case kItemClef:
    case kItemKey: {
      pos.SetKind(item->GetType() == kItemClef ? kDrawClef : kDrawKey);
      const bool autoSys = item->GetType() == kItemClef ? static_cast<const TClefData&>(*item).IsAutoSys()
                                                         : static_cast<const TKeyData&>(*item).IsAutoSys();
      if (pos.IsAutoInsert() && !autoSys) pos.SetHidden(true);
      break;
    }
    case kItemBarLine: {
      pos.SetKind(kDrawBarLine);
      const auto& bar = static_cast<const TBarLineData&>(*item);
      // Bars left out of the count carry no counter.
      if (!bar.IsNotABar()) pos.SetCounter(std::min<int32_t>(cursor.GetBarCount(false), UINT16_MAX));
      break;
    }
    case kItemEnding: pos.SetKind(kDrawEnding); break;
    case kItemTimeSig: pos.SetKind(kDrawTimeSig); break;
    case kItemUserObject: pos.SetKind(kDrawUserObject); break;
    case kItemSpacer: pos.SetKind(kDrawSpacer); break;
    case kItemMarker: pos.SetKind(kDrawMarker); break;
    case kItemMultiBarRest: {
      pos.SetKind(kDrawMultiBarRest);
      pos.SetTimeSlots(static_cast<const TMultiMeasureRest&>(*item).GetBarTicks());
      const int bar = cursor.GetMultiBarRestBar();
      if (bar > 0) {
        pos.SetAutoInsert(true);
        pos.SetCounter(std::min(bar, static_cast<int>(UINT16_MAX)));
      } else {
        pos.SetCounter(std::min<int32_t>(cursor.GetBarCount(false), UINT16_MAX));
      }
      break;
    }
    case kItemBoundary: {
      const auto& sizer = static_cast<const TStaffSizer&>(*item);
      const bool gap = sizer.GetStyle() == kSizerGap && sizer.GetGapWidth() != 0;
      pos.SetKind(gap ? kDrawGap : kDrawSizer);
      if (!gap && !showHidden) pos.SetHidden(true);
      break;
    }
    default: {
      if (const auto* song = ItemAs<TSongNote>(item)) {
        pos.SetKind(song->IsGrace() ? kDrawGraceNote : kDrawNote);
        pos.SetTimeSlots(song->GetDuration());
        pos.SetAccidentalColumns(SongNoteAccidentalSpace(*song));
        pos.SetHeadColumns(song->GetHeadColumns());
        if (song->TakesLyric())
          pos.SetCounter(std::min<int32_t>(cursor.GetSyllableCount() + 1, UINT16_MAX));
      } else if (const auto* expr = ItemAs<TNtnGeneralExpression>(item)) {
        const int placement = expr->GetPlacement();
        pos.SetKind(placement == kPlaceBestFitForward ? kDrawForwardExpression
                    : placement == kPlaceAsStaffSignature ? kDrawSignatureExpression
                                                          : kDrawOther);
      }
      break;
    }
  }
}

void TStaffPositionBuilder::ApplyMultiBarRestView(TStaffDrawPos& pos, const TRelNtnIdx& cursor, int n) {
  if (pos.GetKind() != kDrawMultiBarRest || cursor.GetMultiBarRestBar() == 0) return;
  const auto* rest = static_cast<const TMultiMeasureRest*>(staff.GetItem(pos.GetItemIndex()));
  if (showHidden) {
    pos.SetHidden(true);
    return;
  }
  const bool notVisible = pos.IsHidden();
  bool firstInLayout = true;
  for (int i = 1; i < n && firstInLayout; ++i)
    if (layout.positions[static_cast<size_t>(i)].GetItemIndex() == pos.GetItemIndex() &&
        layout.positions[static_cast<size_t>(i)].GetKind() == kDrawMultiBarRest)
      firstInLayout = false;
  bool byPrintOnce = false;
  if (layout.GetHost().IsPageOutput()) {
    if (rest->IsPrintOnce()) {
      byPrintOnce = true;
      pos.SetHidden(true);
    } else if (firstInLayout) {
      pos.SetAutoInsert(false);
    } else {
      pos.SetHidden(true);
    }
  } else if (!firstInLayout) {
    pos.SetHidden(true);
  }
  if ((notVisible || byPrintOnce) && (rest->IsShowBarsWhenHidden() || rest->IsShowRestsWhenHidden())) {
    pos.SetHidden(false);
    pos.SetAutoInsert(true);
  }
}

int TStaffPositionBuilder::GapFor(const TStaffDrawPos& p, const TStaffDrawPos& n) const {
  const int nk = n.GetKind();
  const bool nSig = nk == kDrawClef || nk == kDrawKey || nk == kDrawTimeSig;
  switch (p.GetKind()) {
    case kDrawGapEnd:
      if (nk == kDrawGap || nk == kDrawEnding || nk == kDrawBarLine) return 0;
      return nSig ? unit / 2 : unit * 3 / 2;
    case kDrawEnding:
    case kDrawMultiBarRestContinuation: return unit * 3 / 2;
    case kDrawClef:
      if (GetAlignClass(p, &staff) == 0) return unit * 2 / 3;
      [[fallthrough]];
    case kDrawKey:
    case kDrawTimeSig: return nk == kDrawNote ? unit * 8 / 5 : unit * 2 / 3;
    case kDrawBarLine: {
      if (nk == kDrawGapEnd) return 0;
      if (nk == kDrawEnding) return showHidden ? unit / 2 : 0;
      if (nSig) return unit / 2;
      if (nk != kDrawBarLine) return unit * 3 / 2;
      if (!showHidden) return 0;
      const auto* pb = ItemAs<TBarLineData>(staff.GetItem(p.GetItemIndex()));
      const auto* nb = ItemAs<TBarLineData>(staff.GetItem(n.GetItemIndex()));
      if (pb && nb && pb->GetOpeningStyle() != kBarNoOpeningStyle && nb->GetStyle() == pb->GetOpeningStyle())
        return 0;
      return unit * 2;
    }
    default: return 0;
  }
}

void TStaffPositionBuilder::ApplyKindGap(int n) {
  auto& positions = layout.positions;
  const TStaffDrawPos& added = positions[static_cast<size_t>(n)];
  int64_t between = 0;
  for (int i = n - 1; i >= 0; --i) {
    TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    const int kind = p.GetKind();
    if (kind == kDrawStaffStart) return;
    if (!p.IsHidden() && (kind == kDrawGap || kind == kDrawSpacer)) return;
    const bool noSpacing = p.IsHidden() || kind == kDrawGap || kind == kDrawSpacer || kind == kDrawOther ||
                           kind == kDrawSizer || kind == kDrawUserObject || kind == kDrawMarker ||
                           kind == kDrawForwardExpression;
    if (noSpacing) {
      between += p.GetWidth();
      continue;
    }
    const int64_t extra = GapFor(p, added) - between;
    if (extra > 0) AddWidthTo(p, ClampToInt(extra));
    return;
  }
}

int TStaffPositionBuilder::Padding(const TStaffDrawPos& pos) const {
  const TNotatedItem* item = staff.GetItem(pos.GetItemIndex());
  if (!item) return 0;
  int64_t pad = 0;
  int valueClass = 0;
  int size = 0;
  int64_t scaleNum = 1, scaleDen = 1;
  if (pos.GetKind() == kDrawMultiBarRest) {
    pad = unit;
    valueClass = TicksValueClass(static_cast<const TMultiMeasureRest&>(*item).GetBarTicks());
  } else if (const auto* song = ItemAs<TSongNote>(item)) {
    size = SizeIndexOf(*song);
    if (const auto* note = ItemAs<TMusicNote>(item)) {
      pad = metrics.GlyphWidth(size, note->GetNoteHeadSymbol());
      if (note->GetHeadColumns() == 1 && note->HasOwnStem() && note->GetStemDir() > 0 && note->GetFlagCount() > 0)
        pad += metrics.GlyphWidth(size, kGlyphFlag);
    } else {
      pad = metrics.GlyphWidth(size, kGlyphFilledHead);
    }
    const auto* rest = ItemAs<TRestNote>(item);
    valueClass = rest && rest->HasTickLength() ? TicksValueClass(rest->GetTickLength())
                                               : std::max(0, 3 - song->GetDurationCode());
    if (song->IsDotted() || song->IsDblDotted()) scaleNum *= 3, scaleDen *= 2;
    if (song->IsTriplet()) scaleNum *= 2, scaleDen *= 3;
  }
  const TMusicScore* score = layout.GetScore();
  const bool durationPadding = score && score->GetDurationPadding() &&
                               (pos.GetKind() == kDrawNote ||
                                (pos.GetKind() == kDrawMultiBarRest && pos.IsAutoInsert()));
  if (durationPadding) {
    static constexpr int kUnits[4] = {0, 1, 4, 8};
    const int64_t u = metrics.GlyphWidth(size, kGlyphFilledHead);
    pad += u * kUnits[valueClass] * scaleNum / scaleDen;
  }
  return ClampToInt(pad);
}

void TStaffPositionBuilder::PadBar(int end) {
  auto& positions = layout.positions;
  int first = end - 1;
  while (first > 0 && !IsBarOrContinuation(positions[static_cast<size_t>(first)])) --first;
  for (int i = first + 1; i < end; ++i) {
    TStaffDrawPos& pos = positions[static_cast<size_t>(i)];
    const int kind = pos.GetKind();
    if (pos.IsHidden() || (kind != kDrawMultiBarRest && kind != kDrawGraceNote && kind != kDrawNote)) continue;
    if (i + 1 < layout.GetDrawPosCount()) {
      const TStaffDrawPos& next = positions[static_cast<size_t>(i) + 1];
      if (!next.IsHidden() && (next.GetKind() == kDrawSpacer || next.GetKind() == kDrawGap)) continue;
    }
    AddWidthTo(pos, Padding(pos));
  }
}

void TStaffPositionBuilder::AddWidthTo(TStaffDrawPos& pos, int width) {
  const int before = pos.GetWidth();
  pos.AddWidth(width);
  total += pos.GetWidth() - static_cast<int64_t>(before);
}

bool TStaffPositionBuilder::PlaceItem(const TRelNtnIdx& cursor, int64_t& addedWidth) {
  if (!HasRoom()) {
    layout.endedByLimit = true;
    return false;
  }
  const int64_t totalBefore = total;
  const int n = layout.GetDrawPosCount();
  TStaffDrawPos& pos = NewPosition();
  FillPosition(pos, cursor, cursor.GetIndex(), false);
  ApplyMultiBarRestView(pos, cursor, n);
  const TNotatedItem* item = staff.GetItem(cursor.GetIndex());
  if (item && (!pos.IsHidden() || (showHidden && !pos.IsAutoInsert()))) {
    int width = layout.MeasureItem(pos, *item);
    if (showHidden && width < unit / 5) width = unit / 5;
    pos.SetWidth(width);
  } else {
    pos.SetWidth(0);
    if (pos.GetKind() == kDrawForwardExpression || pos.GetKind() == kDrawSignatureExpression) pos.SetKind(kDrawOther);
    pos.SetAccidentalColumns(0);
    pos.SetHeadColumns(0);
  }
  total += pos.GetWidth();
  ApplyKindGap(n);
  if (pos.GetKind() == kDrawGap) {
    TStaffDrawPos& end = NewPosition();
    end.SetItemIndex(cursor.GetIndex());
    end.SetKind(kDrawGapEnd);
    end.SetAutoInsert(true);
    end.SetWidth(0);
    ApplyKindGap(n + 1);
  }
  if (layout.positions[static_cast<size_t>(n)].GetKind() == kDrawMultiBarRest) {
    const auto& rest = static_cast<const TMultiMeasureRest&>(*item);
    const int bar = cursor.GetMultiBarRestBar();
    if (bar < rest.GetNumBars() - 1) {
      const TStaffDrawPos restPos = layout.positions[static_cast<size_t>(n)];
      TStaffDrawPos& cont = NewPosition();
      cont.SetItemIndex(cursor.GetIndex());
      cont.SetKind(kDrawMultiBarRestContinuation);
      cont.SetAutoInsert(true);
      cont.SetCounter(std::min(bar + 1, static_cast<int>(UINT16_MAX)));
      if (restPos.IsAutoInsert() && !restPos.IsHidden()) {
        cont.SetWidth(restPos.GetWidth());
      } else {
        cont.SetHidden(true);
        cont.SetWidth(0);
      }
      total += cont.GetWidth();
      ApplyKindGap(layout.GetDrawPosCount() - 1);
      PadBar(layout.GetDrawPosCount() - 1);
    }
  }
  if (layout.positions[static_cast<size_t>(n)].GetKind() == kDrawBarLine) PadBar(n);
  addedWidth = total - totalBefore;
  return true;
}

void TStaffPositionBuilder::Finish(const TRelNtnIdx& cursor, bool atEnd) {
  auto& positions = layout.positions;
  layout.reachedEnd = atEnd;
  if (atEnd && positions.size() > 1) {
    TStaffDrawPos& last = positions.back();
    if (const TNotatedItem* item = staff.GetItem(last.GetItemIndex()); item && last.GetWidth() > 0)
      last.SetWidth(layout.MeasureItem(last, *item));
  }
  PadBar(layout.GetDrawPosCount());
  layout.MarkChanged();
  layout.SpaceLyrics();
  layout.layoutEnd = {cursor.GetIndex(), cursor.GetMultiBarRestBar()};
  layout.AddCheckpoint(cursor);
  layout.MarkChanged();
}

void TStaffPositionBuilder::Build(int64_t firstTime, int width) {
  layout.positions.clear();
  layout.endedByLimit = false;
  TRelNtnIdx cursor = layout.ResumeCursor(INT_MAX, firstTime);
  cursor.SeekTime(firstTime, true);
  for (int passed = 0; passed < kLeadInBars && cursor.CanStepBar(-1);) {
    if (!cursor.PrevBarwise(true)) break;
    const TNotatedItem* item = cursor.GetItem();
    if (item && (item->GetType() == kItemBarLine || item->GetType() == kItemMultiBarRest)) ++passed;
  }
  // A window laid out again near here (a scroll back and forth) resumes from this place instead
  // of from the end of some earlier window, which may lie far before it.
  layout.AddCheckpoint(cursor);
  TStaffDrawPos& start = NewPosition();
  start.SetKind(kDrawStaffStart);
  start.SetAutoInsert(true);
  start.SetWidth(0);
  start.SetTimeSlots(static_cast<int32_t>(std::min<int64_t>(cursor.GetTicks(), INT32_MAX)));

  int64_t used = 0;
  int barsToGo = -1;
  bool atEnd = false;
  for (;;) {
    int64_t added = 0;
    if (!PlaceItem(cursor, added)) break;
    if (cursor.GetTicks() >= firstTime) used += added;
    const TStaffDrawPos& placed = layout.positions.back();
    if (barsToGo < 0 && used > width) barsToGo = kLeadInBars;
    if (barsToGo > 0 && layout.positions[static_cast<size_t>(layout.GetDrawPosCount() - 1)].GetKind() == kDrawBarLine &&
        --barsToGo == 0) {
      cursor.NextBarwise(true);
      break;
    }
    (void)placed;
    if (!cursor.NextBarwise(true)) {
      atEnd = true;
      break;
    }
  }
  Finish(cursor, atEnd);
}

void TStaffPositionBuilder::AddSignatures(const TLayoutStart& start, const TRelNtnIdx& cursor) {
  // Systems follow each other: the scan goes on from where the last one stopped.
  auto& scan = layout.signatures;
  const int stop = std::min(start.itemIndex, staff.GetItemCount());
  if (stop < scan.scannedTo) scan = {};
  TSimpleNtnIdx idx(&staff, scan.scannedTo);
  for (int i = scan.scannedTo; i < stop; ++i, idx.Next()) {
    const char* tag = idx.GetClefKeyTag();
    if (!tag) continue;
    const auto it = std::find(scan.names.begin(), scan.names.end(), tag);
    if (it != scan.names.end()) {
      scan.lastItem[static_cast<size_t>(it - scan.names.begin())] = i;
    } else if (static_cast<int>(scan.names.size()) < kMaxSignatureNames) {
      scan.names.emplace_back(tag);
      scan.lastItem.push_back(i);
    }
  }
  scan.scannedTo = std::max(scan.scannedTo, stop);
  for (int itemIndex : scan.lastItem) {
    const int n = layout.GetDrawPosCount();
    TStaffDrawPos& pos = NewPosition();
    FillPosition(pos, cursor, itemIndex, true);
    const TNotatedItem* item = staff.GetItem(itemIndex);
    pos.SetWidth(!pos.IsHidden() ? layout.MeasureItem(pos, *item) : 0);
    total += pos.GetWidth();
    ApplyKindGap(n);
  }
}

void TStaffPositionBuilder::BuildFrom(const TLayoutStart& start, int width) {
  layout.positions.clear();
  layout.endedByLimit = false;
  TRelNtnIdx cursor = layout.ResumeCursor(start.itemIndex);
  if (!cursor.SeekPosition({start.itemIndex, start.restBar})) {
    cursor.SetIndex(std::clamp(start.itemIndex, 0, std::max(0, staff.GetLastIndex())));
  }
  TStaffDrawPos& first = NewPosition();
  first.SetKind(kDrawStaffStart);
  first.SetAutoInsert(true);
  first.SetWidth(0);
  first.SetTimeSlots(static_cast<int32_t>(std::min<int64_t>(cursor.GetTicks(), INT32_MAX)));
  if (start.itemIndex > 0 || start.restBar > 0) AddSignatures(start, cursor);
  // A gap at the very start widens the staff start instead of standing on its own.
  if (const auto* sizer = ItemAs<TStaffSizer>(cursor.GetItem());
      sizer && sizer->GetStyle() == kSizerGap && layout.IsItemVisible(*sizer)) {
    TStaffDrawPos probe;
    probe.Reset();
    AddWidthTo(layout.positions[0], layout.MeasureItem(probe, *sizer));
    if (!cursor.NextBarwise(true)) {
      Finish(cursor, true);
      return;
    }
  }

  int64_t used = total;
  bool notePlaced = false;
  bool full = false;
  bool atEnd = false;
  int placedItems = 0;
  for (;;) {
    const TNotatedItem* item = cursor.GetItem();
    const bool barLike = item && (item->GetType() == kItemBarLine || item->GetType() == kItemMultiBarRest);
    if (full && barLike && item->GetType() == kItemMultiBarRest && placedItems > 0) break;
    int64_t added = 0;
    if (!PlaceItem(cursor, added)) break;
    ++placedItems;
    used += added;
    const int kind = layout.positions[static_cast<size_t>(layout.GetDrawPosCount() - 1)].GetKind();
    if (kind == kDrawNote || kind == kDrawGraceNote || kind == kDrawMultiBarRest || kind == kDrawMultiBarRestContinuation)
      notePlaced = true;
    if (full && barLike) {
      cursor.NextBarwise(true);
      break;
    }
    if (!cursor.NextBarwise(true)) {
      atEnd = true;
      break;
    }
    if (notePlaced && !full) {
      // Would the next item still fit?
      if (const TNotatedItem* next = cursor.GetItem()) {
        TStaffDrawPos probe;
        probe.Reset();
        if (const auto* song = ItemAs<TSongNote>(next)) probe.SetAccidentalColumns(SongNoteAccidentalSpace(*song));
        if (used + layout.MeasureItem(probe, *next) > width) full = true;
      }
    }
  }
  Finish(cursor, atEnd);
}

}  // namespace kvt
