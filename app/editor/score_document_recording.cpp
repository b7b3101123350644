// Import Recording of a score window: one take of the recording buffer as a new staff.

#include <memory>

#include "app/editor/score_document.h"
#include "app/editor/score_window_host.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/message_box_service.h"

namespace kvt {

bool TScoreDocument::ImportRecording() {
  std::unique_ptr<TMusicStaff> staff = host.ConvertRecordedTake();
  if (!staff) {
    host.MessageBox(MB_OK | MB_ICONINFORMATION, "Recording Data Not Present",
                    "There is not any music data in the recording buffer.\n\nYou need to "
                    "record a performance before this command can be used.");
    return false;
  }
  staff->SetName(u"Import");
  if (const TMusicStaff* active = score->GetStaff(client != nullptr ? client->ActiveStaff() : -1))
    staff->SetGroup(active->GetGroup());
  score->MakeStaffNameUnique(*staff);
  const int device = score->GetLastStaffDevice();
  staff->SetDevice(device);
  staff->SetChannel(score->GetNextFreeChannel(device));
  // A full score keeps the take out; the user is told rather than losing it silently.
  if (!score->TryAddStaff(staff)) {
    host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "Import Recording",
                    "The score cannot hold another staff.");
    return false;
  }
  const int added = score->GetLastIndex();
  score->SetStaffIncluded(added, true);
  if (client != nullptr) client->StaffAppended(added);
  SetModified(true);
  return true;
}

}  // namespace kvt
