#include "utils/status_state.h"

#include "utils/sys_info.h"

namespace kvt {

TStatusState::TStatusState(TSysInfo& owner, const char* text, bool wait)
    : owner(owner), text(text == nullptr ? "" : text), wait(wait) {
  if (wait) owner.BeginWait();
}

TStatusState::~TStatusState() {
  if (wait) owner.EndWait();
}

}  // namespace kvt
