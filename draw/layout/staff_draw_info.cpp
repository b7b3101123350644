#include "draw/layout/staff_draw_info.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_position_builder.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

int ClampToInt(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

int GetAlignClass(const TStaffDrawPos& pos, const TMusicStaff* staff) {
  if (pos.IsHidden()) {
    // A hidden note that carries a syllable still stands at its time, so that its syllable
    // lines up with the other staves (the hidden notes of a lyric staff).
    const TStaffLyrics* lyrics = staff ? staff->GetLyrics() : nullptr;
    const bool sung =
        pos.GetKind() == kDrawNote && pos.GetCounter() > 0 && lyrics && lyrics->GetCount() > 0;
    return sung ? 8 : 0;
  }
  switch (pos.GetKind()) {
    case kDrawGap:
    case kDrawGapEnd: return 6;
    case kDrawMultiBarRest: return 7;
    case kDrawSignatureExpression: return 1;
    case kDrawKey: return 3;
    case kDrawTimeSig: return 4;
    case kDrawNote: return 8;
    case kDrawMultiBarRestContinuation:
    case kDrawBarLine: return 5;
    case kDrawClef: {
      // A clef after a note, rest or multi-bar rest in its bar is a mid-bar change.
      if (!staff) return 2;
      for (int i = pos.GetItemIndex() - 1; i >= 0; --i) {
        const TNotatedItem* item = staff->GetItem(i);
        if (!item || item->GetType() == kItemBarLine) break;
        if (item->IsSongNoteClass() || item->GetType() == kItemMultiBarRest) return 0;
      }
      return 2;
    }
    default: return 0;
  }
}

TStaffDrawInfo::TStaffDrawInfo(TStaffLayoutHost& host, int slot) : host(&host), slot(slot) {
  positions.reserve(kDrawPositionGrowth);
}

void TStaffDrawInfo::SetStaff(int scoreStaffIndex) {
  TMusicScore* score = host->GetScore();
  // The library's binding preconditions, reported under the layout's source name.
  if (!score) ThrowPrecondition("ScoreDraw->Score", "NTNDRAW", __LINE__);
  if (scoreStaffIndex < 0) ThrowPrecondition("staffIndex >= 0", "NTNDRAW", __LINE__);
  TMusicStaff* found = score->GetStaff(scoreStaffIndex);
  if (!found) ThrowPrecondition("Staff", "NTNDRAW", __LINE__);
  SetStaffByPointer(found);
  this->scoreStaffIndex = scoreStaffIndex;
}

void TStaffDrawInfo::SetStaffByPointer(TMusicStaff* bound) {
  staff = bound;
  scoreStaffIndex = -1;
  positions.clear();
  MarkChanged();
  StaffChanged();
  if (bound) SetExtents(std::abs(bound->GetBoundaryTop()), std::abs(bound->GetBoundaryBottom()));
  originY = 0;
  layoutEnd = {};
  reachedEnd = false;
}

void TStaffDrawInfo::StaffChanged(int firstChanged) {
  if (firstChanged <= 0) {
    checkpoints.clear();
    boundaryPlaces.clear();
    signatures = {};
    signatureScans.clear();
    syllableLines = {};
    return;
  }
  while (!checkpoints.empty() && checkpoints.back().GetIndex() >= firstChanged) checkpoints.pop_back();
  while (!boundaryPlaces.empty() && boundaryPlaces.back().at.GetIndex() >= firstChanged)
    boundaryPlaces.pop_back();
  if (signatures.scannedTo > firstChanged) signatures = {};
  while (!signatureScans.empty() && signatureScans.back().scannedTo > firstChanged)
    signatureScans.pop_back();
}

void TStaffDrawInfo::AddCheckpoint(const TRelNtnIdx& at) {
  constexpr size_t kMaxCheckpoints = 8192;
  const auto place = std::upper_bound(checkpoints.begin(), checkpoints.end(), at.GetIndex(),
                                      [](int index, const TRelNtnIdx& c) { return index < c.GetIndex(); });
  if (place != checkpoints.begin() && std::prev(place)->GetIndex() == at.GetIndex()) {
    *std::prev(place) = at;
    return;
  }
  if (checkpoints.size() < kMaxCheckpoints) checkpoints.insert(place, at);
}

TRelNtnIdx TStaffDrawInfo::ResumeCursor(int targetIndex, int64_t targetTicks) const {
  for (auto it = checkpoints.rbegin(); staff && it != checkpoints.rend(); ++it) {
    const bool before = targetTicks >= 0 ? it->GetTicks() < targetTicks : it->GetIndex() <= targetIndex;
    if (before && it->GetItem() == staff->GetItem(it->GetIndex())) return *it;
  }
  return staff ? TRelNtnIdx(staff) : TRelNtnIdx();
}

TStaffDrawInfo::TSignatureScan TStaffDrawInfo::SignatureScanBefore(int stop) const {
  const auto after =
      std::upper_bound(signatureScans.begin(), signatureScans.end(), stop,
                       [](int at, const TSignatureScan& scan) { return at < scan.scannedTo; });
  return after == signatureScans.begin() ? TSignatureScan{} : *std::prev(after);
}

void TStaffDrawInfo::KeepSignatureScan(const TSignatureScan& scan) {
  constexpr size_t kMaxScans = 8192;
  const auto place =
      std::lower_bound(signatureScans.begin(), signatureScans.end(), scan.scannedTo,
                       [](const TSignatureScan& kept, int at) { return kept.scannedTo < at; });
  if (place != signatureScans.end() && place->scannedTo == scan.scannedTo) return;
  if (signatureScans.size() < kMaxScans) signatureScans.insert(place, scan);
}

int TStaffDrawInfo::BoundaryVisibility() const {
  return (host->IsFirstLayoutStaff(slot) ? 1 : 0) | (host->GetLinedGroupCount() >= 2 ? 2 : 0);
}

void TStaffDrawInfo::AddBoundaryPlace(const TSDNtnIdx& at) {
  constexpr size_t kMaxPlaces = 8192;
  const int visibility = BoundaryVisibility();
  const auto place =
      std::upper_bound(boundaryPlaces.begin(), boundaryPlaces.end(), at.GetIndex(),
                       [](int index, const TBoundaryPlace& p) { return index < p.at.GetIndex(); });
  if (place != boundaryPlaces.begin() && std::prev(place)->at.GetIndex() == at.GetIndex()) {
    *std::prev(place) = {at, visibility};
    return;
  }
  if (boundaryPlaces.size() < kMaxPlaces) boundaryPlaces.insert(place, {at, visibility});
}

TSDNtnIdx TStaffDrawInfo::BoundaryCursor(int targetIndex) {
  const int visibility = BoundaryVisibility();
  for (auto it = boundaryPlaces.rbegin(); it != boundaryPlaces.rend(); ++it) {
    if (it->at.GetIndex() > targetIndex || it->visibility != visibility) continue;
    if (it->at.GetItem() != staff->GetItem(it->at.GetIndex())) continue;
    TSDNtnIdx resumed = it->at;
    resumed.SetIndex(targetIndex);
    return resumed;
  }
  return TSDNtnIdx(*this, targetIndex);
}

TStaffDrawPos* TStaffDrawInfo::GetDrawPosAt(int n) {
  // The caller may change the width.
  MarkChanged();
  return n >= 0 && n < GetDrawPosCount() ? &positions[static_cast<size_t>(n)] : nullptr;
}

const TStaffDrawPos* TStaffDrawInfo::PositionAt(int n) const {
  return n >= 0 && n < GetDrawPosCount() ? &positions[static_cast<size_t>(n)] : nullptr;
}

int TStaffDrawInfo::FindDrawPosOfItem(int itemIndex) const {
  for (int n = 1; n < GetDrawPosCount(); ++n)
    if (positions[static_cast<size_t>(n)].GetItemIndex() == itemIndex) return n;
  return -1;
}

bool TStaffDrawInfo::DoesBoundaryApply(const TNotatedItem& boundary) const {
  return IsItemVisible(boundary);
}

int TStaffDrawInfo::GetStepHeight() const { return std::max(1, Metrics().Space() / 2); }

int TStaffDrawInfo::PositionToY(float position) const {
  return ClampToInt(static_cast<int64_t>(originY + static_cast<double>(position) * GetStepHeight()));
}

int TStaffDrawInfo::YToPosition(int y) const {
  return ClampToInt(2 * (static_cast<int64_t>(y) - originY) / std::max(2, Metrics().Space()));
}

int TStaffDrawInfo::GetOuterLinePosition(int direction) const {
  const int lines = staff ? staff->GetLines() : 5;
  if (direction < 0) return -2 * ((lines - 1) / 2);
  return -2 * ((lines - 1) / 2) + 2 * (lines - 1);
}

int TStaffDrawInfo::GetFirstOuterPosition(int direction) const {
  const int lines = staff ? staff->GetLines() : 5;
  if (lines <= 0) return direction < 0 ? -999 : 999;
  const int top = -2 * ((lines - 1) / 2) - 1;
  return direction < 0 ? top : top + 2 * lines;
}

int TStaffDrawInfo::XOfPosition(int n) const {
  if (xDirty || xCache.size() != positions.size() + 1) {
    xCache.assign(positions.size() + 1, 0);
    for (size_t i = 0; i < positions.size(); ++i) xCache[i + 1] = xCache[i] + positions[i].GetWidth();
    xDirty = false;
  }
  return ClampToInt(xCache[static_cast<size_t>(std::clamp(n, 0, GetDrawPosCount()))]);
}

int TStaffDrawInfo::WidthBetween(int from, int to) const {
  return ClampToInt(static_cast<int64_t>(XOfPosition(to)) - XOfPosition(from));
}

int TStaffDrawInfo::ItemIndexToX(int itemIndex) const {
  const int n = FindDrawPosOfItem(itemIndex);
  if (n >= 0) return XOfPosition(n);
  if (GetDrawPosCount() < 2) return INT_MAX;
  return itemIndex < positions[1].GetItemIndex() ? -2147483646 : INT_MAX;
}

int TStaffDrawInfo::GetLeadWidth(const TStaffDrawPos& pos) const {
  if (pos.GetKind() != kDrawNote && pos.GetKind() != kDrawGraceNote) return 0;
  const TNotatedItem* item = staff ? staff->GetItem(pos.GetItemIndex()) : nullptr;
  const auto* song = ItemAs<TSongNote>(item);
  if (!song) return 0;
  const int size = SizeIndexOf(*song);
  int lead = pos.GetAccidentalColumns() * Metrics().AccidentalColumnWidth(size);
  if (const auto* note = ItemAs<TMusicNote>(item)) {
    // Heads shifted to the left of the stem stand before the main column.
    if (note->GetHeadColumns() > 1 && note->GetStemDir() < 0 && note->HasShiftedHeads(-1))
      lead += Metrics().GlyphWidth(size, note->GetNoteHeadSymbol());
  }
  return lead;
}

int TStaffDrawInfo::XToItemIndex(int x) const {
  int64_t left = 0;
  for (int n = 0; n < GetDrawPosCount(); ++n) {
    const TStaffDrawPos& pos = positions[static_cast<size_t>(n)];
    if (n > 0 && left + GetLeadWidth(pos) >= x) {
      if (!pos.IsAutoInsert()) return pos.GetItemIndex();
      if (pos.GetKind() == kDrawMultiBarRest) return pos.GetItemIndex() + 1;
    }
    left += pos.GetWidth();
  }
  return GetLastCaretIndex();
}

bool TStaffDrawInfo::IsCaretStop(const TStaffDrawPos& pos) const {
  if (pos.IsStaffStart()) return false;
  if (pos.IsMultiBarRest()) return true;
  return !pos.IsAutoInsert();
}

int TStaffDrawInfo::GetFirstCaretIndex() const {
  for (int n = 1; n < GetDrawPosCount(); ++n)
    if (IsCaretStop(positions[static_cast<size_t>(n)])) return positions[static_cast<size_t>(n)].GetItemIndex();
  return 0;
}

int TStaffDrawInfo::GetLastCaretIndex() const {
  for (int n = GetDrawPosCount() - 1; n >= 1; --n)
    if (IsCaretStop(positions[static_cast<size_t>(n)])) return positions[static_cast<size_t>(n)].GetItemIndex();
  return 0;
}

bool TStaffDrawInfo::FirstPositionTimeless() const {
  return GetDrawPosCount() > 0 && positions[0].GetTimeSlots() == 0;
}

int TStaffDrawInfo::GetSystemBarCounter(int n) const {
  // The nearest caret stop, forwards first; the walk's bar count there.
  int stop = -1;
  for (int i = std::max(n, 1); i < GetDrawPosCount() && stop < 0; ++i)
    if (IsCaretStop(positions[static_cast<size_t>(i)])) stop = i;
  for (int i = std::min(n, GetDrawPosCount() - 1); i >= 1 && stop < 0; --i)
    if (IsCaretStop(positions[static_cast<size_t>(i)])) stop = i;
  if (stop < 0 || !staff) return 0;
  TRelNtnIdx at = ResumeCursor(positions[static_cast<size_t>(stop)].GetItemIndex());
  at.SeekDrawPos(positions[static_cast<size_t>(stop)]);
  return at.GetBarCount(false);
}

bool IsNumberedBar(const TStaffDrawPos& pos, const TMusicStaff* staff) {
  if (pos.GetKind() == kDrawMultiBarRestContinuation) return true;
  if (pos.GetKind() != kDrawBarLine || !staff) return false;
  const auto* bar = ItemAs<TBarLineData>(staff->GetItem(pos.GetItemIndex()));
  return bar && !bar->IsNotABar() && !bar->IsXBarCnt();
}

bool IsContextItem(const TStaffDrawPos& pos) {
  switch (pos.GetKind()) {
    case kDrawGap:
    case kDrawGapEnd:
    case kDrawGraceNote:
    case kDrawSignatureExpression:
    case kDrawClef:
    case kDrawKey:
    case kDrawTimeSig: return true;
    default: return false;
  }
}

bool TakesDurationPadding(const TStaffDrawPos& pos) {
  switch (pos.GetKind()) {
    case kDrawOther:
    case kDrawSizer:
    case kDrawSpacer:
    case kDrawForwardExpression: return false;
    case kDrawGraceNote:
    case kDrawNote: return !pos.IsHidden();
    default: return true;
  }
}

bool StopsBackSpacing(const TStaffDrawPos& pos, const TMusicStaff* staff) {
  switch (pos.GetKind()) {
    case kDrawGap:
    case kDrawGapEnd:
    case kDrawStaffStart:
    case kDrawClef:
    case kDrawKey:
    case kDrawTimeSig:
    case kDrawBarLine: return true;
    case kDrawEnding: {
      const auto* ending = staff ? ItemAs<TSpecialEnding>(staff->GetItem(pos.GetItemIndex())) : nullptr;
      return ending && ending->HasAnyEnding();
    }
    default: return false;
  }
}

bool TStaffDrawInfo::IsItemVisible(const TNotatedItem& item) const {
  int visibility = item.GetVisibility();
  if (visibility == kVisDefault) {
    switch (item.GetType()) {
      case kItemBarLine: visibility = staff && staff->GetLines() == 0 ? kVisNever : kVisAlways; break;
      case kItemPatch:
      case kItemGenericControl: visibility = kVisNever; break;
      case kItemEnding:
      case kItemFlow: visibility = kVisTopStaff; break;
      case kItemBoundary:
        visibility = static_cast<const TStaffSizer&>(item).GetStyle() == kSizerNewSystem
                         ? kVisTopStaff : kVisAlways;
        break;
      case kItemMultiBarRest: visibility = kVisSingleStaff; break;
      default: visibility = kVisAlways; break;
    }
  }
  switch (visibility) {
    case kVisTopStaff: return host->IsFirstLayoutStaff(slot);
    case kVisSingleStaff: return host->GetLinedGroupCount() < 2;
    case kVisMultiStaff: return host->GetLinedGroupCount() >= 2;
    case kVisNever: return false;
    default: return true;
  }
}

int TStaffDrawInfo::MeasureItem(TStaffDrawPos& pos, const TNotatedItem& item) {
  if (const auto* song = ItemAs<TSongNote>(&item)) {
    const int64_t w = static_cast<int64_t>(SongNoteWidth(*song, pos.GetAccidentalColumns(), Metrics())) +
                      SongNoteDotsWidth(*song, Metrics());
    return ClampToInt(w);
  }
  return std::max(0, host->MeasureOtherItem(*this, pos, item));
}

}  // namespace kvt

