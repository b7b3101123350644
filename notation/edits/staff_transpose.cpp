// Transposition of a whole staff.

#include <algorithm>
#include <cstdint>

#include "notation/staff/music_staff.h"
#include "notation/items/item_cast.h"
#include "notation/items/patch_data.h"
#include "notation/edits/staff_edits.h"
#include "notation/index/transpose_ntn_idx.h"
#include "notation/services/services.h"

namespace kvt {

namespace {

// Pitches fold by octaves into 0..127, so a shift of more than a hundred octaves lands where
// the same pitch class a hundred octaves out does; bounding it keeps the pitch arithmetic far
// from overflow whatever a script asks for.
int BoundSemitones(int semitones) {
  constexpr int kLimit = 1200;
  if (semitones > kLimit) return kLimit - 12 + semitones % 12;
  if (semitones < -kLimit) return -kLimit + 12 + semitones % 12;
  return semitones;
}

void LowerTransposition(TInstrumentDef& def, int semitones) {
  const int64_t lowered = static_cast<int64_t>(def.GetTransposition()) - semitones;
  def.SetTransposition(static_cast<int>(std::clamp<int64_t>(lowered, INT32_MIN, INT32_MAX)));
}

}  // namespace

void Transpose(TMusicStaff& staff, int semitones, int steps, bool keepSounding,
               const TServices& services) {
  semitones = BoundSemitones(semitones);
  MakeAccidentalsExplicit(staff);
  TTransposeNtnIdx idx(&staff, semitones, steps, 0, services);
  do {
    idx.TransposeCurrent();
  } while (idx.Next());
  AuditAccidentals(staff);
  if (!keepSounding) return;
  // The written notes moved; the instruments move the other way so the music sounds as before.
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemPatch)
      LowerTransposition(ItemAs<TPatchData>(item)->GetInstrument(), semitones);
  }
  LowerTransposition(staff.GetInstrument(), semitones);
}

int FindUntransposableItem(TMusicStaff& staff, int semitones, int steps, int from) {
  // Only asks whether notes transpose exactly: no user object is touched, so no host is needed.
  TTransposeNtnIdx idx(&staff, BoundSemitones(semitones), steps, 0, TServices());
  while (idx.Next()) {
    if (idx.GetIndex() > from && !idx.CanTransposeCurrent()) return idx.GetIndex();
  }
  return 0;
}

}  // namespace kvt
