// Inserting items through the property dialog and from selectors: the automatic placement
// table, the starting values, Cancel, the room check for several items and the "..." entries
// whose Cancel leaves the history as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "app/editor/item_placement.h"
#include "app/editor/selector_source.h"
#include "app/editor/staff_commands.h"
#include "app/editor/undo_snapshot.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "tests/app/editor/staff_commands_fixture.h"

namespace kvt::test {
namespace {

// --- automatic placement ---

std::unique_ptr<TNotatedItem> Dynamic(double pos) {
  auto d = std::make_unique<TDynamicLevelData>(kDynP);
  d->SetPos(pos);
  return d;
}

std::unique_ptr<TNotatedItem> Text(const char16_t* text, int font, double pos) {
  auto t = std::make_unique<TTextExpression>();
  t->SetText(text);
  t->SetFontIndex(font);
  t->SetPos(pos);
  return t;
}

std::unique_ptr<TNotatedItem> Note() { return std::make_unique<TMusicNote>(0, 2, 0, 0); }

struct TPlacementCase {
  const char* name;
  // Items of staff 0 and staff 1 (the caret stands at the end of staff 1, the active one).
  std::function<void(TMusicStaff&, TMusicStaff&)> fill;
  std::function<std::unique_ptr<TNotatedItem>()> make;
  float expectedPos;
};

class PlacementTest : public ::testing::TestWithParam<TPlacementCase> {};

TEST_P(PlacementTest, PlacesTheNewItem) {
  const TPlacementCase& c = GetParam();
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  score.AddStaff(std::make_unique<TMusicStaff>());
  TMusicStaff& other = *score.GetStaff(0);
  TMusicStaff& active = *score.GetStaff(1);
  c.fill(other, active);
  std::unique_ptr<TNotatedItem> item = c.make();
  PlaceAutomatically(*item, score, 1, active.GetLastIndex());
  EXPECT_FLOAT_EQ(ItemAs<TNtnGeneralExpression>(item.get())->GetPos(), c.expectedPos);
}

void Add(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

const TPlacementCase kPlacementCases[] = {
    {"EarlierOfTheKindInTheStaff",
     [](TMusicStaff&, TMusicStaff& a) {
       Add(a, Dynamic(9.5));
       Add(a, Note());
     },
     [] { return Dynamic(0); }, 9.5f},
    {"TheNearestEarlierOne",
     [](TMusicStaff&, TMusicStaff& a) {
       Add(a, Dynamic(14));
       Add(a, Dynamic(-15));
       Add(a, Note());
     },
     [] { return Dynamic(0); }, -15.0f},
    {"EarlierInAnotherStaff",
     [](TMusicStaff& o, TMusicStaff& a) {
       Add(o, Dynamic(11.25));
       Add(o, Note());
       Add(a, Note());
     },
     [] { return Dynamic(0); }, 11.25f},
    {"TextMatchesTextAndFont",
     [](TMusicStaff&, TMusicStaff& a) {
       Add(a, Text(u"cresc.", kTextFontStaffItalic, -16));
       Add(a, Text(u"cresc.", kTextFontStaffBold, -20));
       Add(a, Text(u"dim.", kTextFontStaffItalic, -24));
     },
     [] { return Text(u"cresc.", kTextFontStaffItalic, 2); }, -16.0f},
    // Text keeps its own place when nothing matches, even inside the staff.
    {"TextWithoutAMatchStays",
     [](TMusicStaff&, TMusicStaff& a) { Add(a, Text(u"a", kTextFontStaffItalic, -16)); },
     [] { return Text(u"b", kTextFontStaffItalic, 2); }, 2.0f},
    // Default boundaries 12: inside -9..9 moves to 4 beyond on its side.
    {"InsideTheStaffGoesBelow", [](TMusicStaff&, TMusicStaff&) {}, [] { return Dynamic(8); },
     13.0f},
    {"InsideTheStaffGoesAbove", [](TMusicStaff&, TMusicStaff&) {}, [] { return Dynamic(-2); },
     -13.0f},
    {"OutsideStays", [](TMusicStaff&, TMusicStaff&) {}, [] { return Dynamic(9); }, 9.0f},
    {"BoundaryChangeInForce",
     [](TMusicStaff&, TMusicStaff& a) {
       auto sizer = std::make_unique<TStaffSizer>();
       sizer->SetStyle(kSizerNewSize);
       sizer->SetNewSize(20, 16);
       Add(a, std::move(sizer));
     },
     [] { return Dynamic(8); }, 17.0f},
    {"TempoVarianceOfTheSameStyleOnly",
     [](TMusicStaff&, TMusicStaff& a) {
       auto fermata = std::make_unique<TTempoVariance>(kTempoVarFermata);
       fermata->SetPos(-20);
       Add(a, std::move(fermata));
     },
     [] { return std::make_unique<TTempoVariance>(kTempoVarCaesura); }, -4.0f},
    {"TempoVarianceBreathMark", [](TMusicStaff&, TMusicStaff&) {},
     [] { return std::make_unique<TTempoVariance>(kTempoVarBreathMark); }, -8.0f},
    {"FlowCoda", [](TMusicStaff&, TMusicStaff&) {},
     [] { return std::make_unique<TFlowDirection>(kFlowCoda); }, -7.0f},
    {"FlowFine", [](TMusicStaff&, TMusicStaff&) {},
     [] { return std::make_unique<TFlowDirection>(kFlowFine); }, 8.0f},
    {"FlowDaCapo", [](TMusicStaff&, TMusicStaff&) {},
     [] { return std::make_unique<TFlowDirection>(kFlowDCalFine); }, -10.0f},
    {"FlowSegnoByBoundary", [](TMusicStaff&, TMusicStaff&) {},
     [] { return std::make_unique<TFlowDirection>(kFlowSegno); }, -13.0f},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlacementTest, ::testing::ValuesIn(kPlacementCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Placement, DefaultFlagsOfThePedal) {
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  TSustainPedal pedal;
  pedal.SetWide(false);
  pedal.SetJustify(kJustifyRight);
  pedal.SetPlacement(kPlaceAtNextNote);
  PlaceAutomatically(pedal, score, 0, 1);
  const TSustainPedal fresh;
  EXPECT_EQ(pedal.IsWide(), fresh.IsWide());
  EXPECT_EQ(pedal.GetJustify(), fresh.GetJustify());
  EXPECT_EQ(pedal.GetPlacement(), fresh.GetPlacement());
}

// --- inserts through the property dialog ---

const std::string kStaff = StaffLine("A") +
                           "|Clef|Type:Treble\r\n|Dynamic|Style:pp|Pos:10.5\r\n"
                           "|Note|Dur:4th|Pos:0\r\n|Note|Dur:4th|Pos:1\r\n";

using ItemInsertTest = StaffCommandsFixture;

TEST_F(ItemInsertTest, DynamicStartsFromTheOneInForceAndIsPlacedLikeIt) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  host.insertion.color = 3;
  view->SetCaretIndex(4, false);
  int shownLevel = -1;
  int shownColor = -1;
  dialogs.onEditItem = [&](TNotatedItem& item) {
    shownLevel = ItemAs<TDynamicLevelData>(&item)->GetLevel();
    shownColor = item.GetColor();
    item.SetColor(5);
  };
  const std::string before = Text();
  ASSERT_TRUE(Enabled(149));
  ASSERT_TRUE(Run(149));
  EXPECT_EQ(shownLevel, kDynPP);
  EXPECT_EQ(shownColor, 3);
  EXPECT_EQ(host.insertion.color, 5);  // the chosen colour becomes current
  const auto* inserted = ItemAs<TDynamicLevelData>(Staff(0).GetItem(4));
  ASSERT_NE(inserted, nullptr);
  EXPECT_FLOAT_EQ(inserted->GetPos(), ItemAs<TDynamicLevelData>(Staff(0).GetItem(2))->GetPos());
  EXPECT_EQ(view->Caret().caret, 5);
  const std::string after = Text();
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Text(), before);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Text(), after);
}

struct TInsertCase {
  int command;
  TNotatedItemType kind;
};

class DialogInsertRowTest : public StaffCommandsFixture,
                            public ::testing::WithParamInterface<TInsertCase> {};

TEST_P(DialogInsertRowTest, InsertsItsKindAtTheCaretAndUndoesAndRedoes) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties, TEditDialog::kUserObject});
  dialogs.onEditItem = [](TNotatedItem& item) {
    if (auto* text = ItemAs<TTextExpression>(&item)) text->SetText(u"espr.");
  };
  view->SetCaretIndex(3, false);
  const std::string before = Text();
  ASSERT_TRUE(Enabled(GetParam().command));
  ASSERT_TRUE(Run(GetParam().command));
  ASSERT_EQ(Staff(0).GetItemCount(), 7);
  EXPECT_EQ(Staff(0).GetItem(3)->GetType(), GetParam().kind);
  EXPECT_EQ(view->Caret().caret, 4);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoItems);
  EXPECT_EQ(undo.PeekUndo(0).command, GetParam().command);
  const std::string after = Text();
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Text(), before);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Text(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, DialogInsertRowTest,
    ::testing::Values(TInsertCase{132, kItemSpacer}, TInsertCase{133, kItemBoundary},
                      TInsertCase{134, kItemMarker}, TInsertCase{144, kItemBarLine},
                      TInsertCase{145, kItemClef}, TInsertCase{146, kItemKey},
                      TInsertCase{147, kItemTimeSig}, TInsertCase{148, kItemTempo},
                      TInsertCase{149, kItemDynamic}, TInsertCase{150, kItemSustainPedal},
                      TInsertCase{151, kItemEnding}, TInsertCase{152, kItemFlow},
                      TInsertCase{153, kItemTempoVariance}, TInsertCase{154, kItemPerformanceStyle},
                      TInsertCase{155, kItemDynamicVariance}, TInsertCase{156, kItemText},
                      TInsertCase{157, kItemPatch}, TInsertCase{158, kItemGenericControl},
                      TInsertCase{161, kItemMultiBarRest}, TInsertCase{166, kItemUserObject}),
    [](const auto& info) { return std::to_string(info.param.command); });

