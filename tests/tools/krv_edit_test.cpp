// The plain edit field: its text limit binds typing only, formatted texts, cuts on character
// boundaries and the option that keeps a tabbed-into text unselected.
#include "tools/krv_edit.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QFocusEvent>
#include <QTest>

#include "tools/edit_number.h"

namespace kvt {
namespace {

TEST(KrvEditTest, LimitBindsTypingButNotTheProgram) {
  TKRVEdit edit(nullptr, 4);
  QTest::keyClicks(&edit, "abcdef");
  EXPECT_EQ(edit.text(), "abcd");
  edit.SetTextf("%s-%d", "longer", 12345);
  EXPECT_EQ(edit.text(), "longer-12345");
}

TEST(KrvEditTest, GetTextCutsOnCharacterBoundaries) {
  TKRVEdit edit(nullptr, 0);
  edit.setText(QStringLiteral(u"aé♯b"));
  EXPECT_EQ(edit.GetText(2), "a");
  EXPECT_EQ(edit.GetText(3), "a\xC3\xA9");
  EXPECT_EQ(edit.GetText(5), "a\xC3\xA9");
  EXPECT_EQ(edit.GetText(100),
            "a\xC3\xA9\xE2\x99\xAF"
            "b");
  edit.SetTextf(nullptr);
  EXPECT_EQ(edit.text(), "");
}

TEST(KrvEditTest, NoSelectOnTabKeepsTheTextUnselected) {
  for (bool keep : {false, true}) {
    QDialog dialog;
    auto* edit = new TKRVEdit(&dialog, 0);
    auto* number = new TEditNumber(&dialog, 0, 100, 1);
    number->SetValue(42);
    edit->setText(QStringLiteral("text"));
    if (keep) {
      edit->SetOption(kEditNoSelectOnTab);
      number->SetOption(kEditNoSelectOnTab);
    }
    EXPECT_EQ(edit->HasOption(kEditNoSelectOnTab), keep);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &in);
    EXPECT_EQ(edit->hasSelectedText(), !keep);
    QApplication::sendEvent(number, &in);
    EXPECT_EQ(number->findChild<QLineEdit*>()->hasSelectedText(), !keep);
  }
}

TEST(KrvEditTest, FixedFontOption) {
  TKRVEdit edit(nullptr, 0);
  edit.SetOption(kEditFixedFont);
  EXPECT_TRUE(QFontInfo(edit.font()).fixedPitch());
  edit.ClearOption(kEditFixedFont);
  EXPECT_FALSE(edit.HasOption(kEditFixedFont));
}

}  // namespace
}  // namespace kvt
