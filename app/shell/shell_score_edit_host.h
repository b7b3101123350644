#pragma once
// TShellScoreEditHost: the editing views' host in the running program: the options and
// insertion state of TNullScoreEditHost (the application refreshes them), with the system's
// beep and message boxes through the message-box service over the main window. Its MIDI keyboard
// input gets the program's input device from the window host.

#include <QPointer>
#include <QWidget>

#include "app/editor/score_edit_host.h"

namespace kvt {

class TShellScoreEditHost final : public TNullScoreEditHost {
public:
  explicit TShellScoreEditHost(QWidget* owner) : owner(owner) {}

  void Beep() override;
  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;
  // The program has no MIDI output yet: entered notes are not sounded.
  TEnteredNoteOutput& EnteredNoteOutput() override { return silentNotes; }

private:
  class TSilentNoteOutput final : public TEnteredNoteOutput {
  public:
    void PlayEnteredNote(int, int, int, int, int) override {}
  };

  QPointer<QWidget> owner;
  TSilentNoteOutput silentNotes;
};

}  // namespace kvt
