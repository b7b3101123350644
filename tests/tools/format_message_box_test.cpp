#include "tools/format_message_box.h"

#include "tests/tools/recording_message_box.h"
#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include <string>

namespace kvt {
namespace {

class FormatMessageBoxTest : public testing::Test {
protected:
  test::TRecordingMessageBoxService boxes;
};

TEST_F(FormatMessageBoxTest, BoxOfAControlIsOwnedByItsCaptionedWindow) {
  QWidget window;
  auto* frame = new QWidget(&window);
  auto* edit = new QLineEdit(frame);
  boxes.Answer(IDNO);
  EXPECT_EQ(FormatMessageBox(edit, MB_YESNO, "Warning", "%d of %s", 3, "four"), IDNO);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, &window);
  EXPECT_EQ(boxes.boxes[0].type, MB_YESNO);
  EXPECT_EQ(boxes.boxes[0].caption, "Warning");
  EXPECT_EQ(boxes.boxes[0].text, "3 of four");
}

TEST_F(FormatMessageBoxTest, BoxWithoutWindowIsTaskModal) {
  EXPECT_EQ(FormatMessageBox(nullptr, MB_OKCANCEL | MB_DEFBUTTON2, nullptr, "x"), IDCANCEL);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(boxes.boxes[0].hadOwner);
  EXPECT_EQ(boxes.boxes[0].type, MB_OKCANCEL | MB_DEFBUTTON2 | MB_TASKMODAL);
  EXPECT_EQ(boxes.boxes[0].caption, "");
}

TEST_F(FormatMessageBoxTest, LongTextIsCutOnACharacterBoundary) {
  // 1022 bytes and a two-byte character: the cut at 1023 bytes would split it.
  const std::string text = std::string(1022, 'a') + "\xC3\xA9" + "tail";
  FormatMessageBox(nullptr, MB_OK, "c", "%s", text.c_str());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QString(1022, 'a'));
}

TEST_F(FormatMessageBoxTest, InformationBoxHasItsCaptionAndIcon) {
  QWidget window;
  EXPECT_EQ(InformationBox(&window, "Saved %s", "score.kvt"), IDOK);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].owner, &window);
  EXPECT_EQ(boxes.boxes[0].type, MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(boxes.boxes[0].caption, "Information");
  EXPECT_EQ(boxes.boxes[0].text, "Saved score.kvt");
}

TEST_F(FormatMessageBoxTest, InformationBoxNeedsAWindowAndAFormat) {
  QWidget window;
  const struct {
    QWidget* window;
    const char* format;
    const char* expression;
  } cases[] = {{nullptr, "x", "p"}, {&window, nullptr, "format"}};
  for (const auto& c : cases) {
    try {
      InformationBox(c.window, c.format);
      ADD_FAILURE() << "no precondition error for " << c.expression;
    } catch (const TPreconditionError& error) {
      EXPECT_EQ(error.Expression(), c.expression);
    }
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FormatMessageBoxTest, AppInformationBoxIsOwnedByTheMainWindowWhenThereIsOne) {
  AppInformationBox("first");
  QWidget main;
  GetKVAppBase()->SetMainWindow(&main);
  AppInformationBox("second");
  GetKVAppBase()->SetMainWindow(nullptr);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_FALSE(boxes.boxes[0].hadOwner);
  EXPECT_EQ(boxes.boxes[0].type, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
  EXPECT_EQ(boxes.boxes[1].owner, &main);
  EXPECT_EQ(boxes.boxes[1].type, MB_OK | MB_ICONINFORMATION);
}

}  // namespace
}  // namespace kvt
