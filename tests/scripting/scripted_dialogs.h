#pragma once
// Dialogs for tests: answers given in advance, requests recorded.

#include <chrono>
#include <deque>
#include <thread>

#include "scripting/script_dialogs.h"

namespace kvt::test {

class TScriptedDialogs final : public TScriptDialogs {
public:
  TScriptAnswer ShowMessage(const TScriptMessage& message) override {
    messages.push_back(message);
    Wait();
    if (answers.empty()) return TScriptAnswer::kCancel;
    const TScriptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool ShowPrompt(const TPromptRequest& request, TPromptValues& values, void*) override {
    prompts.push_back(request);
    Wait();
    if (promptValues.empty()) return false;
    values = promptValues.front();
    promptValues.pop_front();
    return true;
  }
  bool ShowFontChooser(TScriptFontChoice& choice, void*) override {
    fonts.push_back(choice);
    choice.points = 10;
    return true;
  }

  std::deque<TScriptAnswer> answers;
  std::deque<TPromptValues> promptValues;
  std::vector<TScriptMessage> messages;
  std::vector<TPromptRequest> prompts;
  std::vector<TScriptFontChoice> fonts;
  int sleepMs = 0;

private:
  void Wait() {
    if (sleepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
  }
};

}  // namespace kvt::test
