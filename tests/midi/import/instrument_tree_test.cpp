#include "midi/import/instrument_tree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "midi/import/instrument_tree_store.h"
#include "midi/import/instrument_values.h"
#include "notation/context/instrument_def.h"
#include "notation/items/patch_data.h"
#include "tests/utils/ini_test_env.h"
#include "utils/flat_ram_stream.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

std::unique_ptr<TInstrumentTreeItem> Read(std::string text) {
  TKRVFlatRamStream stream(text.data(), static_cast<int>(text.size()),
                           static_cast<int>(text.size()));
  return ReadInstrumentTree(stream, "Tree");
}

const TInstrumentTreeItem* Child(const TInstrumentTreeItem& node, const char* name) {
  return node.FindChild(name);
}

TEST(InstrumentTree, DefinitionKeywords) {
  struct Case {
    const char* definition;
    uint8_t flags;
    int patch;
    int bankMSB;
    int velocity7;
    int transposition;
    int bend;
  };
  const Case cases[] = {
      {"1 DynVel(20,30,40,50,60,70,80,90)", kTreePatch | kTreeVelocities, 1, 0, 90, 0, 0},
      {"BendRange(1)", 0, 0, 0, 0, 0, 0},
      {"BendRange(12)", kTreeBendRange, 0, 0, 0, 0, 12},
      {"Trans(-2) 5", kTreeTransposition, 0, 0, 0, -2, 0},
      {"Bank( 3 , 4 ) Bank(5,6)", kTreeBank, 0, 3, 0, 0, 0},
      // Numbers outside the page's ranges, or that do not parse, define nothing.
      {"300 Bank(300,0) Trans(121) BendRange(25)", 0, 0, 0, 0, 0, 0},
      {"Bank(1,x) DynVel(1,2,3) Trans()", 0, 0, 0, 0, 0, 0},
      {"127", kTreePatch, 127, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.definition);
    TInstrumentTreeItem item;
    ParseInstrumentDefinition(c.definition, item);
    EXPECT_EQ(item.flags, c.flags);
    EXPECT_EQ(item.patch, c.patch);
    EXPECT_EQ(item.bankMSB, c.bankMSB);
    EXPECT_EQ(item.velocities[7], c.velocity7);
    EXPECT_EQ(item.transposition, c.transposition);
    EXPECT_EQ(item.bendRange, c.bend);
  }
}

TEST(InstrumentTree, GroupsNestAndInherit) {
  auto root = Read(
      "# comment\n\\=Bank(0,0)\n\n\\Strings\nViolin=41\n\\Strings\\Solo=Trans(2)\n"
      "Viola=42 Bank(1,2)\n\\Winds\nFlute=73\n");
  EXPECT_EQ(root->name, "Tree");
  EXPECT_TRUE(root->Defines(kTreeBank));
  const TInstrumentTreeItem* strings = Child(*root, "Strings");
  ASSERT_NE(strings, nullptr);
  const TInstrumentTreeItem* violin = Child(*strings, "Violin");
  ASSERT_NE(violin, nullptr);
  EXPECT_EQ(violin->patch, 41);
  EXPECT_EQ(violin->FindDefining(kTreeBank), root.get());
  const TInstrumentTreeItem* viola = Child(*Child(*strings, "Solo"), "Viola");
  ASSERT_NE(viola, nullptr);
  EXPECT_EQ(viola->FindDefining(kTreeBank), viola);
  EXPECT_EQ(viola->FindDefining(kTreeTransposition)->transposition, 2);
  EXPECT_NE(Child(*Child(*root, "Winds"), "Flute"), nullptr);
}

TEST(InstrumentTree, MalformedLinesEndTheReadingKeepingWhatCameBefore) {
  struct Case {
    const char* text;
    const char* kept;
    const char* lost;
  };
  const Case cases[] = {
      {"Piano=1\n-Bad=2\nOrgan=3\n", "Piano", "Organ"},
      {"\\Strings\nViolin=41\n\\Strings=Trans(1)\nViola=42\n", "Strings", "Viola"},
      {"Piano=1\n\\Group\\-x\nOrgan=3\n", "Piano", "Organ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto root = Read(c.text);
    bool kept = false;
    bool lost = false;
    std::function<void(const TInstrumentTreeItem&)> walk = [&](const TInstrumentTreeItem& n) {
      kept = kept || n.name == c.kept;
      lost = lost || n.name == c.lost;
      for (const auto& child : n.children) walk(*child);
    };
    walk(*root);
    EXPECT_TRUE(kept);
    EXPECT_FALSE(lost);
  }
}

TEST(InstrumentTree, ALongLineIsCutAndItsRestIsNoLine) {
  const std::string longName(600, 'a');
  auto root = Read(longName + "=5 " + std::string(100, 'b') + "\nNext=7\n");
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(root->children[0]->name.size(), 511u);
  EXPECT_EQ(root->children[1]->name, "Next");
  // A cut inside a two-byte character keeps whole characters.
  auto accented = Read(std::string(510, 'a') + "\xC3\xA9" + "\n");
  ASSERT_EQ(accented->children.size(), 1u);
  EXPECT_EQ(accented->children[0]->name, std::string(510, 'a'));
}

TEST(InstrumentTree, EmptyOrMissingFilesGiveTheInvalidRoot) {
  EXPECT_EQ(Read("")->name, kInvalidTreeName);
  EXPECT_EQ(Read("# only a comment\n")->name, kInvalidTreeName);
  EXPECT_EQ(ReadInstrumentTreeFile("/nonexistent/x.kvtitree")->name, kInvalidTreeName);
}

TEST(InstrumentTree, FindPrefersExactNameThenCaseThenPatch) {
  auto root = Read("\\A\nviolin=40\nCello=42\n\\B\nViolin=41\nNoPatch=\n");
  struct Case {
    const char16_t* name;
    int patch;
    const char* found;  // name of the node found, or "" for none
    int foundPatch;
  };
  const Case cases[] = {
      {u"Violin", -1, "Violin", 41}, {u"VIOLIN", -1, "violin", 40}, {u"Unknown", 42, "Cello", 42},
      {u"Unknown", 99, "", 0},       {u"NoPatch", -1, "", 0},
  };
  for (const Case& c : cases) {
    TInstrumentDef def;
    def.SetName(c.name);
    if (c.patch >= 0) def.SetPatch(c.patch);
    const TInstrumentTreeItem* found = FindInstrumentNode(*root, def);
    if (!*c.found) {
      EXPECT_EQ(found, nullptr);
      continue;
    }
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->name, c.found);
    EXPECT_EQ(found->patch, c.foundPatch);
  }
}