namespace kvt {

void TStaffDrawInfo::BuildPositions(int64_t firstTime, int width) {
  positions.clear();
  MarkChanged();
  if (!staff) return;
  TStaffPositionBuilder(*this).Build(firstTime, width);
}

void TStaffDrawInfo::BuildPositionsFrom(const TLayoutStart& start, int width) {
  positions.clear();
  MarkChanged();
  if (!staff) return;
  TStaffPositionBuilder(*this).BuildFrom(start, width);
}

void TStaffDrawInfo::TruncateAt(int64_t ticks) {
  int64_t time = 0;
  for (int n = 0; n < GetDrawPosCount(); ++n) {
    time += positions[static_cast<size_t>(n)].GetTimeSlots();
    if (time > ticks) {
      if (n > 0) positions.resize(static_cast<size_t>(n) + 1);
      MarkChanged();
      return;
    }
  }
}

void TStaffDrawInfo::CloseSystem() {
  // A bar too long for the position limit ends its system inside the bar, and the next system
  // goes on there: every system consumes at least one item.
  if (endedByLimit) return;
  int last = GetDrawPosCount() - 1;
  while (last > 0 && positions[static_cast<size_t>(last)].GetKind() != kDrawBarLine &&
         positions[static_cast<size_t>(last)].GetKind() != kDrawMultiBarRestContinuation)
    --last;
  // Without a bar line after the start there is nothing to drop back to.
  if (last <= 0) return;
  const TStaffDrawPos& end = positions[static_cast<size_t>(last)];
  if (end.GetKind() == kDrawBarLine) {
    layoutEnd = {end.GetItemIndex() + 1, 0};
  } else {
    layoutEnd = {end.GetItemIndex(), end.GetCounter()};
  }
  if (last + 1 < GetDrawPosCount()) reachedEnd = false;
  positions.resize(static_cast<size_t>(last) + 1);
  MarkChanged();
}

TLayoutStart TStaffDrawInfo::GetLayoutEnd() const { return layoutEnd; }

}  // namespace kvt
