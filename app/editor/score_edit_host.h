#pragma once
// TScoreEditHost: what the score editing view asks of the application above it: the editor
// options, the staff colours and the playback state. The window installs the application's
// host; TNullScoreEditHost answers as a headless run needs (default options and colours, no
// playback), so the view runs in tests without the application.
//
// Contract: the host outlives the views that use it; UI thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "app/editor/clipboard_service.h"
#include "app/editor/edit_dialogs.h"
#include "app/editor/entered_note_output.h"
#include "app/editor/insertion_state.h"
#include "app/editor/midi_keyboard_input.h"
#include "app/editor/selector_source.h"
#include "draw/staff_color_handles.h"
#include "notation/services/user_object_host.h"

namespace kvt {

class TMusicScore;

// The application's editor options (Options dialog).
struct TScoreEditOptions {
  bool showCrosshair = false;        // "Show Crosshair"
  bool showActiveStaffEdges = true;  // "Show Active Staff Edges"
  bool caretBesidePreviousItem = false;
  bool layeringInEditMode = false;  // "layering in edit mode"
  int shapeNoteOption = 0;          // tenths, as TMusicFonts::SetShapeOption takes it
  // Top and bottom margins of the view in music font sizes.
  double topMargin = 1.0;
  double bottomMargin = 1.0;
  // "PersistentNoteTools": bit set of the note tools that stay after an entry.
  int persistentNoteTools = 952;
  // "SmartInsertionPt": inserted items take their place from the nearest earlier one.
  bool smartInsertionPoint = true;
  // "SmartPropertiesInsert": the last inserted item of a kind is the template of the next.
  bool smartPropertiesInsert = false;
  // "RtMouseSetsInsPt": a right click inside the staves moves the caret first.
  bool rightMouseSetsCaret = true;
  // "PlayAddedNotes": entered notes sound briefly.
  bool playAddedNotes = true;
  // "MidiInIgnoreTrans": MIDI input keeps the keys as played (the staff's transposition is
  // not subtracted).
  bool midiInIgnoreTransposition = true;
  // The toolbar shows the dot and double-dot buttons as a pair: "." then steps from a dot to
  // a double dot.
  bool dotButtonsPaired = false;
};

class TScoreEditHost {
public:
  virtual ~TScoreEditHost() = default;
  virtual const TScoreEditOptions& Options() const = 0;
  virtual const TStaffColorHandles& Colors() const = 0;
  // The score that plays now is this one.
  virtual bool IsPlaying(const TMusicScore& score) const = 0;
  // The application follows playback in the editor / records.
  virtual bool FollowsPlayback() const = 0;
  virtual bool IsRecording() const = 0;
  // The item index the player stands at on a score staff; -1 when none.
  virtual int PlayedItem(const TMusicScore& score, int staffIndex) const = 0;
  // The status bar's position text (editor_status.h) and active staff changed.
  virtual void ShowCaretPosition(const std::string& text) {}
  virtual void ShowActiveStaff(int scoreStaff) {}
  // The piano bar: the keys (0..127, ascending) to show, all keys cleared, and the key a note
  // at the caret would sound.
  virtual void ShowPianoKeys(const std::vector<int>& keys) {}
  virtual void ClearPianoKeys() {}
  virtual void SetPianoCaretKey(int key) {}
  // The accidental a note entered at the caret takes by default, for the toolbars.
  virtual void SetImpliedAccidental(int accidental) {}

  // --- editing
  // The values new notes and rests take; one for the whole program.
  virtual TInsertionState& Insertion() = 0;
  // A command that cannot act says so with the system's beep.
  virtual void Beep() = 0;
  // A message box with the type word of tools/message_box_service.h; answers the id of the
  // button picked (IDOK ... IDNO). Texts are UTF-8.
  virtual int MessageBox(uint32_t type, const std::string& caption, const std::string& text) = 0;
  // Where entered notes sound briefly.
  virtual TEnteredNoteOutput& EnteredNoteOutput() = 0;
  // Runs a command of the application's own table (keys the view does not handle itself);
  // false when the application has no such command or it is disabled now.
  virtual bool ExecuteAppCommand(int id) = 0;
  // The colour chooser of the note tools: answers the colour picked (0..7), or -1 when the
  // user picked none. `current` is shown as the current one.
  virtual int ChooseNoteColor(int current) = 0;
  // A popup menu of the commands (the note tools' selectors) at the mouse; a picked item runs
  // its command through the application's table.
  virtual void PopupCommands(const std::vector<int>& ids) = 0;
  // The program's MIDI keyboard input: its device, dispatcher and active state.
  virtual TMidiKeyboardInput& MidiKeyboard() = 0;