TEST_F(ItemInsertTest, WithoutAutomaticPlacementTheItemTakesTheCaretsPosition) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  host.options.smartInsertionPoint = false;
  view->MoveCaretVertically(-5, false);
  const int caretPos = view->Caret().caretPos;
  ASSERT_TRUE(Run(155));  // dynamic variance
  ASSERT_EQ(dialogs.shownItemPos.size(), 1u);
  EXPECT_EQ(dialogs.shownItemPos[0], caretPos);
  EXPECT_EQ(Staff(0).GetItem(1)->GetType(), kItemDynamicVariance);
  EXPECT_EQ(Staff(0).GetItem(1)->GetStaffPos(), caretPos);
}

TEST_F(ItemInsertTest, CancelInsertsNothing) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  dialogs.answerOk = false;
  const std::string before = Text();
  Run(145);
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(dialogs.editedCommands, std::vector<int>{145});
}

// A text left empty has no text form to keep in the undo history: refused, not inserted.
TEST_F(ItemInsertTest, AnEmptyTextIsRefused) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  const std::string before = Text();
  Run(156);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(ItemInsertTest, BoundaryChangeStartsFromTheBoundariesAtTheCaret) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  int upper = -1;
  int lower = -1;
  dialogs.onEditItem = [&](TNotatedItem& item) {
    upper = ItemAs<TStaffSizer>(&item)->GetUpper();
    lower = ItemAs<TStaffSizer>(&item)->GetLower();
  };
  ASSERT_TRUE(Run(133));
  EXPECT_EQ(upper, -Staff(0).GetBoundaryTop());
  EXPECT_EQ(lower, Staff(0).GetBoundaryBottom());
}

