// The Qt dialogs of the staff commands, offscreen: what they show, what they answer, and the
// respelling warning's stepping.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "app/editor/goto_dialog.h"
#include "app/editor/qt_edit_dialogs.h"
#include "app/editor/respell_warn_dialog.h"
#include "app/editor/staff_transpose_dialog.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

TEST(GotoDialog, ShowsTheRangeAndAnswersTheChoice) {
  TGotoRequest request{5, 5 + 32002, 9, false};
  TGotoDialog dialog(nullptr, request);
  EXPECT_EQ(dialog.windowTitle(), "Goto Measure");
  EXPECT_EQ(dialog.BarNumber().minimum(), 5);
  EXPECT_EQ(dialog.BarNumber().maximum(), 32007);
  EXPECT_EQ(dialog.BarNumber().value(), 9);
  EXPECT_EQ(dialog.MakeSelection().text(), "Make &Selection");
  dialog.BarNumber().setValue(40000);  // limited to the range
  dialog.MakeSelection().setChecked(true);
  dialog.Apply(request);
  EXPECT_EQ(request.bar, 32007);
  EXPECT_TRUE(request.makeSelection);
}

TEST(StaffTransposeDialog, StartsFromTheChoiceAndAnswersWhatIsShown) {
  const TTransposeChoice start{-4, true, kKeyFavorSharps};
  TStaffTransposeDialog dialog(nullptr, start);
  EXPECT_EQ(dialog.windowTitle(), "Staff Transpose");
  EXPECT_EQ(dialog.Choice(), start);
  EXPECT_EQ(dialog.Semitones().minimum(), -12);
  EXPECT_EQ(dialog.Semitones().maximum(), 12);
  EXPECT_EQ(dialog.UpdatePlayback().text(), "&Update staff play back transposition");
  dialog.Semitones().setValue(7);
  dialog.UpdatePlayback().setChecked(false);
  dialog.Preference(kKeyFavorFlats).setChecked(true);
  EXPECT_EQ(dialog.Choice(), (TTransposeChoice{7, false, kKeyFavorFlats}));
}

class TCountedSteps final : public TRespellWarnSteps {
public:
  explicit TCountedSteps(int count) : count(count) {}
  bool HasNext() const override { return shown + 1 < count; }
  bool ShowNext() override {
    if (!HasNext()) return false;
    ++shown;
    return true;
  }
  QRect CaretRect() const override { return QRect(20, 30 + shown * 100, 1, 10); }
  int count;
  int shown = 0;
};

TEST(RespellWarnDialog, NextChordIsDisabledAfterTheLast) {
  TCountedSteps steps(3);
  TRespellWarnDlg dialog(nullptr, steps);
  EXPECT_EQ(dialog.windowTitle(), "Staff Audit Enharmonic Spelling Warning");
  EXPECT_EQ(dialog.NextChord().text(), "Show &Next Chord");
  EXPECT_EQ(dialog.GotoEditor().text(), "&Goto Score Editor");
  EXPECT_EQ(dialog.Proceed().text(), "&Proceed with Audit");
  EXPECT_TRUE(dialog.NextChord().isEnabled());
  QTest::mouseClick(&dialog.NextChord(), Qt::LeftButton);
  EXPECT_EQ(steps.shown, 1);
  EXPECT_TRUE(dialog.NextChord().isEnabled());
  QTest::mouseClick(&dialog.NextChord(), Qt::LeftButton);
  EXPECT_EQ(steps.shown, 2);
  EXPECT_FALSE(dialog.NextChord().isEnabled());

  TCountedSteps single(1);
  TRespellWarnDlg alone(nullptr, single);
  EXPECT_FALSE(alone.NextChord().isEnabled());
}

TEST(RespellWarnDialog, ButtonsAnswerProceedOrGoBack) {
  TCountedSteps steps(1);
  TRespellWarnDlg dialog(nullptr, steps);
  QTest::mouseClick(&dialog.Proceed(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), IDOK);
  TRespellWarnDlg back(nullptr, steps);
  QTest::mouseClick(&back.GotoEditor(), Qt::LeftButton);
  EXPECT_EQ(back.result(), IDCANCEL);
}

TEST(QtEditDialogs, OffersOnlyTheDialogsBuilt) {
  const TQtEditDialogs dialogs;
  EXPECT_TRUE(dialogs.IsAvailable(TEditDialog::kGoto));
  EXPECT_TRUE(dialogs.IsAvailable(TEditDialog::kTranspose));
  EXPECT_TRUE(dialogs.IsAvailable(TEditDialog::kRespellWarning));
  for (TEditDialog later :
       {TEditDialog::kItemProperties, TEditDialog::kStaffProperties, TEditDialog::kMoveStaff,
        TEditDialog::kLyrics, TEditDialog::kFind, TEditDialog::kUserTool, TEditDialog::kUserObject,
        TEditDialog::kSelectorMenu})
    EXPECT_FALSE(dialogs.IsAvailable(later)) << static_cast<int>(later);
}

}  // namespace
}  // namespace kvt
