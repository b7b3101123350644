#include "draw/layout/tie_extents.h"

#include <algorithm>
#include <climits>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

bool IsSystemStartKind(int kind) {
  return kind == kDrawStaffStart || kind == kDrawClef || kind == kDrawKey || kind == kDrawTimeSig ||
         kind == kDrawBarLine || kind == kDrawSizer || kind == kDrawGap || kind == kDrawGapEnd;
}

}  // namespace

bool TieForwardExtent(TStaffDrawInfo& layout, int n, int memberPosition, int accidental, int& distance) {
  distance = 0;
  const TStaffDrawPos* pos = layout.PositionAt(n);
  if (!pos || !layout.GetStaff()) return false;
  const int64_t rightEdge = static_cast<int64_t>(layout.XOfPosition(n)) + layout.GetFullWidth(n);
  TSimpleNtnIdx idx(layout.GetStaff(), pos->GetItemIndex());
  const int target = idx.FindTieTarget(memberPosition, accidental, layout.ShowsHiddenItems(), 1) ? idx.GetIndex() : -1;
  const int targetPos = target >= 0 ? layout.FindDrawPosOfItem(target) : -1;
  if (targetPos <= n) {
    distance = ClampToInt(std::max<int64_t>(0, layout.GetTotalWidth() - rightEdge));
    return false;
  }
  const TStaffDrawPos& at = *layout.PositionAt(targetPos);
  const auto* song = ItemAs<TSongNote>(idx.GetItem());
  int64_t head = 0;
  if (song) {
    head = SongNoteHeadX(*song, at.GetAccidentalColumns(), layout.Metrics());
    if (const auto* note = ItemAs<TMusicNote>(idx.GetItem())) {
      if (const TMusicNote* member = note->FindMemberAtPos(memberPosition)) {
        const int w = layout.Metrics().GlyphWidth(SizeIndexOf(*note), note->GetNoteHeadSymbol());
        head += static_cast<int64_t>(member->GetHeadShift()) * w * 7 / 8;
      }
    }
  }
  distance = ClampToInt(layout.XOfPosition(targetPos) + head - rightEdge);
  return true;
}

bool TieBackExtent(TStaffDrawInfo& layout, int n, int memberPosition, int accidental, int& distance) {
  distance = 0;
  const TStaffDrawPos* pos = layout.PositionAt(n);
  if (!pos || !layout.GetStaff()) return false;
  const TNotatedItem* item = layout.GetStaff()->GetItem(pos->GetItemIndex());
  const auto* song = ItemAs<TSongNote>(item);
  const int64_t headX = static_cast<int64_t>(layout.XOfPosition(n)) +
                        (song ? SongNoteHeadX(*song, pos->GetAccidentalColumns(), layout.Metrics()) : 0);
  TSimpleNtnIdx idx(layout.GetStaff(), pos->GetItemIndex());
  const int source = idx.FindTieTarget(memberPosition, accidental, layout.ShowsHiddenItems(), -1) ? idx.GetIndex() : -1;
  const int sourcePos = source >= 0 ? layout.FindDrawPosOfItem(source) : -1;
  if (sourcePos > 0 && sourcePos < n) {
    distance = ClampToInt(headX - layout.XOfPosition(sourcePos) - layout.GetFullWidth(sourcePos));
    return true;
  }
  // The tie enters the system: it starts after the system-start items.
  int last = 0;
  while (last + 1 < n && IsSystemStartKind(layout.PositionAt(last + 1)->GetKind())) ++last;
  const int64_t entry = static_cast<int64_t>(layout.XOfPosition(last)) + layout.GetFullWidth(last);
  distance = ClampToInt(std::max<int64_t>(headX - entry, layout.Metrics().UnitWidth()));
  return false;
}

}  // namespace kvt
