#include "notation/audit/staff_audit_hook.h"

#include "notation/staff/music_staff.h"

namespace kvt {

void AuditLoadedStaff(TMusicStaff& staff) {
  // The whole-staff audit is not part of the library yet; until it is, the staff is marked so
  // that the next library-wide audit takes it whole.
  staff.SetNeedsAudit(true);
}

}  // namespace kvt
