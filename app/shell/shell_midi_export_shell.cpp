#include "app/shell/shell_midi_export_shell.h"

#include <QString>

#include "app/shell/app_options.h"
#include "notation/services/services.h"
#include "tools/message_box_service.h"
#include "utils/sys_status_bar.h"

namespace kvt {

TMidiHeaderPlacement TShellMidiExportShell::GetHeaderPlacement() const {
  // A stored value out of range is the default, the tempo track.
  switch (options.Get(kOptSMFExportHdrInfo)) {
    case kMidiHeaderExclude: return kMidiHeaderExclude;
    case kMidiHeaderFirstStaffTrack: return kMidiHeaderFirstStaffTrack;
    default: return kMidiHeaderTempoTrack;
  }
}

bool TShellMidiExportShell::GetExportPerTrackSignature() const {
  return options.Get(kOptSMFExportTrkSigs) != 0;
}

void TShellMidiExportShell::ShowStatus(const std::string& text) {
  SysStatusBarOf(services).ShowStatusText(text, true);
}

void TShellMidiExportShell::ShowProblem(const std::string& text, const std::string& caption) {
  MessageBoxServiceOf().Show(frame, MB_OK | MB_ICONEXCLAMATION, QString::fromStdString(caption),
                             QString::fromStdString(text));
}

}  // namespace kvt