TEST_F(ItemInsertTest, TheLastInsertedItemIsTheNextTemplate) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  host.options.smartPropertiesInsert = true;
  dialogs.onEditItem = [](TNotatedItem& item) {
    ItemAs<TTextExpression>(&item)->SetText(u"dolce");
  };
  ASSERT_TRUE(Run(156));
  std::u16string shown;
  dialogs.onEditItem = [&](TNotatedItem& item) {
    shown = ItemAs<TTextExpression>(&item)->GetText();
  };
  ASSERT_TRUE(Run(156));
  EXPECT_EQ(shown, u"dolce");
}

TEST_F(ItemInsertTest, AFullStaffReportsAndKeepsTheScore) {
  Open(kStaff);
  dialogs.MakeAvailable({TEditDialog::kItemProperties});
  while (!Staff(0).IsFull()) Staff(0).InsertItem(Note(), Staff(0).GetLastIndex());
  view->RelayoutShown();
  Run(145);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Staff Capacity Test");
  EXPECT_FALSE(undo.CanUndo());
}

// --- selector inserts ---

constexpr int kSelector = 260;

// A selector of three entries: two notes, a single clef (with a caption and a bar line that
// are not inserted) and a "..." entry; the hidden group is no entry.
std::unique_ptr<TMusicScore> MakeSelector() {
  return ReadScore(StaffLine("Two notes", "Menu") +
                   "|Note|Dur:4th|Pos:-2\r\n|Note|Dur:4th|Pos:1\r\n|Bar\r\n" +
                   StaffLine("Clef", "Menu") +
                   "|Clef|Type:Bass\r\n|Text|Text:\"caption\"|Font:PageSmallText|Pos:8\r\n" +
                   StaffLine("Hidden", "_") + "|Note|Dur:4th|Pos:0\r\n" +
                   StaffLine("Edit...", "Menu") + "|Note|Dur:8th|Pos:3\r\n|Note|Dur:8th|Pos:4\r\n");
}

