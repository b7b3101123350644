// The services object's accessors: a null member answers that service's null version, a set
// member answers the caller's service itself.
#include "notation/services/services.h"

#include <gtest/gtest.h>

#include "notation/services/long_task_cancel.h"
#include "notation/services/page_setup_defaults.h"
#include "notation/services/user_object_host.h"
#include "notation/staff/music_score.h"
#include "utils/cursor_service.h"
#include "utils/font_description.h"
#include "utils/sys_status_bar.h"

namespace kvt {
namespace {

class TCancelled : public TLongTaskCancel {
public:
  bool CheckCancel() override { return true; }
};

class TWideMargins : public TPageSetupDefaults {
public:
  TPageMargins GetDefaultMargins() override { return {2.0f, 2.0f, 2.0f, 2.0f, true}; }
};

class TAllFonts : public IFontCatalog {
public:
  bool IsFaceInstalled(const char*, int) override { return true; }
};

class TWaitCursor : public ICursorService {
public:
  bool ShowWaitCursor() override { return true; }
  void RestoreCursor() override {}
};

TEST(ServicesTest, DefaultSetAnswersTheNullVersions) {
  const TServices none;
  EXPECT_FALSE(UserObjectHostOf(none).IsUserObjectTypeLoaded("Arrow"));
  EXPECT_FALSE(LongTaskCancelOf(none).CheckCancel());
  EXPECT_FLOAT_EQ(PageSetupDefaultsOf(none).GetDefaultMargins().top, TPageMargins().top);
  EXPECT_FALSE(FontCatalogOf(none).IsFaceInstalled("Liberation Serif", 0));
  EXPECT_FALSE(CursorServiceOf(none).ShowWaitCursor());
  SysStatusBarOf(none).ShowStatusText("nowhere", true);  // shows nothing, needs no window
}

TEST(ServicesTest, SetMembersAnswerTheCallersServices) {
  TNullUserObjectHost host;  // a host of the caller's own: the accessor must not swap it
  TCancelled cancel;
  TWideMargins margins;
  TAllFonts fonts;
  TWaitCursor cursor;
  TNullSysStatusBar bar;
  TServices services;
  services.userObjectHost = &host;
  services.longTaskCancel = &cancel;
  services.pageSetupDefaults = &margins;
  services.fontCatalog = &fonts;
  services.cursor = &cursor;
  services.status = &bar;
  EXPECT_EQ(&UserObjectHostOf(services), &host);
  EXPECT_EQ(&LongTaskCancelOf(services), &cancel);
  EXPECT_EQ(&PageSetupDefaultsOf(services), &margins);
  EXPECT_EQ(&FontCatalogOf(services), &fonts);
  EXPECT_EQ(&CursorServiceOf(services), &cursor);
  EXPECT_EQ(&SysStatusBarOf(services), &bar);
}

}  // namespace
}  // namespace kvt
