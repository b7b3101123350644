#include "notation/score_text_load_steps.h"

#include "notation/music_score.h"
#include "notation/music_staff.h"
#include "notation/staff_audit.h"

namespace kvt {

void AuditLoadedScore(TMusicScore& score) {
  // Every staff whole: this also clears each staff's needs-audit mark.
  for (int i = 0; i < score.GetStaffCount(); ++i) AuditStaffRange(*score.GetStaff(i));
}

void AuditInsertedSpan(TMusicStaff& staff, int first, int last) { AuditStaffRange(staff, first, last); }

}  // namespace kvt
