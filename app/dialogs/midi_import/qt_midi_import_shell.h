#pragma once
// TQtMidiImportShell: the MIDI import's shell for the editor: the questions and messages go
// through the message-box service, the wizard and the instruction dialog are the real dialogs
// of this library, and the conversion's progress shows in the long-task dialog "Working"
// (574), made at the first progress report and closed by EndProgress or with the shell.
//
// What belongs to the application (the status bar, the "Use Import Wizard on Open" option,
// the recording data, the alert log) is handed in; without it the shell answers as the null
// shell does. Everything handed in outlives the shell. UI thread only.

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "midi/import/import_shell.h"

class QWidget;

namespace kvt {

class ICursorService;
class TLongTaskDlg;

inline constexpr int kImportProgressDlgId = 574;

class TQtMidiImportShell : public TMidiImportShell {
public:
  // owner: the window that owns the boxes and dialogs (null: none).
  TQtMidiImportShell(QWidget* owner, ICursorService& cursor);
  ~TQtMidiImportShell() override;

  // The file the wizard names on its first page.
  void SetFilePath(std::string path) { filePath = std::move(path); }
  void SetUseImportWizard(bool use) { useWizard = use; }
  void SetStatusSink(std::function<void(const std::string&)> sink) { status = std::move(sink); }
  void SetRecordingData(TKVTImportData* data) { recording = data; }
  void SetAlertLog(TAlertLog* log) { alerts = log; }
  // Closes the progress dialog, when one is shown.
  void EndProgress();
  TLongTaskDlg* ProgressDialog() const;

  void ShowStatus(const std::string& text) override;
  void ShowProgress(const std::string& statusText, int step, int range) override;
  bool AskYesNo(const std::string& text, const std::string& caption, TQuestionIcon icon) override;
  void ShowMessage(const std::string& text) override;
  bool UseImportWizard() override { return useWizard; }
  bool RunImportWizard(TKVTImportData& data) override;
  bool EditImportInstruction(TSMFImportInstructions& instruction, int highestTrack,
                             bool recording) override;
  TKVTImportData* GetRecordingData() override { return recording; }
  TAlertLog& Alerts() override;

private:
  QPointer<QWidget> owner;
  ICursorService& cursor;
  std::string filePath;
  bool useWizard = false;
  std::function<void(const std::string&)> status;
  TKVTImportData* recording = nullptr;
  TAlertLog* alerts = nullptr;
  std::unique_ptr<TLongTaskDlg> progress;
};

}  // namespace kvt
