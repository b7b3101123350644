// The string-table message boxes.

#include "app/shell/mbl_message.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "app/string_table.h"
#include "tests/tools/recording_message_box.h"

namespace kvt {
namespace {

TEST(MblMessageTest, CaptionAndTextFromTheTableFilledWithArguments) {
  test::TRecordingMessageBoxService boxes;
  QWidget window;
  window.setWindowTitle("w");
  QWidget child(&window);
  boxes.Answer(IDOK);
  EXPECT_EQ(MBLMessage(&child, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrUnknownFileType,
                       "/a/song.xyz", "xyz"),
            IDOK);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "File Open");
  EXPECT_EQ(boxes.boxes[0].text,
            "File: /a/song.xyz\n\nTarlowmede Razadove does not recognize the file type 'xyz', "
            "so it is unable to open the file.");
  EXPECT_EQ(boxes.boxes[0].owner, &window);  // the captioned ancestor owns it
}

TEST(MblMessageTest, MissingStringsShowNothing) {
  test::TRecordingMessageBoxService boxes;
  EXPECT_EQ(MBLMessage(nullptr, MB_OK, 1, kStrFileOpen), 0);                      // no caption
  EXPECT_EQ(MBLMessageN(nullptr, MB_OK, kStrFileOpen, kStrFileLoadError, 2), 0);  // 8200 missing
  EXPECT_EQ(MBLMessageN(nullptr, MB_OK, kStrFileOpen, kStrFileLoadError, 0), 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(MblMessageTest, PiecesAreJoinedAndLongTextsAreNotCut) {
  test::TRecordingMessageBoxService boxes;
  const std::string name(3000, 'n');
  MBLMessageN(nullptr, MB_YESNO, kStrFileSave, kStrFileLoadError, 1, name.c_str());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text.toStdString(),
            "File: " + name + "\n\nAn error was detected while loading the file.");
  EXPECT_EQ(boxes.boxes[0].type & MB_TASKMODAL, MB_TASKMODAL);  // no owner: task-modal
  // Two consecutive ids make one text.
  MBLMessageN(nullptr, MB_OK, kStrFileOpen, kStrFileNotLoadable, 2, "a", "b");
  EXPECT_EQ(boxes.boxes[1].text.toStdString(),
            "File: a\n\nThis file cannot be loaded into this application"
            "Warning for File: b\n\nThis song was last saved using an older KVT file format. If "
            "you save this file now, the original version will no longer be able to open "
            "it.\n\nProceed?");
}

}  // namespace
}  // namespace kvt
