// The page walks' progress window: the long-task dialog shows "Working..." while a walk runs
// and is gone when it ends.

#include "print/preview_progress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "tools/long_task_dialog.h"

namespace kvt::test {
namespace {

TEST(PreviewProgress, ShowsWorkingWhileAWalkRunsAndClosesAfter) {
  QWidget owner;
  TLongTaskPreviewProgress progress(&owner);
  EXPECT_FALSE(TLongTaskDlg::AnyActive());
  EXPECT_FALSE(progress.IsCancelled());  // no walk: nothing to cancel
  progress.Begin("Working...");
  ASSERT_TRUE(TLongTaskDlg::AnyActive());
  TLongTaskDlg* dialog = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<TLongTaskDlg*>(w); d && d->isVisible()) dialog = d;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->StatusLabel(0)->text(), "Working...");
  EXPECT_EQ(dialog->Bar(0), nullptr);
  EXPECT_FALSE(progress.IsCancelled());
  progress.End();
  EXPECT_FALSE(TLongTaskDlg::AnyActive());
  progress.End();  // twice is harmless
}

}  // namespace
}  // namespace kvt::test
