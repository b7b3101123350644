#pragma once
// TStatusState: one message of the status-bar stack of TSysInfo. A state made with the wait
// flag holds a wait of its owner (BeginWait) for its whole life and ends it (EndWait) when it
// is destroyed. The owner must outlive the state.

#include <string>

namespace kvt {

class TSysInfo;

class TStatusState {
public:
  // Copies text (null: an empty text).
  TStatusState(TSysInfo& owner, const char* text, bool wait);
  ~TStatusState();
  TStatusState(const TStatusState&) = delete;
  TStatusState& operator=(const TStatusState&) = delete;

  const std::string& GetText() const { return text; }
  bool IsWait() const { return wait; }

private:
  TSysInfo& owner;
  std::string text;
  bool wait;
};

}  // namespace kvt
