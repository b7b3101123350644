// The administrator question: never for an administrator, once per action text for others.

#include "app/shell/admin_confirm.h"

#include <gtest/gtest.h>

#include "tests/tools/recording_message_box.h"

namespace kvt {
namespace {

TEST(AdminConfirmTest, AnAdministratorIsNeverAsked) {
  test::TRecordingMessageBoxService boxes;
  TAdminConfirm confirm;
  EXPECT_TRUE(confirm.Confirm(nullptr, "Install", true));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(AdminConfirmTest, OthersAreAskedOncePerActionText) {
  test::TRecordingMessageBoxService boxes;
  TAdminConfirm confirm;
  boxes.Answer(IDNO);
  EXPECT_FALSE(confirm.Confirm(nullptr, "Install", false));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Admin Required");
  EXPECT_EQ(boxes.boxes[0].text.toStdString(),
            "Action: Install\nThis might require Administrator access in order to be "
            "successful. You are not currently running as an Admin.\n\nDo you want to continue "
            "anyway?");
  EXPECT_EQ(boxes.boxes[0].type & MB_TYPEMASK, MB_YESNO);
  // The same text again: the answer given, no second box.
  EXPECT_FALSE(confirm.Confirm(nullptr, "Install", false));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  // Another text asks; then the first asks anew.
  boxes.Answer(IDYES);
  EXPECT_TRUE(confirm.Confirm(nullptr, "", false));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[1].text.startsWith("Action: Admin Action\n"));
  boxes.Answer(IDYES);
  EXPECT_TRUE(confirm.Confirm(nullptr, "Install", false));
  EXPECT_EQ(boxes.boxes.size(), 3u);
}

}  // namespace
}  // namespace kvt
