#include "notation/services/services.h"

#include "utils/cursor_service.h"
#include "utils/font_description.h"
#include "utils/sys_status_bar.h"

namespace kvt {

TSysStatusBar& SysStatusBarOf(const TServices& services) {
  return services.status ? *services.status : NullSysStatusBar();
}

ICursorService& CursorServiceOf(const TServices& services) {
  return services.cursor ? *services.cursor : NullCursorService();
}

IFontCatalog& FontCatalogOf(const TServices& services) {
  return services.fontCatalog ? *services.fontCatalog : NullFontCatalog();
}

}  // namespace kvt