TEST_F(ItemInsertTest, SelectorEnablerFollowsTheSource) {
  Open(kStaff);
  EXPECT_FALSE(Enabled(kSelector));
  selectors.scores[kSelector] = MakeSelector();
  EXPECT_TRUE(Enabled(kSelector));
  EXPECT_FALSE(Enabled(kSelector + 1));
  view->SetCaretIndex(3, true);
  EXPECT_FALSE(Enabled(kSelector));
}

TEST_F(ItemInsertTest, SelectorInsertsTheEntryShiftedToTheCaret) {
  Open(kStaff);
  selectors.scores[kSelector] = MakeSelector();
  dialogs.selectorChoice = 0;
  view->SetCaretIndex(2, false);
  view->MoveCaretVertically(4, false);
  const int caretPos = view->Caret().caretPos;
  const std::string before = Text();
  ASSERT_TRUE(Run(kSelector));
  ASSERT_EQ(dialogs.menus.size(), 1u);
  EXPECT_EQ(dialogs.menus[0], (std::vector<std::u16string>{u"Two notes", u"Clef", u"Edit..."}));
  // The higher of the two lands on the caret's position, the other keeps its distance; the bar
  // line stays behind.
  const TMusicStaff& source = *selectors.scores[kSelector]->GetStaff(0);
  const int first = source.GetItem(1)->GetStaffPos();
  const int second = source.GetItem(2)->GetStaffPos();
  const int shift = caretPos - std::min(first, second);
  EXPECT_EQ(Staff(0).GetItem(2)->GetStaffPos(), first + shift);
  EXPECT_EQ(Staff(0).GetItem(3)->GetStaffPos(), second + shift);
  EXPECT_NE(first, second);
  EXPECT_EQ(Staff(0).GetItemCount(), 8);
  EXPECT_EQ(view->Caret().caret, 4);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoItems);
  EXPECT_EQ(undo.PeekUndo(0).command, kSelector);
  const std::string after = Text();
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Text(), before);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Text(), after);
}

TEST_F(ItemInsertTest, ASingleEntrySelectorShowsNoMenu) {
  Open(kStaff);
  selectors.scores[kSelector] = ReadScore(StaffLine("Only") + "|Clef|Type:Bass\r\n" +
                                          "|Text|Text:\"caption\"|Font:PageText|Pos:8\r\n");
  ASSERT_TRUE(Run(kSelector));
  EXPECT_TRUE(dialogs.menus.empty());
  EXPECT_EQ(Staff(0).GetItem(1)->GetType(), kItemClef);
  EXPECT_EQ(Staff(0).GetItemCount(), 7);  // the caption stays in the selector
}

TEST_F(ItemInsertTest, SelectorChecksRoomForAllItemsFirst) {
  Open(kStaff);
  selectors.scores[kSelector] = MakeSelector();
  dialogs.selectorChoice = 0;
  // Room for one more item, not for two.
  while (Staff(0).GetItemCount() < kStaffFullCount)
    Staff(0).InsertItem(Note(), Staff(0).GetLastIndex());
  view->RelayoutShown();
  const std::string before = Text();
  Run(kSelector);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Staff Capacity Test");
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(ItemInsertTest, DialogEntrySelectsWhatItInserted) {
  Open(kStaff);
  selectors.scores[kSelector] = MakeSelector();
  dialogs.selectorChoice = 2;
  ASSERT_TRUE(Run(kSelector));
  ASSERT_EQ(dialogs.editedRanges.size(), 1u);
  EXPECT_EQ(dialogs.editedRanges[0], std::make_pair(1, 2));
  EXPECT_EQ(view->Caret().SelectionStart(), 1);
  EXPECT_EQ(view->Caret().SelectionEnd(), 2);
  EXPECT_EQ(undo.Top(), 1);
}

// Cancel in the property dialog takes the insertion back and leaves the history as it was:
// no undo entry, no redo entry of its own, and the redo entry from before still there.
TEST_F(ItemInsertTest, DialogEntryCancelLeavesNoEntries) {
  Open(kStaff);
  selectors.scores[kSelector] = MakeSelector();
  ASSERT_TRUE(Run(kCmdMuteStaff));
  ASSERT_TRUE(view->Undo());
  ASSERT_EQ(undo.RedoCount(), 1);
  const std::string before = Text();
  dialogs.selectorChoice = 2;
  dialogs.answerOk = false;
  Run(kSelector);
  ASSERT_EQ(dialogs.editedRanges.size(), 1u);
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(undo.RedoCount(), 1);
  EXPECT_EQ(undo.PeekRedo(0).command, kCmdMuteStaff);
  EXPECT_FALSE(view->HasSelection());
}

}  // namespace
}  // namespace kvt::test
