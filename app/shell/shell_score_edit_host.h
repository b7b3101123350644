#pragma once
// TShellScoreEditHost: the editing views' host in the running program: the options and
// insertion state of TNullScoreEditHost (the application refreshes them), with the system's
// beep and message boxes through the message-box service over the main window, the
// application's command table for the keys the view passes on, and the colour chooser as a
// popup menu at the mouse.

#include <QPointer>
#include <QWidget>

#include "app/editor/score_edit_host.h"

namespace kvt {

class TCommandTable;

class TShellScoreEditHost final : public TNullScoreEditHost {
public:
  // The table is the application's; it outlives the host.
  TShellScoreEditHost(QWidget* owner, TCommandTable& appCommands)
      : owner(owner), appCommands(appCommands) {}

  void Beep() override;
  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;
  bool ExecuteAppCommand(int id) override;
  int ChooseNoteColor(int current) override;
  void PopupCommands(const std::vector<int>& ids) override;

private:
  QPointer<QWidget> owner;
  TCommandTable& appCommands;
};

}  // namespace kvt
