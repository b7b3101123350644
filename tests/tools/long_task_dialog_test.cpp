// The long-task progress dialog: status lines, clamped bars, the cancel confirmation and the
// cancel test that the core's long loops reach through the services.
#include "tools/long_task_dialog.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <string>

#include "notation/services/services.h"
#include "tests/tools/recording_message_box.h"
#include "tools/gauge.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

class LongTaskDialogTest : public testing::Test {
protected:
  test::TRecordingMessageBoxService boxes;
};

TEST_F(LongTaskDialogTest, NoDialogMeansNotCancelled) {
  EXPECT_FALSE(TLongTaskDlg::CheckCancel());
  EXPECT_FALSE(TLongTaskDlg::AnyActive());
  TLongTaskCancelProvider provider;
  TServices services;
  services.longTaskCancel = &provider;
  EXPECT_FALSE(LongTaskCancelOf(services).CheckCancel());
}

TEST_F(LongTaskDialogTest, WorkingTemplateHasOneLineAndOneBar) {
  TLongTaskDlg dialog(nullptr, 574, 1, 1);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Working");
  EXPECT_EQ(dialog.StatusLabel(0)->text(), "Initializing...");
  dialog.SetStatusf("Reading staff %d of %d", 3, 12);
  EXPECT_EQ(dialog.StatusLabel(0)->text(), "Reading staff 3 of 12");
  dialog.SetStatusLine(1, "ignored");  // beyond the lines
  EXPECT_EQ(dialog.StatusLabel(1), nullptr);
  ASSERT_NE(dialog.Bar(0), nullptr);
  EXPECT_EQ(dialog.Bar(1), nullptr);
  dialog.SetProgressRange(40);
  dialog.SetProgress(55);
  EXPECT_EQ(dialog.Bar(0)->value(), 40);
  dialog.SetProgress(-3);
  EXPECT_EQ(dialog.Bar(0)->value(), 0);
  dialog.SetProgress2(10);  // no second bar: nothing happens
  dialog.Close();
  EXPECT_FALSE(TLongTaskDlg::AnyActive());
}

TEST_F(LongTaskDialogTest, SecondBarIsSegmentedAndSitsOnItsPlace) {
  TLongTaskDlg dialog(nullptr, 900, 2, 2);
  dialog.show();
  ASSERT_NE(dialog.Bar(1), nullptr);
  EXPECT_FALSE(dialog.Bar(0)->IsLed());
  EXPECT_TRUE(dialog.Bar(1)->IsLed());
  EXPECT_EQ(dialog.Bar(0)->maximum(), 100);
  EXPECT_NE(dialog.Bar(0)->geometry(), dialog.Bar(1)->geometry());
  dialog.SetStatusLine(1, "second line");
  EXPECT_EQ(dialog.StatusLabel(1)->text(), "second line");
  // Shown as plain text, never as markup.
  dialog.SetStatus("<b>bold</b>");
  EXPECT_EQ(dialog.StatusLabel(0)->textFormat(), Qt::PlainText);
}

TEST_F(LongTaskDialogTest, LongFormattedStatusIsCutOnACharacterBoundary) {
  TLongTaskDlg dialog(nullptr, 571, 1, 0);
  dialog.show();
  std::string text;
  for (int i = 0; i < 200; ++i) text += "\xC3\xA9";  // é
  dialog.SetStatusf("x%s", text.c_str());
  const QString shown = dialog.StatusLabel(0)->text();
  EXPECT_EQ(shown.size(), 1 + 127);  // 255 bytes hold "x" and 127 whole characters
  EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter));
}

TEST_F(LongTaskDialogTest, CancelAsksOnceAndOnlyYesCancels) {
  TLongTaskDlg dialog(nullptr, 571, 1, 0);
  dialog.show();
  boxes.Answer(IDNO);
  dialog.CancelButton()->click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Are you sure?");
  EXPECT_EQ(boxes.boxes[0].caption, "Cancel Confirmation");
  EXPECT_EQ(boxes.boxes[0].type, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL);
  EXPECT_FALSE(dialog.IsCancelled());
  boxes.Answer(IDYES);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.IsCancelled());
  EXPECT_TRUE(TLongTaskDlg::CheckCancel());
  dialog.CancelButton()->click();
  EXPECT_EQ(boxes.boxes.size(), 2u);  // asked nothing the second time
  EXPECT_TRUE(dialog.isVisible());    // cancelling never closes the dialog
  dialog.ResetCancel();
  EXPECT_FALSE(TLongTaskDlg::CheckCancel());
}

TEST_F(LongTaskDialogTest, WarningCanLeadToTheCancelQuestion) {
  TLongTaskDlg dialog(nullptr, 571, 1, 0);
  dialog.show();
  boxes.Answer(IDOK);
  dialog.WarnOrCancel("Track %d has no events", 4);
  EXPECT_FALSE(dialog.IsCancelled());
  boxes.Answer(IDCANCEL);
  boxes.Answer(IDYES);
  dialog.WarnOrCancel("Track %d has no events", 5);
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[0].caption, "Warning");
  EXPECT_EQ(boxes.boxes[0].text, "Track 4 has no events");
  EXPECT_EQ(boxes.boxes[0].type, MB_OKCANCEL | MB_ICONINFORMATION | MB_TASKMODAL);
  EXPECT_EQ(boxes.boxes[2].text, "Are you sure?");
  EXPECT_TRUE(dialog.IsCancelled());
}

TEST_F(LongTaskDialogTest, NestedDialogsRestoreTheOuterOne) {
  TLongTaskDlg outer(nullptr, 574, 1, 1);
  outer.show();
  boxes.Answer(IDYES);
  outer.CancelButton()->click();
  {
    TLongTaskDlg inner(nullptr, 571, 1, 0);
    inner.show();
    EXPECT_FALSE(TLongTaskDlg::CheckCancel());  // the inner one is active
    inner.Close();
    EXPECT_TRUE(TLongTaskDlg::CheckCancel());
    inner.show();
  }  // deleted while shown: it leaves the stack too
  TLongTaskCancelProvider provider;
  TServices services;
  services.longTaskCancel = &provider;
  EXPECT_TRUE(LongTaskCancelOf(services).CheckCancel());
  outer.Close();
  EXPECT_FALSE(LongTaskCancelOf(services).CheckCancel());
}

TEST_F(LongTaskDialogTest, DialogIsApplicationModal) {
  TLongTaskDlg dialog(nullptr, 571, 1, 0);
  EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
}

}  // namespace
}  // namespace kvt
