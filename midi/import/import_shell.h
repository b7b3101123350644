#pragma once
// TMidiImportShell: what the MIDI import asks of the application above it: the status text,
// the progress of the conversion, the warnings question, messages, the wizard, the
// instruction dialog, the application's recording data and the alert log. The application
// (or a test) passes its own; the null shell answers as a headless run needs: no wizard, the
// warnings question answered Yes, messages to standard error, no recording, no alerts kept.
//
// Calls come from the UI thread (or the converter's one thread).

#include <string>

namespace kvt {

class TAlertLog;
class TKVTImportData;
struct TSMFImportInstructions;

// The icon beside a Yes/No question.
enum class TQuestionIcon { kInformation, kQuestion };

class TMidiImportShell {
public:
  virtual ~TMidiImportShell() = default;

  // A progress text for the main status bar ("Loading file: /a/b.mid").
  virtual void ShowStatus(const std::string& text) = 0;
  // The conversion's status and progress (step of range).
  virtual void ShowProgress(const std::string& status, int step, int range) = 0;
  // Yes/No question with the icon; true only for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption,
                        TQuestionIcon icon) = 0;
  // A message the user acknowledges.
  virtual void ShowMessage(const std::string& text) = 0;
  // The application option "Use Import Wizard on Open".
  virtual bool UseImportWizard() = 0;
  // Runs the wizard over the import data (its pages edit the options and the instruction list,
  // rescanning as TImportInstructionListPage does); true when it ended with OK.
  virtual bool RunImportWizard(TKVTImportData& data) = 0;
  // Edits one instruction; true on OK (the instruction then holds the dialog's values).
  // highestTrack is the largest track number the dialog accepts.
  virtual bool EditImportInstruction(TSMFImportInstructions& instruction, int highestTrack,
                                     bool recording) = 0;
  // The application's recording data (owned by the application), or null.
  virtual TKVTImportData* GetRecordingData() = 0;
  // Where conversion notices go (a full score, a full staff).
  virtual TAlertLog& Alerts() = 0;
};

class TNullMidiImportShell : public TMidiImportShell {
public:
  void ShowStatus(const std::string&) override {}
  void ShowProgress(const std::string&, int, int) override {}
  bool AskYesNo(const std::string&, const std::string&, TQuestionIcon) override { return true; }
  // To standard error, as the command-line tools show their messages.
  void ShowMessage(const std::string& text) override;
  bool UseImportWizard() override { return false; }
  bool RunImportWizard(TKVTImportData&) override { return true; }
  bool EditImportInstruction(TSMFImportInstructions&, int, bool) override { return true; }
  TKVTImportData* GetRecordingData() override { return nullptr; }
  TAlertLog& Alerts() override;
};

// The shell, or a process-wide null shell for null.
TMidiImportShell& ImportShellOr(TMidiImportShell* shell);

}  // namespace kvt
