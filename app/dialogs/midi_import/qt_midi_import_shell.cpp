#include "app/dialogs/midi_import/qt_midi_import_shell.h"

#include <QString>

#include "app/dialogs/midi_import/import_instruction_dialog.h"
#include "app/dialogs/midi_import/import_wizard.h"
#include "tools/long_task_dialog.h"
#include "tools/message_box_service.h"

namespace kvt {

namespace {

// The progress bar of "Working" is drawn as segments: spacing 3, 85 % thick.
constexpr int kLedSpacing = 3;
constexpr int kLedThickness = 85;

}  // namespace

TQtMidiImportShell::TQtMidiImportShell(QWidget* owner, ICursorService& cursor)
    : owner(owner), cursor(cursor) {}

TQtMidiImportShell::~TQtMidiImportShell() { EndProgress(); }

void TQtMidiImportShell::EndProgress() {
  if (progress) progress->Close();
  progress.reset();
}

TLongTaskDlg* TQtMidiImportShell::ProgressDialog() const { return progress.get(); }

void TQtMidiImportShell::ShowStatus(const std::string& text) {
  if (status) status(text);
}

void TQtMidiImportShell::ShowProgress(const std::string& statusText, int step, int range) {
  if (!progress) {
    progress = std::make_unique<TLongTaskDlg>(owner.data(), kImportProgressDlgId, 1, 1);
    progress->SetProgressLed(kLedSpacing, kLedThickness);
    progress->show();
  }
  progress->SetStatus(statusText.c_str());
  progress->SetProgressRange(range);
  progress->SetProgress(step);
}

bool TQtMidiImportShell::AskYesNo(const std::string& text, const std::string& caption,
                                  TQuestionIcon icon) {
  const unsigned iconFlag = icon == TQuestionIcon::kQuestion ? MB_ICONQUESTION : MB_ICONINFORMATION;
  return MessageBoxServiceOf().Show(owner.data(), MB_YESNO | iconFlag,
                                    QString::fromStdString(caption),
                                    QString::fromStdString(text)) == IDYES;
}

void TQtMidiImportShell::ShowMessage(const std::string& text) {
  MessageBoxServiceOf().Show(owner.data(), MB_OK | MB_ICONEXCLAMATION,
                             QStringLiteral("Program Message"), QString::fromStdString(text));
}

bool TQtMidiImportShell::RunImportWizard(TKVTImportData& data) {
  return kvt::RunImportWizard(owner.data(), data, filePath, *this, cursor);
}

bool TQtMidiImportShell::EditImportInstruction(TSMFImportInstructions& instruction,
                                               int highestTrack, bool recordingFlag) {
  return kvt::EditImportInstruction(owner.data(), instruction, highestTrack, recordingFlag);
}

TAlertLog& TQtMidiImportShell::Alerts() {
  return alerts ? *alerts : ImportShellOr(nullptr).Alerts();
}

}  // namespace kvt
