// The "Import Instruction" dialog: channel boxes follow the channel mask both ways, the track
// field's range follows the file's highest track, and Cancel leaves the instruction alone.
#include "app/dialogs/midi_import/import_instruction_dialog.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "midi/import/import_instructions.h"
#include "tests/app/dialogs/midi_import/modal_helper.h"
#include "tests/tools/recording_message_box.h"
#include "tools/combo_box.h"
#include "tools/edit_number.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

QCheckBox* ChannelBox(TKVDlgBase& dialog, int channel) {
  return qobject_cast<QCheckBox*>(dialog.Control(110 + channel));
}

void Click(TKVDlgBase& dialog, int id) { QTest::mouseClick(dialog.Control(id), Qt::LeftButton); }

TEST(ImportInstructionDialog, ChannelBoxesShowTheMaskAndClicksChangeIt) {
  for (uint16_t mask :
       {uint16_t{0}, uint16_t{0x0001}, uint16_t{0x8000}, uint16_t{0xA5A5}, uint16_t{0xFFFF}}) {
    SCOPED_TRACE(mask);
    TSMFImportInstructions instruction;
    instruction.channelMask = mask;
    instruction.track = 2;
    instruction.lowPitch = 40;
    instruction.highPitch = 90;
    instruction.noteResolution = 4;
    test::WhenModal<TImportInstructionDlg>([mask](TImportInstructionDlg& dialog) {
      for (int c = 1; c <= 16; ++c)
        EXPECT_EQ(ChannelBox(dialog, c)->isChecked(), (mask & (1u << (c - 1))) != 0) << c;
      Click(dialog, 113);  // "Channel 3"
      Click(dialog, 126);  // "Channel 16"
      Click(dialog, IDOK);
    });
    ASSERT_TRUE(EditImportInstruction(nullptr, instruction, 5, false));
    EXPECT_EQ(instruction.channelMask, mask ^ 0x8004);
    // The other fields went through unchanged.
    EXPECT_EQ(instruction.track, 2);
    EXPECT_EQ(instruction.lowPitch, 40);
    EXPECT_EQ(instruction.highPitch, 90);
    EXPECT_EQ(instruction.noteResolution, 4);
  }
}

TEST(ImportInstructionDialog, OptionsAndListsWriteBackOnOkAndCancelKeepsAll) {
  TSMFImportInstructions instruction;
  instruction.options = kImportAutoBeam;
  const TSMFImportInstructions before = instruction;
  test::WhenModal<TImportInstructionDlg>([](TImportInstructionDlg& dialog) {
    Click(dialog, 111);
    Click(dialog, 130);
    static_cast<TKRVComboBox*>(dialog.Control(103))->setCurrentIndex(72);
    Click(dialog, IDCANCEL);
  });
  EXPECT_FALSE(EditImportInstruction(nullptr, instruction, 0, false));
  EXPECT_EQ(instruction.channelMask, before.channelMask);
  EXPECT_EQ(instruction.options, before.options);
  EXPECT_EQ(instruction.highPitch, before.highPitch);

  test::WhenModal<TImportInstructionDlg>([](TImportInstructionDlg& dialog) {
    Click(dialog, 130);  // pedal marks on
    Click(dialog, 132);  // automatic beam off
    static_cast<TKRVComboBox*>(dialog.Control(102))->setCurrentIndex(36);
    static_cast<TKRVComboBox*>(dialog.Control(103))->setCurrentIndex(72);
    static_cast<TKRVComboBox*>(dialog.Control(141))->setCurrentIndex(6);
    Click(dialog, IDOK);
  });
  ASSERT_TRUE(EditImportInstruction(nullptr, instruction, 0, true));
  EXPECT_EQ(instruction.options, kImportPedalMarks);
  EXPECT_EQ(instruction.lowPitch, 36);
  EXPECT_EQ(instruction.highPitch, 72);
  EXPECT_EQ(instruction.restResolution, 6);
}

TEST(ImportInstructionDialog, TheTrackFieldAcceptsZeroToTheHighestTrackOnly) {
  const struct {
    int highest;
    int maximum;
  } cases[] = {{-1, 0}, {0, 0}, {4, 4}, {255, 255}, {300, 255}};
  for (const auto& c : cases) {
    TImportInstructionDlg dialog(nullptr, TImportInstructionForm(), c.highest);
    auto* track = static_cast<TEditNumber*>(dialog.Control(101));
    EXPECT_EQ(track->Minimum(), 0) << c.highest;
    EXPECT_EQ(track->Maximum(), c.maximum) << c.highest;
  }

  // A number past the highest track keeps the dialog open with the field's message.
  test::TRecordingMessageBoxService boxes;
  TSMFImportInstructions instruction;
  test::WhenModal<TImportInstructionDlg>([&boxes](TImportInstructionDlg& dialog) {
    auto* track = static_cast<TEditNumber*>(dialog.Control(101));
    track->selectAll();
    QTest::keyClicks(track, "9");
    Click(dialog, IDOK);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Value is out of range"));
    track->selectAll();
    QTest::keyClicks(track, "4");
    Click(dialog, IDOK);
  });
  ASSERT_TRUE(EditImportInstruction(nullptr, instruction, 4, false));
  EXPECT_EQ(instruction.track, 4);
}

}  // namespace
}  // namespace kvt
