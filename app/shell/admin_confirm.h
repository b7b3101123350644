#pragma once
// The question before an action that may need administrator rights ("Admin Required"). An
// administrator (on this platform the superuser) is never asked. Anyone else is asked once per
// action text: asking again for the text just asked gives the answer given then.

#include <string>

class QWidget;

namespace kvt {

inline constexpr char kDefaultAdminAction[] = "Admin Action";

class TAdminConfirm {
public:
  // True to go on. An empty action text reads as "Admin Action". UI thread.
  bool Confirm(QWidget* owner, const std::string& action, bool isAdministrator);

private:
  std::string lastAction;
  bool lastAnswer = false;
  bool asked = false;
};

// Whether this process runs with administrator rights (effective user id 0).
bool IsRunningAsAdministrator();

}  // namespace kvt
