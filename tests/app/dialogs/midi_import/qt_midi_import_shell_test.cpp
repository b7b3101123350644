// Opening a MIDI file through the editor's shell: the warnings question (information icon,
// Yes and No) appears only for a file with warnings and No gives nothing; the wizard's Finish
// converts and its Cancel gives nothing; the conversion shows "Working" with a segmented bar;
// an unreadable file gives the open message.
#include "app/dialogs/midi_import/qt_midi_import_shell.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <string>

#include "midi/import/import_midi_file.h"
#include "app/dialogs/midi_import/import_wizard.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "tests/app/dialogs/midi_import/modal_helper.h"
#include "tests/tools/recording_message_box.h"
#include "tools/gauge.h"
#include "tools/long_task_dialog.h"
#include "tools/message_box_service.h"
#include "utils/cursor_service.h"

namespace kvt {
namespace {

// One track, one middle C; `stray` puts a data byte without status before it (a warning).
std::string SmallFile(bool stray) {
  std::string track = stray ? std::string("\x00\x3C", 2) : std::string();
  track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
  std::string file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
  file += "MTrk";
  file += std::string("\x00\x00\x00", 3) + static_cast<char>(track.size());
  return file + track;
}

class QtImportShellTest : public testing::Test {
protected:
  std::string Write(const char* name, bool stray) {
    const std::string path = folder.filePath(QString::fromUtf8(name)).toStdString();
    std::ofstream(path, std::ios::binary) << SmallFile(stray);
    return path;
  }
  static void WalkWizard(bool finish) {
    test::WhenModal<TImportWizard>([finish](TImportWizard& wizard) {
      if (!finish) return QTest::mouseClick(wizard.Button(IDCANCEL), Qt::LeftButton);
      for (int i = 0; i < 4; ++i) QTest::mouseClick(wizard.Button(kWizardNextId), Qt::LeftButton);
      QTest::mouseClick(wizard.Button(IDOK), Qt::LeftButton);
    });
  }

  QTemporaryDir folder;
  test::TRecordingMessageBoxService boxes;
  TQtMidiImportShell shell{nullptr, NullCursorService()};
};

TEST_F(QtImportShellTest, TheWizardsFinishConvertsUnderTheProgressDialog) {
  const std::string path = Write("clean.mid", false);
  WalkWizard(true);
  std::unique_ptr<TMusicScore> score = ImportMidiFile(&shell, path, kImportModeWizard, nullptr);
  ASSERT_NE(score, nullptr);
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_NE(shell.ProgressDialog(), nullptr);
  EXPECT_TRUE(shell.ProgressDialog()->Bar(0)->IsLed());
  shell.EndProgress();
  EXPECT_EQ(shell.ProgressDialog(), nullptr);
}

TEST_F(QtImportShellTest, CancellingTheWizardGivesNothing) {
  const std::string path = Write("clean.mid", false);
  shell.SetUseImportWizard(true);
  WalkWizard(false);
  EXPECT_EQ(ImportMidiFile(&shell, path, 0, nullptr), nullptr);
  EXPECT_EQ(shell.ProgressDialog(), nullptr);
}

TEST_F(QtImportShellTest, WarningsAreAskedAboutAndNoGivesNothing) {
  const std::string path = Write("stray.mid", true);
  boxes.Answer(IDNO);
  EXPECT_EQ(ImportMidiFile(&shell, path, 0, nullptr), nullptr);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, QString::fromUtf8(kImportWarningsCaption));
  EXPECT_EQ(boxes.boxes[0].type & MB_TYPEMASK, MB_YESNO);
  EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONINFORMATION);
  EXPECT_FALSE(boxes.boxes[0].text.isEmpty());

  boxes.Answer(IDYES);
  EXPECT_NE(ImportMidiFile(&shell, path, 0, nullptr), nullptr);
}

TEST_F(QtImportShellTest, AnUnreadableFileSaysSoAndGivesNothing) {
  const std::string path = folder.filePath(QStringLiteral("missing.mid")).toStdString();
  EXPECT_EQ(ImportMidiFile(&shell, path, 0, nullptr), nullptr);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(QString::fromStdString("File: " + path + "\n")));
}

}  // namespace
}  // namespace kvt
