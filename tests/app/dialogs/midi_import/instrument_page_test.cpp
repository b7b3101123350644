// The instrument page and the "Instrument Tree" dialog: mixed values show as empty fields and
// partly checked boxes and survive an untouched page; what the user changes reaches every
// definition; picking a tree node fills the values with what the node and its groups define.
#include "app/dialogs/midi_import/instrument_page.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>

#include "midi/import/instrument_tree_store.h"
#include "midi/import/instrument_values.h"
#include "app/dialogs/midi_import/patch_list_dialog.h"
#include "notation/context/instrument_def.h"
#include "tests/app/dialogs/midi_import/modal_helper.h"
#include "tools/edit_number.h"
#include "tools/krv_edit.h"
#include "tools/message_box_service.h"
#include "tools/property_dialog.h"
#include "tools/tree_list_box.h"

namespace kvt {
namespace {

// A property dialog with OK and Cancel buttons.
class TPageDialog : public TKVPropertyDialog {
public:
  TPageDialog() : TKVPropertyDialog(nullptr, 900, 0) { resize(480, 380); }
};

const TInstrumentTreeItem* FindNamed(const TInstrumentTreeItem& node, const std::string& name) {
  if (node.name == name) return &node;
  for (const auto& child : node.children)
    if (const TInstrumentTreeItem* found = FindNamed(*child, name)) return found;
  return nullptr;
}

class InstrumentPageTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    // The root gives every instrument bank 0, 0; the group Strings the velocities.
    std::ofstream file(folder.filePath(QStringLiteral("Default.kvtitree")).toStdString());
    file << "# test tree\n"
            "\\=Bank(0,0)\n"
            "Piano=0\n"
            "\\Strings=DynVel(20,30,40,50,60,70,80,90)\n"
            "Violin=40 Trans(12)\n"
            "Cello=42 BendRange(12)\n";
  }

  QTemporaryDir folder;
  TInstrumentTreeStore store{nullptr, folder.path().toStdString()};
};

TEST_F(InstrumentPageTest, MixedValuesSurviveAnUntouchedPageAndEditsReachEveryDefinition) {
  TInstrumentDef first;
  first.SetName(u"Flute");
  first.SetPatch(1);
  first.SetDynamicVelocity(4, 70);
  TInstrumentDef second = first;
  second.SetPatch(5);
  second.SetName(u"Oboe");
  TInstrumentValues values;
  GatherInstrumentValues(values, first);
  GatherInstrumentValues(values, second);

  TPageDialog dialog;
  std::unique_ptr<TNtnPropInstrumentPage> page = AddInstrumentPropPage(dialog, values, &store);
  ASSERT_NE(page, nullptr);
  dialog.Create();
  ASSERT_TRUE(page->HasWindow());
  EXPECT_EQ(page->Patch()->text(), QString());
  EXPECT_EQ(page->SendPatch()->checkState(), Qt::Checked);
  EXPECT_EQ(page->Name()->text(), QString());
  EXPECT_EQ(page->Velocity(4)->text(), QStringLiteral("70"));

  // The user changes one velocity only.
  page->Velocity(4)->selectAll();
  QTest::keyClicks(page->Velocity(4), "99");
  dialog.PressOk();
  EXPECT_EQ(values.patch, kInstrumentMixed);
  EXPECT_EQ(values.velocities[4], 99);

  ApplyInstrumentValues(values, first);
  ApplyInstrumentValues(values, second);
  EXPECT_EQ(first.GetPatch(), 1);
  EXPECT_EQ(second.GetPatch(), 5);
  EXPECT_EQ(std::u16string(first.GetName()), u"Flute");
  EXPECT_EQ(std::u16string(second.GetName()), u"Oboe");
  EXPECT_EQ(first.GetDynamicVelocity(4), 99);
  EXPECT_EQ(second.GetDynamicVelocity(4), 99);
}

TEST_F(InstrumentPageTest, NoPageWithoutAGatheredDefinition) {
  TInstrumentValues values;
  TPageDialog dialog;
  EXPECT_EQ(AddInstrumentPropPage(dialog, values, &store), nullptr);
  EXPECT_EQ(dialog.GetPageCount(), 0);
}

