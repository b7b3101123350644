#pragma once
// The application object of the tools tests: the library's application base with help hooks
// that record what they were asked, so tests can see where help requests go.

#include "tools/kv_app_base.h"

#include <vector>

namespace kvt::test {

struct TContextHelpCall {
  TCtrlHelpRequest request;
  int32_t firstMapId = 0;  // the help map's first control id (0 for the empty map)
  int32_t dialogId = 0;
};

class TTestApp final : public TKVAppBase {
public:
  using TKVAppBase::TKVAppBase;

  void ShowContextHelp(const TCtrlHelpRequest& request, const TCtrlHelpEntry* helpMap,
                       int32_t dialogId) override {
    contextHelp.push_back({request, helpMap[0].controlId, dialogId});
  }
  void ShowCommandHelp(int32_t id) override { commandHelp.push_back(id); }

  void ClearHelp() {
    contextHelp.clear();
    commandHelp.clear();
  }

  std::vector<TContextHelpCall> contextHelp;
  std::vector<int32_t> commandHelp;
};

// The running test application.
inline TTestApp& TestApp() { return static_cast<TTestApp&>(*GetKVAppBase()); }

}  // namespace kvt::test
