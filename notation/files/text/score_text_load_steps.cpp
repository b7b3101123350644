#include "notation/files/text/score_text_load_steps.h"

#include "notation/staff/music_score.h"
#include "notation/audit/staff_audit.h"

namespace kvt {

void AuditLoadedScore(TMusicScore& score, const TServices& services) {
  AuditScore(score, true, services);
}

void AuditInsertedSpan(TMusicStaff& staff, int first, int last) { AuditStaffAround(staff, first, last); }

}  // namespace kvt
