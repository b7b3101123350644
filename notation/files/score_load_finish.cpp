#include "notation/files/score_load_finish.h"

#include <algorithm>

#include "notation/audit/staff_audit.h"
#include "notation/files/score_load_result.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// True when anything had to change.
bool BoundEditorState(TMusicScore& score) {
  const int active = std::clamp(score.GetActiveStaff(), -1, score.GetLastIndex());
  int caret = std::max(score.GetCaretIndex(), -1);
  int select = std::max(score.GetSelectIndex(), -1);
  if (const TMusicStaff* staff = score.GetStaff(active)) {
    caret = std::min(caret, staff->GetLastIndex());
    select = std::min(select, staff->GetLastIndex());
  }
  if (active == score.GetActiveStaff() && caret == score.GetCaretIndex() && select == score.GetSelectIndex())
    return false;
  score.SetEditorState(active, caret, select, score.GetCaretPos());
  return true;
}

}  // namespace

TLoadRepairs FinishLoadedScore(TMusicScore& score, const TServices& services) {
  TLoadRepairs repairs;
  repairs.editorStateBounded = BoundEditorState(score);
  repairs.staffNamesChanged = score.MakeStaffNamesUnique();
  AuditScore(score, true, services);
  return repairs;
}

}  // namespace kvt
