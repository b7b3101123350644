#include "notation/staff_audit_hook.h"

#include "notation/music_staff.h"

namespace kvt {

void AuditLoadedStaff(TMusicStaff& staff) {
  // AUDIT-PENDING: the staff audit is not in this tree yet; until it is, the staff is marked
  // so that the next library-wide audit takes it.
  staff.SetNeedsAudit(true);
}

}  // namespace kvt