TEST_F(InstrumentPageTest, TheTreeDialogOpensOnTheMatchAndOkFillsTheValuesFromThePath) {
  TInstrumentValues values;
  values.name = u"cello";  // matched ignoring case
  values.bendState = 1;
  values.bendRange = 2;
  values.count = 1;
  TKVPatchListDlg dialog(nullptr, values, store);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Instrument Tree - Default"));
  ASSERT_NE(dialog.SelectedNode(), nullptr);
  EXPECT_EQ(dialog.SelectedNode()->name, "Cello");
  // Its group is open: Piano, Strings, Violin, Cello.
  EXPECT_EQ(dialog.Tree()->count(), 4);

  // Cancel leaves the values alone.
  dialog.reject();
  EXPECT_EQ(values.name, u"cello");

  ASSERT_TRUE(dialog.SelectNode(FindNamed(dialog.TreeRoot(), "Violin")));
  dialog.accept();
  EXPECT_EQ(values.name, u"Violin");
  EXPECT_EQ(values.sendPatch, 1);
  EXPECT_EQ(values.patch, 40);
  EXPECT_EQ(values.sendBank, 1);
  EXPECT_EQ(values.bankMSB, 0);
  EXPECT_EQ(values.bankLSB, 0);
  EXPECT_EQ(values.velocities[0], 20);
  EXPECT_EQ(values.velocities[7], 90);
  EXPECT_EQ(values.transposition, 12);
  // Nothing on Violin's path defines a bend range: the values keep theirs.
  EXPECT_EQ(values.bendState, 1);
  EXPECT_EQ(values.bendRange, 2);
}

// The tree dialog with the file choice scripted.
class TChosenListDlg : public TKVPatchListDlg {
public:
  using TKVPatchListDlg::TKVPatchListDlg;
  std::string choice;

protected:
  std::string ChooseTreeFile() override { return choice; }
};

TEST_F(InstrumentPageTest, ChangeListLoadsTheChosenTreeAsTheCurrentOne) {
  const std::string other = folder.filePath(QStringLiteral("Other.kvtitree")).toStdString();
  std::ofstream(other) << "Brass=1\nHorn=60\n";
  TInstrumentValues values;
  values.sendPatch = 1;
  values.patch = 60;
  values.count = 1;
  TChosenListDlg dialog(nullptr, values, store);
  dialog.ChangeList();  // cancelled: the tree stays
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Instrument Tree - Default"));
  dialog.choice = other;
  dialog.ChangeList();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Instrument Tree - Other"));
  EXPECT_EQ(store.GetCurrentPath(), other);
  // The match is searched in the new tree: the patch finds Horn.
  ASSERT_NE(dialog.SelectedNode(), nullptr);
  EXPECT_EQ(dialog.SelectedNode()->name, "Horn");
}

TEST_F(InstrumentPageTest, PredefinedInstrumentsFillThePageFromThePickedNode) {
  TInstrumentDef definition;
  definition.SetName(u"Lead");
  definition.SetPatch(80);
  TInstrumentValues values;
  GatherInstrumentValues(values, definition);
  TPageDialog dialog;
  std::unique_ptr<TNtnPropInstrumentPage> page = AddInstrumentPropPage(dialog, values, &store);
  dialog.Create();
  ASSERT_TRUE(page->HasWindow());

  test::WhenModal<TKVPatchListDlg>([](TKVPatchListDlg& tree) {
    ASSERT_TRUE(tree.SelectNode(FindNamed(tree.TreeRoot(), "Cello")));
    QTest::mouseClick(tree.Control(IDOK), Qt::LeftButton);
  });
  page->PickPredefined();
  EXPECT_EQ(page->Name()->text(), QStringLiteral("Cello"));
  EXPECT_EQ(page->Patch()->text(), QStringLiteral("42"));
  EXPECT_EQ(page->Velocity(0)->text(), QStringLiteral("20"));
  dialog.PressOk();
  ApplyInstrumentValues(values, definition);
  EXPECT_EQ(definition.GetPatch(), 42);
  EXPECT_EQ(definition.GetBendRange(), 12);
  EXPECT_EQ(std::u16string(definition.GetName()), u"Cello");
}

}  // namespace
}  // namespace kvt
