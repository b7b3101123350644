// The real-number field: stepping, reading and writing in any locale, the decimal point
// filter and the close check.
#include "tools/edit_real_number.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include <clocale>
#include <string>

#include "tests/tools/recording_message_box.h"

namespace kvt {
namespace {

class EditRealNumberTest : public testing::Test {
protected:
  TEditRealNumber& Field(float minimum, float maximum, float step, bool allowEmpty = false) {
    field = new TEditRealNumber(&dialog, minimum, maximum, step);
    field->SetAllowEmpty(allowEmpty);
    return *field;
  }
  QLineEdit& Edit() { return *field->findChild<QLineEdit*>(); }
  void Type(const char* text) { Edit().setText(QString::fromLatin1(text)); }

  QDialog dialog;
  TEditRealNumber* field = nullptr;
  test::TRecordingMessageBoxService boxes;
};

struct RealStepCase {
  float minimum, maximum, step;
  bool allowEmpty;
  const char* text;
  int direction;
  const char* expected;
};

TEST_F(EditRealNumberTest, StepsToTheNextMultipleSkippingOneTooClose) {
  const RealStepCase cases[] = {
      {0, 10, 0.5f, false, "1.2", 1, "1.5"},
      {0, 10, 0.5f, false, "1.2", -1, "1"},
      {0, 10, 0.5f, false, "1.0", 1, "1.5"},
      {0, 10, 0.5f, false, "1.0", -1, "0.5"},
      // 1.0 lies within a tenth of the step of 1.02 and is skipped.
      {0, 10, 0.5f, false, "1.02", -1, "0.5"},
      {-5, 5, 0.5f, false, "-1.2", -1, "-1.5"},
      {-5, 5, 0.5f, false, "-1.2", 1, "-1"},
      {0, 10, 0.5f, false, "9.9", 1, "10"},
      {0, 10, 0.5f, false, "0.1", -1, "0"},
      {-10, 10, 0.5f, true, "", 1, "0"},
      {2, 10, 0.5f, true, "", -1, "2"},
      {0, 10, 0, false, "3.3", 1, "3.3"},  // a step of 0 does nothing
  };
  for (const RealStepCase& c : cases) {
    TEditRealNumber& f = Field(c.minimum, c.maximum, c.step, c.allowEmpty);
    Type(c.text);
    f.Step(c.direction);
    EXPECT_EQ(f.text().toStdString(), c.expected) << c.text << " by " << c.direction;
  }
}

TEST_F(EditRealNumberTest, WritesWithoutExponentAndReadsRounded) {
  TEditRealNumber& f = Field(-1e9f, 1e9f, 1);
  const std::pair<float, const char*> written[] = {{2.5f, "2.5"},
                                                   {0.00001f, "0.00001"},
                                                   {1234567.0f, "1234567"},
                                                   {-0.25f, "-0.25"},
                                                   {0.000001f, "0"}};
  for (const auto& [value, text] : written) {
    f.SetValue(value);
    EXPECT_EQ(f.text().toStdString(), text);
  }
  Type("1.234567");
  EXPECT_FLOAT_EQ(f.GetValue(), 1.23457f);
  f.SetDecimals(2);
  EXPECT_FLOAT_EQ(f.GetValue(), 1.23f);
  Type("");
  EXPECT_EQ(f.GetValue(), kEmptyRealValue);
  Type("x");
  EXPECT_EQ(f.GetValue(), 0.0f);
}

TEST_F(EditRealNumberTest, SetValueDoesNotClampButCanCloseRefuses) {
  TEditRealNumber& f = Field(0, 10, 1);
  f.SetValue(12.5f);
  EXPECT_EQ(f.text(), "12.5");
  EXPECT_FALSE(f.CanClose());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Value is out of range");
}

TEST_F(EditRealNumberTest, CanCloseTakesOneDecimalPoint) {
  const std::pair<const char*, bool> cases[] = {{"2.5", true},    {" .5", true},   {"10", true},
                                                {"2.5.1", false}, {"1e3", false},  {"2,5", false},
                                                {"", false},      {"10.01", false}};
  TEditRealNumber& f = Field(0, 10, 1);
  for (const auto& [text, valid] : cases) {
    Type(text);
    EXPECT_EQ(f.CanClose(), valid) << text;
  }
  Type("123456789012345678901234567890");
  boxes.boxes.clear();
  EXPECT_FALSE(f.CanClose());
  EXPECT_EQ(Edit().selectedText().size(), 30);  // characters 0 to 30
}

TEST_F(EditRealNumberTest, SecondPointIsRefusedUnlessTheTypingReplacesTheFirst) {
  TEditRealNumber& f = Field(0, 10, 1);
  f.SetValue(2.5f);
  Edit().setCursorPosition(3);
  QTest::keyClick(&f, Qt::Key_Period);
  QTest::keyClick(&f, Qt::Key_A);
  EXPECT_EQ(f.text(), "2.5");
  Edit().selectAll();
  QTest::keyClick(&f, Qt::Key_Period);
  EXPECT_EQ(f.text(), ".");
  QTest::keyClicks(&f, "75");
  EXPECT_EQ(f.text(), ".75");
}

// The text is read and written in the "C" manner whatever the user's locale.
TEST_F(EditRealNumberTest, GermanLocaleChangesNothing) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const QLocale savedQt;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TEditRealNumber& f = Field(0, 10, 0.5f);
  f.SetValue(1.5f);
  EXPECT_EQ(f.text(), "1.5");
  Type("2.25");
  EXPECT_FLOAT_EQ(f.GetValue(), 2.25f);
  f.Step(1);
  EXPECT_EQ(f.text(), "2.5");
  EXPECT_TRUE(f.CanClose());
  QLocale::setDefault(savedQt);
  std::setlocale(LC_ALL, saved.c_str());
  if (!german) GTEST_SKIP() << "de_DE.UTF-8 is not installed; checked with Qt's locale only";
}

}  // namespace
}  // namespace kvt