TEST(InstrumentTree, TheShippedDefaultTreeReads) {
  auto root = ReadInstrumentTreeFile(KVT_SOURCE_DIR "/resources/Default.kvtitree");
  EXPECT_EQ(root->name, "Default");
  TInstrumentDef violin;
  violin.SetName(u"Violin");
  const TInstrumentTreeItem* node = FindInstrumentNode(*root, violin);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->patch, 40);
  TInstrumentValues values;
  FillValuesFromTreeNode(*node, values);
  EXPECT_EQ(values.sendPatch, 1);
  EXPECT_EQ(values.sendBank, 1);  // from the root
  EXPECT_EQ(values.name, u"Violin");
}

TEST(InstrumentValues, GatherMarksMixedValuesAndApplyKeepsThem) {
  TPatchData first;
  first.GetInstrument().SetPatch(1);
  first.GetInstrument().SetName(u"Lead");
  first.GetInstrument().SetTransposition(2);
  TPatchData second;
  second.GetInstrument().SetPatch(5);
  second.GetInstrument().SetName(u"Lead");
  second.GetInstrument().SetTransposition(2);
  second.GetInstrument().SetBendRange(12);
  TInstrumentValues values;
  ASSERT_TRUE(GatherInstrumentValues(values, first));
  ASSERT_TRUE(GatherInstrumentValues(values, second));
  EXPECT_EQ(values.count, 2);
  EXPECT_EQ(values.sendPatch, 1);
  EXPECT_EQ(values.patch, kInstrumentMixed);
  EXPECT_EQ(values.transposition, 2);
  EXPECT_EQ(values.bendState, 2);
  EXPECT_EQ(values.bendRange, 12);
  EXPECT_EQ(values.name, u"Lead");
  EXPECT_FALSE(values.nameMixed);
  // The page applied untouched: both keep their own patch and bend state.
  ASSERT_TRUE(ApplyInstrumentValues(values, first));
  ASSERT_TRUE(ApplyInstrumentValues(values, second));
  EXPECT_EQ(first.GetInstrument().GetPatch(), 1);
  EXPECT_EQ(second.GetInstrument().GetPatch(), 5);
  EXPECT_FALSE(first.GetInstrument().HasBendRange());
  EXPECT_EQ(second.GetInstrument().GetBendRange(), 12);
  // A changed transposition and a mixed name left empty.
  TPatchData third;
  third.GetInstrument().SetName(u"Other");
  GatherInstrumentValues(values, third);
  EXPECT_TRUE(values.nameMixed);
  values.transposition = -5;
  ApplyInstrumentValues(values, first);
  EXPECT_EQ(std::u16string(first.GetInstrument().GetName()), u"Lead");
  EXPECT_EQ(first.GetInstrument().GetTransposition(), -5);
}

class InstrumentTreeStoreTest : public ::testing::Test {
protected:
  InstrumentTreeStoreTest() {
    store.SetProfileLocation("Tarlowmede Software", "Tree Test");
    std::ofstream(folder.Path() + "/Default.kvtitree") << "Piano=0\n";
    std::ofstream(folder.Path() + "/Mine.kvtitree") << "Organ=19\n";
  }
  TTempFolder folder;
  testing::TScopedEnv config{"XDG_CONFIG_HOME", folder.Path().c_str()};
  TSysInfo store;
};

TEST_F(InstrumentTreeStoreTest, ThePickedTreeIsRememberedAndTheDefaultIsNotStored) {
  {
    TInstrumentTreeStore trees(&store, folder.Path());
    EXPECT_EQ(trees.LoadInstrumentTree(nullptr)->name, "Default");
    EXPECT_EQ(trees.LoadInstrumentTree((folder.Path() + "/Mine.kvtitree").c_str())->name, "Mine");
    EXPECT_EQ(trees.LoadInstrumentTree(nullptr)->name, "Mine");
    EXPECT_EQ(trees.LoadInstrumentTree("/no/such/file.kvtitree")->name, "Mine");
  }
  EXPECT_EQ(store.GetProfileString("Options", "InstrumentTree", ""),
            folder.Path() + "/Mine.kvtitree");
  TInstrumentTreeStore next(&store, folder.Path());
  EXPECT_EQ(next.LoadInstrumentTree(nullptr)->name, "Mine");
  next.LoadInstrumentTree((folder.Path() + "/Default.kvtitree").c_str());
  EXPECT_EQ(store.GetProfileString("Options", "InstrumentTree", "none"), "none");
}

}  // namespace
}  // namespace kvt
