// The integer field: stepping, clamping, reading, typed-character filter and the close check.
#include "tools/edit_number.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <climits>

#include "tests/tools/recording_message_box.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

class EditNumberTest : public testing::Test {
protected:
  EditNumberTest() { dialog.setWindowTitle(QStringLiteral("Staff Properties")); }

  TEditNumber& Field(int32_t minimum, int32_t maximum, int32_t step, bool allowEmpty = false) {
    field = new TEditNumber(&dialog, minimum, maximum, step);
    field->SetAllowEmpty(allowEmpty);
    field->setWindowTitle(QStringLiteral("Tempo"));
    return *field;
  }
  QLineEdit& Edit() { return *field->findChild<QLineEdit*>(); }
  void Type(const QString& text) { Edit().setText(text); }

  QDialog dialog;
  TEditNumber* field = nullptr;
  test::TRecordingMessageBoxService boxes;
};

struct StepCase {
  int32_t minimum, maximum, step;
  bool allowEmpty;
  const char* text;
  int direction;
  const char* expected;
};

TEST_F(EditNumberTest, StepsToTheNextMultipleOfTheStepWithinTheRange) {
  const StepCase cases[] = {
      {1, 100, 5, false, "12", 1, "15"},
      {1, 100, 5, false, "12", -1, "10"},
      {1, 100, 5, false, "15", 1, "20"},
      {1, 100, 5, false, "15", -1, "10"},
      // The remainder of a negative value is negative.
      {-50, 50, 5, false, "-3", 1, "5"},
      {-50, 50, 5, false, "-3", -1, "-5"},
      {1, 100, 5, false, "100", 1, "100"},
      {1, 100, 5, false, "3", -1, "1"},
      // Empty: 0 when the range spans it, else the minimum; a field without the empty state
      // goes to its minimum both ways.
      {-10, 10, 1, true, "", 1, "0"},
      {-10, 10, 1, true, "", -1, "0"},
      {1, 10, 1, true, "", -1, "1"},
      {1, 10, 3, false, "", 1, "1"},
      {1, 10, 3, false, "", -1, "1"},
      // The ends of the 32-bit range step without overflow.
      {INT32_MIN, 0, 5, false, "-2147483648", -1, "-2147483648"},
      {0, INT32_MAX, 5, false, "2147483647", 1, "2147483647"},
  };
  for (const StepCase& c : cases) {
    TEditNumber& f = Field(c.minimum, c.maximum, c.step, c.allowEmpty);
    Type(QString::fromLatin1(c.text));
    f.Step(c.direction);
    EXPECT_EQ(f.text().toStdString(), c.expected)
        << c.text << " by " << c.direction << " in " << c.minimum << ".." << c.maximum;
  }
}

TEST_F(EditNumberTest, StepBelowOneIsOne) {
  TEditNumber& f = Field(0, 10, 0);
  EXPECT_EQ(f.StepSize(), 1);
  f.SetStep(-4);
  EXPECT_EQ(f.StepSize(), 1);
}

TEST_F(EditNumberTest, SetValueClampsAndHandlesTheEmptyMarker) {
  TEditNumber& f = Field(0, 127, 1);
  f.SetValue(1000);
  EXPECT_EQ(f.text(), "127");
  f.SetValue(-5);
  EXPECT_EQ(f.text(), "0");
  f.SetValue(kEmptyIntValue);
  EXPECT_EQ(f.text(), "0");  // the empty state is not allowed
  f.SetAllowEmpty(true);
  f.SetValue(kEmptyIntValue);
  EXPECT_EQ(f.text(), "");
  EXPECT_EQ(f.GetValue(), kEmptyIntValue);
  f.SetValue(64);
  EXPECT_EQ(Edit().cursorPosition(), 0);
  EXPECT_FALSE(Edit().hasSelectedText());
}

TEST_F(EditNumberTest, GetValueReadsTheLeadingInteger) {
  const std::pair<const char*, int32_t> cases[] = {{"12abc", 12}, {"  -7", -7}, {"+9", 9},
                                                   {"abc", 0},    {"-", 0},     {"1 2", 1}};
  TEditNumber& f = Field(-100, 100, 1);
  for (const auto& [text, value] : cases) {
    Type(QString::fromLatin1(text));
    EXPECT_EQ(f.GetValue(), value) << text;
  }
}

