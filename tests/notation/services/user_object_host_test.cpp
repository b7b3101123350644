#include "notation/services/user_object_host.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

class TCountingHost : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return true; }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}
};

TEST(UserObjectHostTest, NullHostUntilOneIsInstalled) {
  ASSERT_FALSE(HasUserObjectHost());
  EXPECT_FALSE(GetUserObjectHost().IsUserObjectTypeLoaded("Arrow"));

  TCountingHost host;
  InstallUserObjectHost(&host);
  EXPECT_TRUE(HasUserObjectHost());
  EXPECT_EQ(&GetUserObjectHost(), &host);
  EXPECT_TRUE(GetUserObjectHost().IsUserObjectTypeLoaded("Arrow"));

  InstallUserObjectHost(nullptr);
  EXPECT_FALSE(HasUserObjectHost());
  EXPECT_FALSE(GetUserObjectHost().IsUserObjectTypeLoaded("Arrow"));
}

}  // namespace
}  // namespace kvt
