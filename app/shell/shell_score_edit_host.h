#pragma once
// TShellScoreEditHost: the editing views' host in the running program: the options and
// insertion state of TNullScoreEditHost (the application refreshes them), with the system's
// beep and message boxes through the message-box service over the main window, and the
// system clipboard.

#include <QPointer>
#include <QWidget>

#include "app/editor/score_edit_host.h"
#include "app/shell/qt_clipboard_service.h"

namespace kvt {

class TShellScoreEditHost final : public TNullScoreEditHost {
public:
  explicit TShellScoreEditHost(QWidget* owner) : owner(owner), systemClipboard(owner) {
    clipboardService = &systemClipboard;
  }

  void Beep() override;
  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;

private:
  QPointer<QWidget> owner;
  TQtClipboardService systemClipboard;
};

}  // namespace kvt
