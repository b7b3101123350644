#pragma once
// TScoreDocument: the document side of a score window, apart from its widgets: the score and
// the file behind it, the names it shows and saves under, the modified state, Save, Save As,
// backups, autosave and recovered autosave files, Revert, the close question and the Play,
// Record and media-key commands. Questions, dialogs and the frame's services go through the
// window's host (score_window_host.h); the editing view through TScoreDocumentClient.
//
// Contract:
// - Save and Save As answer kSaved only when the file was written through the safe save; a
//   failed save keeps the old file, the window modified, its name and its flags; the
//   old-version and experimental flags clear only after a successful save.
// - CanClose is true only when the window is unmodified, the user said No to saving, or a save
//   answered kSaved.
// - Autosaves go to a file the document claims in the host's autosave store (a recovered
//   window: the file it was recovered from); the file is removed when the window is saved, is
//   told to delete it, or is destroyed, and kept when the process ends without that.
// - Lifetime: the host outlives the document; the client is attached after construction and
//   outlives its use (the window detaches it before it goes). UI thread only.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/autosave_store.h"

namespace kvt {

class TMusicScore;
class TScoreWindowHost;

enum class TSaveResult {
  kSaved,     // written through the safe save
  kDeclined,  // the user chose not to save now (No or Cancel to a question, the dialog closed)
  kFailed,    // the write failed; the old file is kept
};

// Commands the document handles.
inline constexpr int kCmdSave = 4;
inline constexpr int kCmdSaveAs = 5;
inline constexpr int kCmdRevert = 7;
inline constexpr int kCmdPlay = 80;
inline constexpr int kCmdStop = 81;
inline constexpr int kCmdPause = 82;
inline constexpr int kCmdRecord = 213;
inline constexpr int kCmdStaffPlay = 222;
inline constexpr int kCmdImportRecording = 214;

// Open mode of a window that reloads its file (Revert).
inline constexpr int kOpenModeRevert = 4;

// The media and browser keys a window reacts to.
enum class TMediaKey { kBack, kForward, kHome, kStop, kPlayPause, kPlay, kPause };

// The view's side, implemented by the window.
class TScoreDocumentClient {
public:
  virtual ~TScoreDocumentClient() = default;
  // The serial of the score's current state in the undo history: every edit makes a new one,
  // Undo and Redo return to the serial of the state they restore.
  virtual uint64_t StateSerial() const = 0;
  // Writes a pending in-place edit of the view into the score.
  virtual void CommitPendingEdit() = 0;
  // The title (TScoreDocument::Title) may have changed.
  virtual void TitleChanged() = 0;
  // The document's score was replaced: the view shows the new one with a cleared history. The
  // old score still exists during this call and is deleted right after it.
  virtual void ScoreReplaced() = 0;
  // The caret for play from the caret: active staff index (-1 none) and caret item index.
  virtual int ActiveStaff() const = 0;
  virtual int CaretIndex() const = 0;
  // Play of this score started: the view follows it when the options say so.
  virtual void PlayStarted() = 0;
  // Browser keys: scroll a page left (-1) or right (+1), or to the start (0).
  virtual void ScrollByKey(int direction) = 0;
  // A staff was appended outside the history (an imported recording): the view shows it,
  // makes it active and clears the history.
  virtual void StaffAppended(int scoreStaff) = 0;
};

class TScoreDocument {
public:
  // Takes the score. path: the file, or a display name for an untitled score; hasFile: the
  // window is bound to that file. An autosave path (".asv") is recovered: the window is named
  // "Recovered File n", counts as modified and writes its autosaves back to that file, whose
  // claim is taken from `recoveredClaim` (or claimed here; a file held elsewhere is never
  // written, the window claims a new one). Audits the staves marked as needing it and logs the
  // score's missing fonts and unknown user objects in the host's error log.
  TScoreDocument(TScoreWindowHost& host, std::string path, std::unique_ptr<TMusicScore> score,
                 int openMode, bool hasFile, TAutosaveClaim recoveredClaim = {});
  // Deletes this window's autosave file.
  ~TScoreDocument();
  TScoreDocument(const TScoreDocument&) = delete;
  TScoreDocument& operator=(const TScoreDocument&) = delete;

  // Attaches the view (null detaches); the current state counts as the saved one unless the
  // document is forced modified.
  void AttachClient(TScoreDocumentClient* client);

  TMusicScore& Score() { return *score; }
  const TMusicScore& Score() const { return *score; }
  const std::string& FileName() const { return fileName; }
  bool IsUntitled() const { return untitled; }
  bool IsTextFormat() const { return textFormat; }
  int OpenMode() const { return openMode; }
  bool IsSelector() const;
  // The path of this window's autosave file; empty while it has none.
  const std::string& AutosavePath() const { return autosave.Path(); }
  bool IsAutosavePending() const { return autosavePending; }

  bool IsModified() const;
  // A change was made (force: counts as modified whatever the history says).
  void SetModified(bool force);
  // The current state is the saved one; deletes the autosave file.
  void MarkSaved();
  // Display name and, when modified, " *".
  std::string Title() const;
  // Whether the window shows the file at path (names compare with case).
  bool IsFile(const std::string& path) const;

  TSaveResult Save();
  TSaveResult SaveAs();
  // The export command: a Standard MIDI File of type 1 or 0, or the older 1.75 score file, at
  // a path the save dialog asks for; false when cancelled or the file failed (reported).
  bool Export();
  // Writes an autosave when modified since the last one; false when that failed (reported).
  bool AutoSave();
  void DeleteAutosave() { autosave.Remove(); }
  void Revert();
  // Loads path through the host's loader and, when that gave a score, replaces the score.
  bool ReloadFromFile(const std::string& path, int mode);
  // Stops play of this score, hands the new score to the view and marks it saved.
  void ReplaceScore(std::unique_ptr<TMusicScore> newScore);
  // The close question; true when the window may close.
  bool CanClose();

  // Import Recording (214): one take of the recording buffer as a new staff "Import"; false
  // when there is none (reported) or the score has no room for it (reported).
  bool ImportRecording();

  // Play (80), Record (213) and Staff Play (222).
  void Play(int command);
  void MediaKey(TMediaKey key);
  bool IsPlayingHere() const;

private:
  // The questions before a save (with formatQuestions also the old-version and experimental
  // ones); kSaved to go on.
  TSaveResult AskBeforeSave(bool formatQuestions);
  TSaveResult WriteFile();
  // A selector's Save and Revert: its score in the host's selector file.
  TSaveResult SaveSelector();
  void ResetSelector();
  // The message text's "File: name" part: the file name without folder.
  std::string ShortName() const;
  void ShowStatus(const std::string& text);
  void ReportNewScore();

  TScoreWindowHost& host;
  TScoreDocumentClient* client = nullptr;
  std::unique_ptr<TMusicScore> score;
  std::string fileName;
  int openMode = 0;
  bool untitled = false;
  bool textFormat = false;
  bool forcedModified = false;
  bool autosavePending = false;
  uint64_t savedSerial = 0;
  TAutosaveClaim autosave;
};

}  // namespace kvt