  // --- staff commands, dialogs and selectors
  // The dialogs of the editing commands (edit_dialogs.h).
  virtual TEditDialogs& Dialogs() = 0;
  // The selector scores of the selector inserts (selector_source.h).
  virtual const TSelectorSource& Selectors() const = 0;
  // The clipboard of cut, copy, copy special and paste; one for the whole program.
  virtual TClipboardService& Clipboard() = 0;
  // The scripting host's user objects: the plug-ins' popups of the editor's mouse menus.
  virtual TUserObjectHost& UserObjects() = 0;
};

class TNullScoreEditHost : public TScoreEditHost {
public:
  TNullScoreEditHost() = default;
  // The service pointers may point into the host itself: no copies.
  TNullScoreEditHost(const TNullScoreEditHost&) = delete;
  TNullScoreEditHost& operator=(const TNullScoreEditHost&) = delete;
  const TScoreEditOptions& Options() const override { return options; }
  const TStaffColorHandles& Colors() const override { return colors; }
  bool IsPlaying(const TMusicScore&) const override { return false; }
  bool FollowsPlayback() const override { return false; }
  bool IsRecording() const override { return false; }
  int PlayedItem(const TMusicScore&, int) const override { return -1; }
  TInsertionState& Insertion() override { return insertion; }
  void Beep() override { ++beeps; }
  // Records the caption and answers `answer`.
  int MessageBox(uint32_t, const std::string& caption, const std::string&) override {
    messages.push_back(caption);
    return answer;
  }
  TEnteredNoteOutput& EnteredNoteOutput() override { return *enteredNotes; }
  // Records the id; answers appCommandAnswer.
  bool ExecuteAppCommand(int id) override {
    appCommands.push_back(id);
    return appCommandAnswer;
  }
  // Answers colorAnswer.
  int ChooseNoteColor(int) override { return colorAnswer; }
  // Records the ids.
  void PopupCommands(const std::vector<int>& ids) override { popups.push_back(ids); }
  TMidiKeyboardInput& MidiKeyboard() override { return midiKeyboard; }
  TEditDialogs& Dialogs() override { return *dialogs; }
  const TSelectorSource& Selectors() const override { return *selectors; }
  TClipboardService& Clipboard() override {
    return clipboardService ? *clipboardService : clipboard;
  }
  // The null user-object host unless a test or the program sets one.
  TUserObjectHost& UserObjects() override {
    return userObjects ? *userObjects : nullUserObjects;
  }

  // Tests and the headless program change them freely.
  TScoreEditOptions options;
  TStaffColorHandles colors;
  TInsertionState insertion;
  int beeps = 0;
  std::vector<std::string> messages;  // captions, in order
  int answer = 1;                     // IDOK
  TNullEnteredNoteOutput playedNotes;
  TEnteredNoteOutput* enteredNotes = &playedNotes;
  std::vector<int> appCommands;
  bool appCommandAnswer = false;
  int colorAnswer = -1;
  std::vector<std::vector<int>> popups;
  TMidiKeyboardInput midiKeyboard;
  // No dialogs and no selectors unless replaced (not owned).
  TNullEditDialogs nullDialogs;
  TNullSelectorSource nullSelectors;
  TEditDialogs* dialogs = &nullDialogs;
  const TSelectorSource* selectors = &nullSelectors;
  TMemoryClipboard clipboard;
  TClipboardService* clipboardService = nullptr;  // replaces the memory clipboard when set
  TUserObjectHost* userObjects = nullptr;  // not owned

private:
  TNullUserObjectHost nullUserObjects;
};

}  // namespace kvt
