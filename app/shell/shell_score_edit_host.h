#pragma once
// TShellScoreEditHost: the editing views' host in the running program: the options and
// insertion state of TNullScoreEditHost (the application refreshes them), with the system's
// beep and message boxes through the message-box service over the main window, the
// application's command table for the keys the view passes on, the colour chooser as a
// popup menu at the mouse, the system clipboard, the Qt dialogs of the editing commands
// and the user objects of the application's services (their plug-ins' popups). Its MIDI
// keyboard input gets the program's input device from the window host; entered notes
// are not sounded, since the program has no MIDI output yet.

#include <QPointer>
#include <QWidget>

#include "app/editor/qt_edit_dialogs.h"
#include "app/editor/score_edit_host.h"
#include "app/shell/qt_clipboard_service.h"
#include "notation/services/services.h"

namespace kvt {

class TCommandTable;

class TShellScoreEditHost final : public TNullScoreEditHost {
public:
  // The table and the services are the application's; they outlive the host.
  TShellScoreEditHost(QWidget* owner, TCommandTable& appCommands, const TServices& services)
      : owner(owner), appCommands(appCommands), services(services), systemClipboard(owner) {
    dialogs = &qtDialogs;
    clipboardService = &systemClipboard;
  }

  void Beep() override;
  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;
  bool ExecuteAppCommand(int id) override;
  int ChooseNoteColor(int current) override;
  void PopupCommands(const std::vector<int>& ids) override;
  TEnteredNoteOutput& EnteredNoteOutput() override { return silentNotes; }
  TUserObjectHost& UserObjects() override { return UserObjectHostOf(services); }

private:
  class TSilentNoteOutput final : public TEnteredNoteOutput {
  public:
    void PlayEnteredNote(int, int, int, int, int) override {}
  };

  QPointer<QWidget> owner;
  TCommandTable& appCommands;
  const TServices& services;
  TSilentNoteOutput silentNotes;
  TQtEditDialogs qtDialogs;
  TQtClipboardService systemClipboard;
};

}  // namespace kvt
