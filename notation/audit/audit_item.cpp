// The staff audit's per-item step for the kinds other than song notes.

#include "notation/audit/audit_item.h"

#include <algorithm>
#include <cstdint>

#include "notation/items/item_cast.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/context/instrument_def.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/staff/music_staff.h"
#include "notation/items/song_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"

namespace kvt {

namespace {

constexpr int kMaxRampTempo = 0xFFFF;

bool IsDurationItem(const TNotatedItem* item) {
  return item->IsSongNoteClass() || item->GetType() == kItemMultiBarRest;
}

void AuditKey(const TAuditNtnIdx& idx, TKeyData& key) {
  const TStaffContextState& state = idx.GetRunningState();
  key.SetClef(state.GetClef());
  key.SetPrevMasks(state.GetKeySharpsMask(), state.GetKeyFlatsMask());
}

// A bar line opens a bar of its own only when something that takes time follows it before the
// next bar line. The audit walk always sets the walk mode; a state without it (no walk under
// way) gives the bar line no bar.
void AuditBarLine(const TAuditNtnIdx& idx, TBarLineData& bar) {
  bool notABar = true;
  if (idx.GetRunningState().IsWalkModeSet()) {
    const TMusicStaff* staff = idx.GetStaff();
    for (int i = idx.GetIndex() + 1, last = staff->GetLastIndex(); i <= last; ++i) {
      const TNotatedItem* item = staff->GetItem(i);
      if (item->GetType() == kItemBarLine) break;
      if (IsDurationItem(item)) {
        notABar = false;
        break;
      }
    }
  }
  bar.SetNotABar(notABar);
}

// A tempo that follows a gradual tempo variance (with no other tempo between) ends the
// variance's ramp.
void AuditTempo(const TAuditNtnIdx& idx, const TTempoData& tempo) {
  const int varianceIndex = idx.GetLastTempoVarianceIndex();
  const int previousIndex = idx.GetLastTempoIndex();
  if (varianceIndex <= 0 || varianceIndex < previousIndex) return;
  const TMusicStaff* staff = idx.GetStaff();
  TNotatedItem* varianceItem = staff->GetItem(varianceIndex);
  if (!varianceItem || varianceItem->GetType() != kItemTempoVariance) return;
  int from = kAuditDefaultQuarterTempo;
  if (const TNotatedItem* previous = staff->GetItem(previousIndex);
      previousIndex > 0 && previous && previous->GetType() == kItemTempo)
    from = ItemAs<TTempoData>(previous)->GetQuarterTempo();
  int64_t span = 0;
  for (int i = varianceIndex; i < idx.GetIndex(); ++i) span += staff->GetItem(i)->GetDuration();
  if (span > INT32_MAX) span = INT32_MAX;
  // The ramp holds its tempos in 16 bits: a larger tempo (from a damaged file) is held at the
  // largest rather than wrapped to a small one.
  const int to = std::min(tempo.GetQuarterTempo(), kMaxRampTempo);
  ItemAs<TTempoVariance>(varianceItem)
      ->SetRamp(std::min(from, kMaxRampTempo), to, static_cast<int>(span));
}

void AuditDynamic(const TAuditNtnIdx& idx, TDynamicLevelData& dynamic) {
  if (dynamic.HasVelocity()) return;
  if (const TInstrumentDef* instrument = idx.GetInstrumentDef())
    dynamic.SetVelocity(instrument->GetDynamicVelocity(dynamic.GetLevel()));
}

}  // namespace

void AuditItem(TAuditNtnIdx& idx) {
  TNotatedItem* item = idx.GetItem();
  if (!item) return;
  const TStaffContextState& state = idx.GetRunningState();
  switch (item->GetType()) {
    case kItemKey:
      AuditKey(idx, ItemRef<TKeyData>(*item));
      break;
    case kItemBarLine:
      AuditBarLine(idx, ItemRef<TBarLineData>(*item));
      break;
    case kItemTempo:
      AuditTempo(idx, ItemRef<TTempoData>(*item));
      break;
    case kItemDynamic:
      AuditDynamic(idx, ItemRef<TDynamicLevelData>(*item));
      break;
    case kItemTempoVariance:
      ItemRef<TTempoVariance>(*item).SetRampSpan(0);
      break;
    case kItemMultiBarRest:
      ItemRef<TMultiMeasureRest>(*item)
          .SetBarTicks(state.GetTimeSigBeats(), state.GetTimeSigBeatExponent());
      break;
    default:
      if (item->IsSongNoteClass()) AuditSongNote(idx, ItemRef<TSongNote>(*item));
      break;
  }
}

}  // namespace kvt
