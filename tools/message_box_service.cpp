#include "tools/message_box_service.h"

#include "tools/kv_app_base.h"

namespace kvt {

std::vector<int> MessageBoxButtons(uint32_t type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int MessageBoxDefaultResult(uint32_t type) {
  const std::vector<int> buttons = MessageBoxButtons(type);
  const size_t index = (type & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int MessageBoxEscapeResult(uint32_t type) {
  const std::vector<int> buttons = MessageBoxButtons(type);
  for (int id : buttons)
    if (id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 ? IDOK : 0;
}

TMessageBoxService& MessageBoxServiceOf() {
  static TNullMessageBoxService nullService;  // stateless
  if (TKVAppBase* app = GetKVAppBase()) return app->MessageBoxService();
  return nullService;
}

}  // namespace kvt
