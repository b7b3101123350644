#include "utils/sys_status_bar.h"

namespace kvt {

TSysStatusBar& NullSysStatusBar() {
  static TNullSysStatusBar bar;
  return bar;
}

}  // namespace kvt
