// The dialogs' combo boxes: numbers, menus, the three transfer modes, the range check at close
// and the colour swatches.
#include "tools/combo_box.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>

#include "tests/tools/recording_message_box.h"
#include "tools/color_combo_box.h"

namespace kvt {
namespace {

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

TEST(ComboBox, AddNumbersIncludesTheEndAndRefusesAStepBelowOne) {
  TKRVComboBox box(nullptr, false, 0);
  box.AddNumbers(2, 10, 4);
  EXPECT_EQ(Items(box), QStringList({"2", "6", "10"}));
  box.AddNumbers(1, 5, 0);
  box.AddNumbers(1, 5, -2);
  EXPECT_EQ(box.count(), 3);
  box.clear();
  box.AddNumbers(INT32_MAX - 1, INT32_MAX, 1);  // no overflow past the end
  EXPECT_EQ(box.count(), 2);
}

TEST(ComboBox, FillFromMenuSkipsSeparatorsAndKeepsListForAnEmptyMenu) {
  TKRVComboBox box(nullptr, false, 0);
  box.addItem("kept");
  QMenu empty;
  box.FillFromMenu(empty);
  EXPECT_EQ(Items(box), QStringList({"kept"}));
  QMenu menu;
  menu.addAction("&Whole");
  menu.addSeparator();
  menu.addAction(QString(80, 'x'));
  box.FillFromMenu(menu);
  EXPECT_EQ(Items(box), QStringList({"&Whole", QString(63, 'x')}));
}

TEST(ComboBox, InitialItemsAreAddedWhenShownAndSetIndexMode) {
  TKRVComboBox box(nullptr, false, 0, std::vector<std::string>{"Ein", "Zwei", "Dr\xC3\xA9i"});
  EXPECT_EQ(box.TransferMode(), TKRVComboBox::kTransferIndex);
  EXPECT_EQ(box.count(), 0);
  box.show();
  EXPECT_EQ(Items(box), QStringList({"Ein", "Zwei", QString::fromUtf8("Dr\xC3\xA9i")}));
  box.TransferSet(2);
  EXPECT_EQ(box.TransferGet(), 2);
  box.TransferSet(9);  // beyond the list: nothing selected
  EXPECT_EQ(box.TransferGet(), -1);
}

TEST(ComboBox, NumberModeClampsReadsAndValidates) {
  TKRVComboBox box(nullptr, true, 0);
  box.AddNumbers(8, 72, 8);
  box.SetNumberRange(1, 100);
  box.SetNumber(500);
  EXPECT_EQ(box.currentText(), "100");  // no such item: the edit field holds it
  box.TransferSet(16);
  EXPECT_EQ(box.currentIndex(), 1);
  EXPECT_EQ(box.TransferGet(), 16);
  struct Case {
    const char* text;
    bool valid;
    int number;
  } cases[] = {{"12", true, 12},  {" 7 ", true, 7},
               {"abc", false, 0}, {"12abc", false, 12},
               {"0", false, 0},   {"101", false, 101},
               {"1.5", false, 1}, {"1234567890123", false, 123456789}};
  for (const Case& c : cases) {
    box.setEditText(c.text);
    EXPECT_EQ(box.IsNumberValid(), c.valid) << c.text;
    EXPECT_EQ(box.GetNumber(), c.number) << c.text;
  }
}

TEST(ComboBox, OutOfRangeNumberKeepsTheDialogOpenAndTakesTheFocus) {
  test::TRecordingMessageBoxService boxes;
  QDialog dialog;
  dialog.setWindowTitle("Options");
  TKRVComboBox combo(&dialog, true, 0);
  combo.setWindowTitle("Tempo");
  combo.SetNumberRange(1, 100);
  dialog.show();
  combo.setEditText("abc");
  EXPECT_FALSE(combo.CanClose());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Value is out of range");
  EXPECT_EQ(boxes.boxes[0].caption, "Tempo");
  EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_EQ(boxes.boxes[0].owner, &dialog);
  EXPECT_TRUE(combo.hasFocus() || dialog.focusWidget() == &combo);
  combo.setEditText("50");
  EXPECT_TRUE(combo.CanClose());
  combo.SetTransferMode(TKRVComboBox::kTransferIndex);
  combo.setEditText("abc");
  EXPECT_TRUE(combo.CanClose());
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST(ColorComboBox, ItemsCarryTheirColourReferences) {
  TKVColorComboBox box(nullptr);
  box.AddColor("Red", 0x0000FF);
  box.AddColor("Blue", 0xFF0000);
  EXPECT_EQ(box.ItemColor(1), 0xFF0000u);
  EXPECT_EQ(ColorFromRef(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromRef(0x336699), QColor(0x99, 0x66, 0x33));
}

}  // namespace
}  // namespace kvt
