#pragma once
// TScoreWindowHost: what a score window asks of the application and the main frame: message
// boxes and the file-save dialog, the options it follows, the printer, the remembered folders,
// the recent files, the other open windows, the frame's loader, the autosave store and the
// frame's side of playing. The application implements it once and gives it to every score
// window; tests give a scripted one. Texts are UTF-8.
//
// Lifetime: the host outlives every score window it is given to. UI thread only.

#include <cstdint>
#include <memory>
#include <string>

namespace kvt {

class TAlertLog;
class TAutosaveStore;
class TKVPrinter;
class TMusicScore;
class TMusicStaff;
class TScoreDocument;
class TScoreEditHost;
struct TPreviewServices;
struct TServices;

// The file-save dialog: what the window sets up, and on OK the path and the type chosen.
struct TFileSaveRequest {
  std::string initialFolder;
  std::string initialName;  // without folder
  // "Description|*.ext|Description|*.ext|" (each pair one file type, the last "|" closing).
  std::string filter;
  int filterIndex = 1;  // 1-based, in and out
  std::string defaultExtension;
  std::string path;  // out: the chosen path
};

// The application options a window follows.
struct TScoreWindowOptions {
  int saveBackups = 1;             // "SaveBackups": backups kept per score; 0 none
  std::string backupFolder;        // folder "Backups"; empty: beside the score
  int undoLevels = 16;             // "UndoLevels"
  bool playFromCaret = true;       // "PlayFromCaret"
  int playStart = 1;               // "PlayLeadInMeasures": where play from the caret starts: 0 the
                                   // caret item, 1 its bar, n >= 2 n - 1 bars before that bar
  bool chasePlayingNotes = true;   // "ChasePlayingNotes"
  bool showLabels = true;          // "EditorShowStaffNames": staff labels in the label pane
  bool showLabelPanel = true;      // "ShowLabelPanel"
  bool showBarNumberPanel = true;  // "ShowBarNumPanel"
  bool exportToMidiFolder = false;  // "ExportToMidiFolder": exports start in "MidiFiles"
};

// Remembered folders the window reads and sets (folder kinds of the "Folders" settings).
enum class TRememberedFolder { kSongs, kMidiFiles };

// Option pages the window may open before playing.
enum class TOptionsPage { kMidiDevices, kRecording };

// What opening the play devices gave.
struct TPlayDevicesOpen {
  bool outputFailed = false;  // one or more output devices failed to open
  bool inputFailed = false;   // the record device failed to open
};

class TScoreWindowHost {
public:
  virtual ~TScoreWindowHost() = default;

  // --- messages and dialogs
  // A message box with the type word of tools/message_box_service.h (buttons, icon); answers
  // the id of the button picked (IDOK ... IDNO).
  virtual int MessageBox(uint32_t type, const std::string& caption, const std::string& text) = 0;
  // Runs the file-save dialog (hide read-only, overwrite prompt, path must exist); true on OK
  // with request.path and request.filterIndex set.
  virtual bool RunFileSaveDialog(TFileSaveRequest& request) = 0;

  // --- application state
  virtual TScoreWindowOptions Options() = 0;
  virtual std::string GetFolder(TRememberedFolder kind) = 0;
  virtual void SetFolder(TRememberedFolder kind, const std::string& folder) = 0;
  virtual void AddRecentFile(const std::string& path) = 0;
  // The file a selector's score is kept in ("%03x.kvt" with the selector number), and the
  // notice that a selector's score changed (its menus are built from the files).
  virtual std::string SelectorFilePath(int number) = 0;
  virtual void SelectorsChanged() = 0;
  // The export type chosen last since the program started (1 at first; 1..3).
  virtual int LastExportType() = 0;
  virtual void SetLastExportType(int type) = 0;
  // The application's error log (missing fonts, unknown user objects).
  virtual TAlertLog& AlertLog() = 0;
  // The services the window's loads and saves use (status bar, wait cursor, fonts, user
  // objects); they live as long as the host.
  virtual const TServices& Services() = 0;
  // What the editing views ask of the application (options, the staff colours that the
  // panes use too, the playback state); it lives as long as the host.
  virtual TScoreEditHost& EditHost() = 0;
  // The store of autosave files; it lives as long as the host.
  virtual TAutosaveStore& AutosaveStore() = 0;
  // The number of the next recovered window: 1 for the first since the program started.
  virtual int NextRecoveredNumber() = 0;

  // --- recording
  // One take of the recording buffer converted into a staff (with the import options); null
  // when the buffer holds no music.
  virtual std::unique_ptr<TMusicStaff> ConvertRecordedTake() = 0;

  // --- printing
  // The application's printer (one for the program's run; it remembers the chosen device).
  virtual TKVPrinter& Printer() = 0;
  // What printing and the print preview call: status, alert log, message boxes, the main
  // window and the preview's remembered place. The caret time is the window's own: it is left
  // null here.
  virtual TPreviewServices PrintServices() = 0;

  // --- the frame
  // Whether a score window other than `except` shows the file at path.
  virtual bool IsOpenInOtherWindow(const std::string& path, const TScoreDocument* except) = 0;
  // The frame's loader (binary or text score, with its messages); null when nothing loaded.
  virtual std::unique_ptr<TMusicScore> LoadScoreFile(const std::string& path, int mode) = 0;

  // --- playing (the frame owns the playing window, the play timer and the player)
  // The document whose score plays (or records), null when nothing plays.
  virtual TScoreDocument* PlayingDocument() = 0;
  // Stops play and recording (the Stop command).
  virtual void StopPlay() = 0;
  // Whether a record device is open, or the piano bar can record instead.
  virtual bool HasRecordSource() = 0;
  // Reads the output devices again and answers whether any is selected.
  virtual bool HasPlayDevices() = 0;
  virtual TPlayDevicesOpen OpenPlayDevices(bool record) = 0;
  virtual void ShowOptions(TOptionsPage page) = 0;
  // Compiles the score for play from startTick; with soloStaff >= 0 only that staff sounds.
  // False when the score is too large to be played back in its entirety (what fits is
  // played).
  virtual bool CompilePlay(TMusicScore& score, int32_t startTick, int soloStaff) = 0;
  // Makes the document the playing one and starts the sequencer (and, for a recording, the
  // capture of MIDI input); false when the sequencer does not start (play is then halted).
  virtual bool StartPlay(TScoreDocument& document, int32_t startTick, bool record) = 0;
};

}  // namespace kvt
