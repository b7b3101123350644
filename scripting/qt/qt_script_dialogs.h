#pragma once
// TQtScriptDialogs: the dialogs of scripts on Qt Widgets. The owner given with each call is a
// QWidget* or null (the runtime's dialogs have no owner). A QApplication is made on first use
// when the process has none, so the headless runtime pays for Qt only when a tool asks.

#include "scripting/script_dialogs.h"

namespace kvt {

class TQtScriptDialogs final : public TScriptDialogs {
public:
  TScriptAnswer ShowMessage(const TScriptMessage& message) override;
  bool ShowPrompt(const TPromptRequest& request, TPromptValues& values, void* owner) override;
  bool ShowFontChooser(TScriptFontChoice& choice, void* owner) override;
};

// Whether dialogs can be shown: a display is named and KVT_NONINTERACTIVE is not set.
bool CanShowScriptDialogs();

}  // namespace kvt
