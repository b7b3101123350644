#pragma once
// TQtScriptDialogs: the dialogs of scripts on Qt Widgets. The owner given with each call is a
// QWidget* or null (the runtime's dialogs have no owner). A QApplication is made on first use
// when the process has none, so the headless runtime pays for Qt only when a tool asks; the
// object owns that application.

#include <memory>

#include "scripting/script_dialogs.h"

class QApplication;

namespace kvt {

class TQtScriptDialogs final : public TScriptDialogs {
public:
  TQtScriptDialogs();
  // Ends the application it made, while Qt is still whole (never at static destruction).
  ~TQtScriptDialogs() override;

  TScriptAnswer ShowMessage(const TScriptMessage& message) override;
  bool ShowPrompt(const TPromptRequest& request, TPromptValues& values, void* owner) override;
  bool ShowFontChooser(TScriptFontChoice& choice, void* owner) override;

private:
  void EnsureApplication();

  std::unique_ptr<QApplication> application;
};

// Whether dialogs can be shown: a display is named and KVT_NONINTERACTIVE is not set.
bool CanShowScriptDialogs();

}  // namespace kvt
