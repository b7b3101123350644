#pragma once
// TShellScoreEditHost: the editing views' host in the running program: the options and
// insertion state of TNullScoreEditHost (the application refreshes them), with the system's
// beep and message boxes through the message-box service over the main window, and the user
// objects of the application's services (their plug-ins' popups).

#include <QPointer>
#include <QWidget>

#include "app/editor/score_edit_host.h"
#include "notation/services/services.h"

namespace kvt {

class TShellScoreEditHost final : public TNullScoreEditHost {
public:
  // The services outlive the host.
  TShellScoreEditHost(QWidget* owner, const TServices& services)
      : owner(owner), services(services) {}

  void Beep() override;
  int MessageBox(uint32_t type, const std::string& caption, const std::string& text) override;
  TUserObjectHost& UserObjects() override { return UserObjectHostOf(services); }

private:
  QPointer<QWidget> owner;
  const TServices& services;
};

}  // namespace kvt
