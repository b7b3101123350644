#pragma once
// The audit every staff of a loaded score gets (the whole staff, user objects included), in
// one place so that the file readers share it.

namespace kvt {

class TMusicStaff;

// Audits the whole staff after loading.
void AuditLoadedStaff(TMusicStaff& staff);

}  // namespace kvt
