#pragma once
// Test support: an import shell that records what the import asks and answers as told.

#include <string>
#include <vector>

#include "midi/import/import_data.h"
#include "midi/import/import_shell.h"
#include "utils/alert_log.h"

namespace kvt::test {

class TRecordingAlertLog : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class TRecordingImportShell : public TNullMidiImportShell {
public:
  bool AskYesNo(const std::string& text, const std::string& caption, TQuestionIcon icon) override {
    questions.push_back(caption + "|" + text);
    icons.push_back(icon);
    return answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool UseImportWizard() override { return useWizard; }
  bool RunImportWizard(TKVTImportData& data) override {
    ++wizardRuns;
    if (wizardGrid >= 0) {
      data.GetOptions().noteResolution = wizardGrid;
      data.ApplyOptionsToInstructions();
    }
    return wizardOk;
  }
  bool EditImportInstruction(TSMFImportInstructions& instruction, int highestTrack,
                             bool recording) override {
    edits.push_back(highestTrack);
    if (editChannels >= 0) instruction.channelMask = static_cast<uint16_t>(editChannels);
    return editOk;
  }
  TKVTImportData* GetRecordingData() override { return recordingData; }
  TAlertLog& Alerts() override { return alerts; }

  bool answer = true;
  bool useWizard = false;
  bool wizardOk = true;
  int wizardGrid = -1;
  bool editOk = true;
  int editChannels = -1;
  int wizardRuns = 0;
  TKVTImportData* recordingData = nullptr;
  std::vector<std::string> questions;
  std::vector<TQuestionIcon> icons;
  std::vector<std::string> messages;
  std::vector<int> edits;
  TRecordingAlertLog alerts;
};

}  // namespace kvt::test
