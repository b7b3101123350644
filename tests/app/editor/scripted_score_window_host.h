#pragma once
// A score-window host for tests: message boxes and the save dialog answer from a script and
// are recorded; options, folders, the loader and the frame's side of playing are plain fields
// a test sets and reads.

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/editor/score_edit_host.h"
#include "app/editor/score_window_host.h"
#include "midi/play/midi_playback_service.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/autosave_store.h"
#include "print/kv_printer.h"
#include "print/preview_services.h"
#include "utils/alert_log.h"

namespace kvt {

// The sequencer as a test sets it.
class TScriptedPlayback final : public TMidiPlaybackService {
public:
  int32_t GetPlayTick() const override { return 0; }
  int64_t GetSongTimeMs() const override { return 0; }
  bool IsPlaying() const override { return playing; }
  bool IsPaused() const override { return paused; }
  bool IsRecording() const override { return recording; }
  void TogglePause() override {
    ++pauseToggles;
    if (playing) paused = !paused;
  }

  bool playing = false;
  bool paused = false;
  bool recording = false;
  int pauseToggles = 0;
};

class TRecordingAlertLog final : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// A machine without a print system: the printer is the PDF printer.
class TNoPrinterCatalog final : public TPrinterCatalog {
public:
  QStringList PrinterNames() override { return {}; }
  QString DefaultPrinterName() override { return {}; }
};

// The print dialog as a test answers it: confirmed (the PDF printer writes where it was set
// up to) or cancelled; the page limits offered are recorded.
class TScriptedPrintDialogs final : public TPrintDialogRunner {
public:
  bool RunPrint(QWidget*, QPrinter&, int minPage, int maxPage) override {
    limits.push_back({minPage, maxPage});
    return confirm;
  }
  bool RunSetup(QWidget*, QPrinter&) override { return confirm; }
  bool confirm = true;
  std::vector<std::pair<int, int>> limits;
};

class TScriptedScoreWindowHost final : public TScoreWindowHost {
public:
  struct TBox {
    uint32_t type;
    std::string caption;
    std::string text;
  };
  struct TPlayStart {
    int32_t tick;
    bool record;
  };

  explicit TScriptedScoreWindowHost(const std::string& autosaveFolder) : store(autosaveFolder) {
    services.playback = &playback;
  }

  // The answers of the next boxes, in order; a box without an answer fails the test.
  void Answer(std::initializer_list<int> ids) { answers.insert(answers.end(), ids); }
  bool AllAnswersUsed() const { return answers.empty(); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const TBox& box : boxes) captions.push_back(box.caption);
    return captions;
  }

  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override {
    boxes.push_back({type, caption, text});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected box \"" << caption << "\": " << text;
      return 2;  // IDCANCEL
    }
    const int id = answers.front();
    answers.pop_front();
    return id;
  }
  bool RunFileSaveDialog(TFileSaveRequest& request) override {
    dialogs.push_back(request);
    if (savePaths.empty()) return false;
    request.path = savePaths.front();
    request.filterIndex = saveTypes.empty() ? request.filterIndex : saveTypes.front();
    savePaths.pop_front();
    if (!saveTypes.empty()) saveTypes.pop_front();
    return true;
  }
  TScoreWindowOptions Options() override { return options; }
  std::string GetFolder(TRememberedFolder kind) override { return folders[static_cast<int>(kind)]; }
  void SetFolder(TRememberedFolder kind, const std::string& folder) override {
    folders[static_cast<int>(kind)] = folder;
  }
  void AddRecentFile(const std::string& path) override { recentFiles.push_back(path); }
  std::string SelectorFilePath(int number) override {
    char name[16];
    std::snprintf(name, sizeof name, "/%03x.kvt", number);
    return selectorFolder + name;
  }
  void SelectorsChanged() override { ++selectorChanges; }
  int LastExportType() override { return exportType; }
  void SetLastExportType(int type) override { exportType = type; }
  TAlertLog& AlertLog() override { return alerts; }
  const TServices& Services() override { return services; }
  TScoreEditHost& EditHost() override { return editHost; }
  TAutosaveStore& AutosaveStore() override { return store; }
  int NextRecoveredNumber() override { return ++recovered; }
  bool IsOpenInOtherWindow(const std::string& path, const TScoreDocument*) override {
    for (const std::string& open : otherWindows)
      if (open == path) return true;
    return false;
  }
  std::unique_ptr<TMusicScore> LoadScoreFile(const std::string& path, int mode) override {
    loads.push_back(path);
    return loader ? loader(path, mode) : nullptr;
  }
  std::unique_ptr<TMusicStaff> ConvertRecordedTake() override { return std::move(recorded); }
  TKVPrinter& Printer() override { return printer; }
  TPreviewServices PrintServices() override {
    TPreviewServices result;
    result.print.core = services;
    result.print.alerts = &alerts;
    result.placement = &placements;
    return result;
  }
  TScoreDocument* PlayingDocument() override { return playingDocument; }
  void StopPlay() override {
    ++stops;
    playingDocument = nullptr;
    playback.playing = false;
  }
  bool HasRecordSource() override { return hasRecordSource; }
  bool HasPlayDevices() override { return hasPlayDevices; }
  TPlayDevicesOpen OpenPlayDevices(bool) override { return devicesOpen; }
  void ShowOptions(TOptionsPage page) override { optionPages.push_back(page); }
  bool CompilePlay(TMusicScore&, int32_t startTick, int soloStaff) override {
    compiles.push_back({startTick, soloStaff});
    return !overflow;
  }
  bool StartPlay(TScoreDocument& document, int32_t startTick, bool record) override {
    starts.push_back({startTick, record});
    if (!startSucceeds) return false;
    playingDocument = &document;
    playback.playing = true;
    playback.recording = record;
    return true;
  }

  // Scripted state.
  std::deque<int> answers;
  std::vector<TBox> boxes;
  std::deque<std::string> savePaths;  // the dialog's answers; none left: it is cancelled
  std::deque<int> saveTypes;
  std::vector<TFileSaveRequest> dialogs;
  TScoreWindowOptions options;
  std::string folders[2];
  std::vector<std::string> recentFiles;
  int exportType = 1;
  std::string selectorFolder = "/nonexistent";
  int selectorChanges = 0;
  std::unique_ptr<TMusicStaff> recorded;  // the next take; taken by the conversion
  TRecordingAlertLog alerts;
  TScriptedPlayback playback;
  TServices services;
  TNullScoreEditHost editHost;  // its colours are the panes' too
  TAutosaveStore store;
  int recovered = 0;
  std::vector<std::string> otherWindows;
  std::function<std::unique_ptr<TMusicScore>(const std::string&, int)> loader;
  std::vector<std::string> loads;
  TScoreDocument* playingDocument = nullptr;
  int stops = 0;
  bool hasRecordSource = true;
  bool hasPlayDevices = true;
  TPlayDevicesOpen devicesOpen;
  std::vector<TOptionsPage> optionPages;
  struct TCompile {
    int32_t startTick;
    int soloStaff;
  };
  std::vector<TCompile> compiles;
  std::vector<TPlayStart> starts;
  bool overflow = false;
  bool startSucceeds = true;
  TNoPrinterCatalog printerCatalog;
  TScriptedPrintDialogs printDialogs;
  TKVPrinter printer{TKey(), &printerCatalog, &printDialogs};
  TMemoryPlacementStore placements;
};

}  // namespace kvt