TEST_F(EditNumberTest, TypingKeepsOnlyDigitsSignsAndControlCharacters) {
  TEditNumber& f = Field(-1000, 1000, 1);
  f.setFocus();
  QTest::keyClicks(&f, "1x2.a-+3 ");
  EXPECT_EQ(f.text(), "12-+3");
  QTest::keyClick(&f, Qt::Key_Backspace);
  EXPECT_EQ(f.text(), "12-+");
  // Ctrl+A is a command, not a typed letter.
  QTest::keyClick(&f, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Edit().selectedText(), "12-+");
}

TEST_F(EditNumberTest, TextIsLimitedToSevenCharacters) {
  TEditNumber& f = Field(0, 100, 1);
  QTest::keyClicks(&f, "1234567890");
  EXPECT_EQ(f.text(), "1234567");
}

TEST_F(EditNumberTest, ArrowKeysAndWheelStepButPageKeysDoNot) {
  TEditNumber& f = Field(0, 100, 10);
  f.SetValue(50);
  QTest::keyClick(&f, Qt::Key_Up);
  EXPECT_EQ(f.text(), "60");
  QTest::keyClick(&f, Qt::Key_Down);
  QTest::keyClick(&f, Qt::Key_Down);
  EXPECT_EQ(f.text(), "40");
  QTest::keyClick(&f, Qt::Key_PageUp);
  QTest::keyClick(&f, Qt::Key_PageDown);
  QTest::keyClick(&f, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(f.text(), "50");  // Ctrl adds nothing to the step

  const QPointF at(5, 5);
  QWheelEvent away(at, f.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(&f, &away);
  EXPECT_EQ(f.text(), "60");
  QWheelEvent toward(at, f.mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
  QApplication::sendEvent(&f, &toward);
  QApplication::sendEvent(&f, &toward);
  EXPECT_EQ(f.text(), "40");
  // The spin arrows step through the same path.
  f.stepBy(1);
  EXPECT_EQ(f.text(), "50");
}

TEST_F(EditNumberTest, CanCloseAcceptsOnlyNumberTextsInRange) {
  const std::pair<const char*, bool> cases[] = {
      {"50", true},   {" 5", true},   {"50 ", true},    {"+1", true},   {"100", true},
      {"0", false},   {"101", false}, {"12abc", false}, {"   ", false}, {"-", false},
      {"1 2", false}, {"", false},    {"1.5", false}};
  TEditNumber& f = Field(1, 100, 1);
  for (const auto& [text, valid] : cases) {
    Type(QString::fromLatin1(text));
    boxes.boxes.clear();
    EXPECT_EQ(f.CanClose(), valid) << '"' << text << '"';
    EXPECT_EQ(boxes.boxes.size(), valid ? 0u : 1u) << text;
  }
}

TEST_F(EditNumberTest, RefusalTellsTheUserAndSelectsTheText) {
  TEditNumber& f = Field(1, 100, 1);
  dialog.show();
  Type(QStringLiteral("12abc"));
  EXPECT_FALSE(f.CanClose());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  const test::TRecordedBox& box = boxes.boxes[0];
  EXPECT_EQ(box.text, "Value is out of range");
  EXPECT_EQ(box.caption, "Tempo");
  EXPECT_EQ(box.type, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(box.owner, &dialog);
  EXPECT_EQ(Edit().selectedText(), "12abc");
  EXPECT_EQ(dialog.focusWidget(), &f);
}

TEST_F(EditNumberTest, EmptyAndDisabledFieldsMayClose) {
  TEditNumber& f = Field(1, 100, 1, true);
  Type(QString());
  EXPECT_TRUE(f.CanClose());
  Type(QStringLiteral("junk"));
  f.setEnabled(false);
  EXPECT_TRUE(f.CanClose());
  EXPECT_TRUE(f.IsPowerOfTwoValid());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditNumberTest, PowerOfTwoCheck) {
  TEditNumber& f = Field(1, 100, 1);
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"2", true, ""},
      {"64", true, ""},
      {"16", true, ""},
      {"1", false, "Value is not valid"},
      {"12", false, "Value is not valid"},
      {"128", false, "Value is out of range"}};
  for (const auto& [text, valid, message] : cases) {
    Type(QString::fromLatin1(text));
    boxes.boxes.clear();
    EXPECT_EQ(f.IsPowerOfTwoValid(), valid) << text;
    if (!valid) {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text.toStdString(), message);
    }
  }
}

TEST_F(EditNumberTest, LimitsChangeWithoutTouchingTheText) {
  TEditNumber& f = Field(0, 100, 1);
  f.SetValue(80);
  f.SetRangeAndStep(0, 50, 7);
  EXPECT_EQ(f.text(), "80");
  EXPECT_EQ(f.StepSize(), 7);
}

}  // namespace
}  // namespace kvt
