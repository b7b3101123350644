#pragma once
// TShellScoreWindowHost: the application and main frame as every score window sees them:
// boxes through the message-box service, the save dialog on QFileDialog, the options and
// folders of the application object, its error log, the frame's loader and the autosave store
// of the AutoSave folder, the MIDI export's options, the application's printer with the preview's
// place kept in "Placement". Playback is not part of this program yet: the host answers that
// nothing plays and no device is there, so play commands end in their "no device" path. Where
// the ALSA sequencer exists, the editor's MIDI keyboard input reads the "MIDI In Ports" port.
// Owned by the frame; outlives its score windows.

#include <QStringList>
#include <memory>
#include <string>

#include "app/editor/score_edit_host.h"
#include "app/editor/score_window_host.h"
#include "app/shell/shell_score_edit_host.h"
#include "app/shell/shell_midi_export_shell.h"
#include "app/shell/shell_midi_input_device.h"
#include "app/shell/shell_print_services.h"
#include "notation/services/services.h"
#include "platform/autosave_store.h"
#include "platform/fontconfig_font_catalog.h"
#include "platform/qt_cursor_service.h"
#include "print/kv_printer.h"
#include "print/preview_services.h"

namespace kvt {

class TTarlowmedeFrame;

class TShellScoreWindowHost final : public TScoreWindowHost {
public:
  explicit TShellScoreWindowHost(TTarlowmedeFrame& frame);

  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;
  bool RunFileSaveDialog(TFileSaveRequest& request) override;
  TScoreWindowOptions Options() override;
  std::string GetFolder(TRememberedFolder kind) override;
  void SetFolder(TRememberedFolder kind, const std::string& folder) override;
  void AddRecentFile(const std::string& path) override {}
  std::string SelectorFilePath(int number) override;
  // No selector menus are built yet.
  void SelectorsChanged() override {}
  int LastExportType() override { return exportType; }
  void SetLastExportType(int type) override { exportType = type; }
  TAlertLog& AlertLog() override;
  const TServices& Services() override { return services; }
  TScoreEditHost& EditHost() override { return editHost; }
  // Takes the editor options (crosshair, active staff edges, layering in edit mode, the note
  // tools that persist, placement, entered notes sounding, MIDI input transposition) from the
  // application's options again; the windows lay out anew after it.
  void RefreshEditOptions();
  TAutosaveStore& AutosaveStore() override { return store; }
  int NextRecoveredNumber() override { return ++recovered; }
  bool IsOpenInOtherWindow(const std::string& path, const TScoreDocument* except) override;
  std::unique_ptr<TMusicScore> LoadScoreFile(const std::string& path, int mode) override;
  // Recording is not part of this program yet: the buffer is always empty.
  std::unique_ptr<TMusicStaff> ConvertRecordedTake() override;
  TKVPrinter& Printer() override { return *printer; }
  TPreviewServices PrintServices() override;

  TScoreDocument* PlayingDocument() override { return nullptr; }
  void StopPlay() override {}
  bool HasRecordSource() override { return false; }
  bool HasPlayDevices() override { return false; }
  TPlayDevicesOpen OpenPlayDevices(bool) override { return {true, true}; }
  void ShowOptions(TOptionsPage) override {}
  bool CompilePlay(TMusicScore&, int32_t, int) override { return false; }
  bool StartPlay(TScoreDocument&, int32_t, bool) override { return false; }

private:
  TTarlowmedeFrame& frame;
  TQtCursorService cursor;
  TFontconfigFontCatalog fonts;
  TServices services;
  // Before the edit host, whose MIDI keyboard input closes it on the way out.
  std::unique_ptr<TShellMidiInputDevice> midiInput;
  TShellScoreEditHost editHost;
  TAutosaveStore store;
  int recovered = 0;
  std::unique_ptr<TKVPrinter> printer;
  std::unique_ptr<TShellMidiExportShell> exportShell;
  int exportType = 1;  // for the program's run
  TSettingsPlacementStore placements;
  TShellPrintShell printShell;
  TPreviewOptions previewOptions;  // kept for the program's run
};

// "Description|*.ext;*.ext2|..." as QFileDialog name filters ("Description (*.ext *.ext2)").
QStringList NameFiltersFromFilter(const std::string& filter);

}  // namespace kvt
