// The import wizard: its buttons follow the page, Step 3 rescans only after the scan options
// changed (losing manual edits) and re-applies the Step 1 options every time, Delete asks and
// needs a selected row, and Finish and Cancel end the run as they say.
#include "app/dialogs/midi_import/import_wizard.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "midi/events/midi_msg.h"
#include "midi/import/import_convert.h"
#include "midi/import/import_data.h"
#include "app/dialogs/midi_import/import_instruction_dialog.h"
#include "app/dialogs/midi_import/import_list_page.h"
#include "app/dialogs/midi_import/qt_midi_import_shell.h"
#include "tests/app/dialogs/midi_import/modal_helper.h"
#include "tests/tools/recording_message_box.h"
#include "tools/combo_box.h"
#include "tools/edit_number.h"
#include "tools/message_box_service.h"
#include "tools/property_tab.h"
#include "utils/cursor_service.h"

namespace kvt {
namespace {

class ImportWizardTest : public testing::Test {
protected:
  void SetUp() override {
    // One track, two channels: two instructions when channels go to their own staves.
    data.Reset(1);
    TMidiFileBuf& events = data.GetTrack(0)->GetEvents();
    events.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 0, 48, 90));
    events.AddEvent(96, TMidiMsg::Channel(kMidiNoteOff, 0, 0, 48, 0));
    events.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 1, 70, 90));
    events.AddEvent(96, TMidiMsg::Channel(kMidiNoteOff, 0, 1, 70, 0));
    ScanImportInstructions(data, data.GetOptions().extractChannels != 0,
                           data.GetOptions().maxChordSize);
    ASSERT_EQ(data.GetInstructions().size(), 2u);
    wizard = std::make_unique<TImportWizard>(nullptr, data, "/music/song.mid", shell,
                                             NullCursorService());
    wizard->Create();
  }

  int Page() const { return wizard->Tab()->Selected(); }
  void Press(int id) { QTest::mouseClick(wizard->Button(id), Qt::LeftButton); }
  template <class T>
  T* OnPage(int index = 0) const {
    return wizard->GetCurrentPage()->Window()->findChildren<T*>().value(index);
  }
  QListWidget* List() const { return wizard->ListPage().List(); }
  void PressPageButton(const char* name) {
    QTest::mouseClick(
        wizard->GetCurrentPage()->Window()->findChild<QPushButton*>(QString::fromUtf8(name)),
        Qt::LeftButton);
  }
  void ExpectButtons(bool back, bool next, bool finish) {
    EXPECT_EQ(wizard->Button(kWizardBackId)->isEnabled(), back);
    EXPECT_EQ(wizard->Button(kWizardNextId)->isEnabled(), next);
    EXPECT_EQ(wizard->Button(IDOK)->isEnabled(), finish);
  }
  void ToStep3() {
    while (Page() < 3) Press(kWizardNextId);
    ASSERT_EQ(Page(), 3);
  }

  TKVTImportData data;
  test::TRecordingMessageBoxService boxes;
  TQtMidiImportShell shell{nullptr, NullCursorService()};
  std::unique_ptr<TImportWizard> wizard;
};

TEST_F(ImportWizardTest, ButtonsFollowThePages) {
  EXPECT_EQ(wizard->windowTitle(), QStringLiteral("MIDI Import Wizard"));
  EXPECT_EQ(wizard->GetPageCount(), 5);
  EXPECT_EQ(Page(), 0);
  ExpectButtons(false, true, false);
  Press(kWizardNextId);
  ExpectButtons(true, true, false);
  ToStep3();
  Press(kWizardNextId);
  EXPECT_EQ(Page(), 4);
  ExpectButtons(true, false, true);
  Press(kWizardBackId);
  EXPECT_EQ(Page(), 3);
  ExpectButtons(true, true, false);
}

TEST_F(ImportWizardTest, TheIntroNamesTheFile) {
  auto* name = wizard->GetCurrentPage()->Window()->findChild<QLabel*>(QStringLiteral("fileName"));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), QStringLiteral("/music/song.mid"));

  // A long path loses its middle and keeps the file name.
  const std::string longPath = "/home/" + std::string(300, 'x') + "/final song.mid";
  TImportWizard other(nullptr, data, longPath, shell, NullCursorService());
  other.Create();
  const QString shown =
      other.GetCurrentPage()->Window()->findChild<QLabel*>(QStringLiteral("fileName"))->text();
  EXPECT_LT(shown.size(), static_cast<qsizetype>(longPath.size()));
  EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/")));
  EXPECT_TRUE(shown.endsWith(QStringLiteral("final song.mid")));
}

