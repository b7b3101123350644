// The transposing index.

#include "notation/index/transpose_ntn_idx.h"

#include "notation/items/item_cast.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "notation/items/song_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/services/services.h"
#include "notation/services/user_object_host.h"

namespace kvt {

TTransposeNtnIdx::TTransposeNtnIdx(TMusicStaff* staff, int semitoneCount, int keySteps,
                                   int userOption, const TServices& services)
    : semitones(semitoneCount),
      steps(keySteps),
      option(userOption),
      userObjectHost(services.userObjectHost) {
  SetStaff(staff);
}

void TTransposeNtnIdx::Reset() {
  TAuditNtnIdx::Reset();
  UseLinearWalkMode();
  TKeyData cMajor(0, 0, 2);
  int offset = 0;
  cMajor.Transpose(semitones, offset, steps, true);
  // The saved offsets start as copies, as the audit's saved states do: an ending or Coda
  // met before anything was saved brings back the offset in force, never a bare 0.
  keyOffset = offset;
  firstEndingKeyOffset = offset;
  toCodaKeyOffset = offset;
}

// The key offset follows the running state: it is saved where the audit saves the state and
// brought back exactly where the audit brings the state back (a later ending after a first
// ending; the Coda once the To Coda copy has entered the coda).
bool TTransposeNtnIdx::Next() {
  if (!CanMove(1)) return false;
  bool atCoda = false;
  if (const TNotatedItem* at = GetItem()) {
    if (at->GetType() == kItemEnding) {
      const auto& ending = ItemRef<TSpecialEnding>(*at);
      if (ending.HasEnding(1))
        firstEndingKeyOffset = keyOffset;
      else if (ending.HasAnyEnding() && GetRunningState().IsFirstEndingSeen())
        keyOffset = firstEndingKeyOffset;
    } else if (at->GetType() == kItemFlow) {
      const int style = ItemRef<TFlowDirection>(*at).GetStyle();
      if (style == kFlowToCoda) toCodaKeyOffset = keyOffset;
      atCoda = style == kFlowCoda;
    }
  }
  if (!TAuditNtnIdx::Next()) return false;
  if (atCoda && GetRunningState().IsInCoda()) keyOffset = toCodaKeyOffset;
  return true;
}

bool TTransposeNtnIdx::TransposeCurrent() {
  TNotatedItem* at = GetItem();
  if (!at) return true;
  if (at->GetType() == kItemKey) {
    int offset = keyOffset;
    ItemAs<TKeyData>(at)->Transpose(semitones, offset, steps, false);
    keyOffset = offset;
    return true;
  }
  if (at->IsSongNoteClass())
    return ItemAs<TSongNote>(at)->Transpose(GetRunningState(), semitones, keyOffset, false);
  if (at->GetType() == kItemUserObject && userObjectHost)
    userObjectHost->TransposeUserObject(*this, GetRunningState(), semitones, keyOffset,
                                        option != 0);
  return true;
}

bool TTransposeNtnIdx::CanTransposeCurrent() {
  TNotatedItem* at = GetItem();
  if (!at || !at->IsSongNoteClass()) return true;
  return ItemAs<TSongNote>(at)->Transpose(GetRunningState(), semitones, keyOffset, true);
}

}  // namespace kvt
