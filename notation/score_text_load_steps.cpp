#include "notation/score_text_load_steps.h"

#include "notation/music_score.h"
#include "notation/staff_audit.h"

namespace kvt {

void AuditLoadedScore(TMusicScore& score) { AuditScore(score, true); }

void AuditInsertedSpan(TMusicStaff& staff, int first, int last) { AuditStaffAround(staff, first, last); }

}  // namespace kvt