TEST_F(ImportWizardTest, StepThreeRescansOnlyAfterTheScanOptionsChanged) {
  ToStep3();
  ASSERT_EQ(List()->count(), 2);
  EXPECT_EQ(List()->currentRow(), 0);
  // A manual edit: the second row deleted after the question.
  List()->setCurrentRow(1);
  boxes.Answer(IDYES);
  PressPageButton("Delete");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Delete Confirmation"));
  EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONQUESTION);
  EXPECT_EQ(boxes.boxes[0].text,
            QStringLiteral("Are you sure that you want to delete the current instruction?"));
  ASSERT_EQ(List()->count(), 1);

  // Back to Step 2 and on without a change: the edit stays.
  Press(kWizardBackId);
  Press(kWizardNextId);
  EXPECT_EQ(List()->count(), 1);

  // Back, a new chord size, and on: a new scan, the edit lost.
  Press(kWizardBackId);
  ASSERT_EQ(Page(), 2);
  TEditNumber* chord = OnPage<TEditNumber>();
  chord->selectAll();
  QTest::keyClicks(chord, "30");
  Press(kWizardNextId);
  EXPECT_EQ(data.GetOptions().maxChordSize, 30);
  EXPECT_EQ(List()->count(), 2);
}

TEST_F(ImportWizardTest, StepOneOptionsApplyToEveryInstructionOnEachVisit) {
  Press(kWizardNextId);
  ASSERT_EQ(Page(), 1);
  OnPage<TKRVComboBox>(0)->setCurrentIndex(3);  // "Eighth Note"
  OnPage<TKRVComboBox>(1)->setCurrentIndex(4);  // "Sixteenth Rest"
  // On the box itself: the wide control's empty right part is not its button.
  QCheckBox* pedal = OnPage<QCheckBox>(0);
  QTest::mouseClick(pedal, Qt::LeftButton, {}, QPoint(6, pedal->height() / 2));
  ToStep3();
  for (const TSMFImportInstructions& instruction : data.GetInstructions()) {
    EXPECT_EQ(instruction.noteResolution, 3);
    EXPECT_EQ(instruction.restResolution, 4);
    EXPECT_TRUE(instruction.Has(kImportPedalMarks));
  }
  // An instruction edited by hand takes the defaults again on the next visit.
  data.GetInstructions()[0].noteResolution = 6;
  Press(kWizardBackId);
  Press(kWizardNextId);
  EXPECT_EQ(data.GetInstructions()[0].noteResolution, 3);
}

TEST_F(ImportWizardTest, DeleteNeedsASelectedRowAndNoKeepsIt) {
  ToStep3();
  List()->setCurrentRow(-1);
  List()->clearSelection();
  PressPageButton("Delete");
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(List()->count(), 2);
  List()->setCurrentRow(0);
  boxes.Answer(IDNO);
  PressPageButton("Delete");
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(List()->count(), 2);
}

TEST_F(ImportWizardTest, AddAndEditGoThroughTheInstructionDialog) {
  ToStep3();
  test::WhenModal<TImportInstructionDlg>([](TImportInstructionDlg& dialog) {
    // The file has one track: the highest track number is 0.
    EXPECT_EQ(static_cast<TEditNumber*>(dialog.Control(101))->Maximum(), 0);
    QTest::mouseClick(dialog.Control(120), Qt::LeftButton);  // "Channel 10"
    QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
  });
  PressPageButton("Add..");
  ASSERT_EQ(List()->count(), 3);
  // A new instruction starts with every channel.
  EXPECT_EQ(data.GetInstructions().back().channelMask, 0xFFFFu & ~(1u << 9));
  EXPECT_EQ(List()->currentRow(), 0);

  List()->setCurrentRow(1);
  test::WhenModal<TImportInstructionDlg>([](TImportInstructionDlg& dialog) {
    QTest::mouseClick(dialog.Control(116), Qt::LeftButton);  // "Channel 6"
    QTest::mouseClick(dialog.Control(IDOK), Qt::LeftButton);
  });
  PressPageButton("Edit..");
  EXPECT_EQ(data.GetInstructions()[1].channelMask, (1u << 1) | (1u << 5));
  EXPECT_EQ(List()->item(1)->text().toStdString(),
            FormatInstructionText(data.GetInstructions()[1]));
  EXPECT_EQ(List()->currentRow(), 1);
}

TEST_F(ImportWizardTest, FinishEndsWithOkAndCancelWithout) {
  ToStep3();
  Press(kWizardNextId);
  Press(IDOK);
  EXPECT_EQ(wizard->result(), IDOK);

  test::WhenModal<TImportWizard>(
      [](TImportWizard& run) { QTest::mouseClick(run.Button(IDCANCEL), Qt::LeftButton); });
  EXPECT_FALSE(RunImportWizard(nullptr, data, "x.mid", shell, NullCursorService()));
  test::WhenModal<TImportWizard>([](TImportWizard& run) {
    for (int i = 0; i < 4; ++i) QTest::mouseClick(run.Button(kWizardNextId), Qt::LeftButton);
    QTest::mouseClick(run.Button(IDOK), Qt::LeftButton);
  });
  EXPECT_TRUE(RunImportWizard(nullptr, data, "x.mid", shell, NullCursorService()));
}

}  // namespace
}  // namespace kvt
