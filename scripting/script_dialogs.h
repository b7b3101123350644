#pragma once
// TScriptDialogs: the dialogs scripts may open (message boxes, the prompt dialog, the font
// chooser), behind an interface so the host and the user-tool runtime run headless. The Qt
// version lives in scripting/qt/. TNullScriptDialogs is the answer of a run without a
// display: every box and prompt is cancelled, and a yes/no question (the runtime's "cancel
// the script?") is answered Yes.

#include <string>
#include <vector>

#include "scripting/script_prompt.h"

namespace kvt {

enum class TScriptButtons { kOkCancel, kYesNoCancel, kYesNo };
enum class TScriptIcon { kInformation, kQuestion };
enum class TScriptAnswer { kOk, kYes, kNo, kCancel };

struct TScriptMessage {
  std::string text;     // UTF-8
  std::string caption;  // UTF-8, at most 127 characters
  TScriptButtons buttons = TScriptButtons::kOkCancel;
  TScriptIcon icon = TScriptIcon::kInformation;
  int defaultButton = 1;         // 2 makes the second button the default
  void* owner = nullptr;         // the owner window, or none
};

// A font choice: face, size in points and the style text ("Bold", "Italic", "Bold Italic" or
// empty).
struct TScriptFontChoice {
  std::string face;
  double points = 4;
  std::string style;
};

class TScriptDialogs {
public:
  virtual ~TScriptDialogs() = default;
  virtual TScriptAnswer ShowMessage(const TScriptMessage& message) = 0;
  // False when the user cancels; else the values entered (prompt kinds of script_prompt.h).
  virtual bool ShowPrompt(const TPromptRequest& request, TPromptValues& values, void* owner) = 0;
  // False when the user cancels; else the choice, which came in as the initial one.
  virtual bool ShowFontChooser(TScriptFontChoice& choice, void* owner) = 0;
};

class TNullScriptDialogs final : public TScriptDialogs {
public:
  TScriptAnswer ShowMessage(const TScriptMessage& message) override {
    return message.buttons == TScriptButtons::kYesNo ? TScriptAnswer::kYes : TScriptAnswer::kCancel;
  }
  bool ShowPrompt(const TPromptRequest&, TPromptValues&, void*) override { return false; }
  bool ShowFontChooser(TScriptFontChoice&, void*) override { return false; }
};

}  // namespace kvt
