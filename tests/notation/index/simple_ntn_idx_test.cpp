#include "notation/items/item_cast.h"
#include "notation/index/simple_ntn_idx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_chord.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/user_object.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

class SimpleNtnIdxTest : public ::testing::Test {
protected:
  TMusicStaff staff;
  TStaffBuilder build{staff};
};

TEST_F(SimpleNtnIdxTest, SetIndexOutOfRangeMovesToTheNearestEndAndFails) {
  build.Note(0);
  build.Note(1);
  TSimpleNtnIdx idx(&staff);
  struct Case {
    int target;
    int index;
    bool result;
  };
  const Case cases[] = {
      {-3, 0, false}, {99999, 3, false}, {2, 2, true}, {0, 0, true}, {3, 3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(idx.SetIndex(c.target), c.result);
    EXPECT_EQ(idx.GetIndex(), c.index);
    EXPECT_EQ(idx.GetItem(), staff.GetItem(c.index));
  }
}

TEST_F(SimpleNtnIdxTest, MovesStopAtTheEnds) {
  build.Note(0);
  TSimpleNtnIdx idx(&staff);
  EXPECT_TRUE(idx.IsAtStart());
  EXPECT_FALSE(idx.Prev());
  EXPECT_EQ(idx.GetIndex(), 0);
  EXPECT_TRUE(idx.Next());
  EXPECT_TRUE(idx.Next());
  EXPECT_TRUE(idx.IsAtEnd());
  EXPECT_FALSE(idx.Next());
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_TRUE(idx.GoFirst());
  EXPECT_EQ(idx.GetIndex(), 0);
  EXPECT_TRUE(idx.GoLast());
  EXPECT_EQ(idx.GetIndex(), 2);
}

TEST_F(SimpleNtnIdxTest, WithoutStaffNothingMoves) {
  TSimpleNtnIdx idx;
  EXPECT_EQ(idx.GetItem(), nullptr);
  EXPECT_FALSE(idx.SetIndex(0));
  EXPECT_FALSE(idx.Next());
  EXPECT_FALSE(idx.Prev());
  EXPECT_FALSE(idx.FindSongNote(1));
  EXPECT_TRUE(idx.IsAtEitherEnd());
  EXPECT_STREQ(idx.GetTypeName(), "");
}

TEST_F(SimpleNtnIdxTest, SetStaffAttachesAtTheFirstItem) {
  build.Note(0);
  TSimpleNtnIdx idx;
  idx.SetStaff(&staff);
  EXPECT_EQ(idx.GetIndex(), 0);
  EXPECT_EQ(idx.GetItem(), staff.GetItem(0));
  EXPECT_STREQ(idx.GetTypeName(), "Bar");
}

TEST_F(SimpleNtnIdxTest, IndexIsDestroyedThroughItsBase) {
  // The family is used through base pointers; the destructor must be virtual.
  static_assert(std::has_virtual_destructor_v<TSimpleNtnIdx>);
  std::unique_ptr<TSimpleNtnIdx> idx = std::make_unique<TSimpleNtnIdx>(&staff);
  idx.reset();
}

TEST_F(SimpleNtnIdxTest, TickTimeAndCompare) {
  build.Note(0, kDurQuarter);
  build.Note(0, kDurHalf);
  build.Note(0, kDurEighth);
  TSimpleNtnIdx a(&staff, 3);
  EXPECT_EQ(a.GetTickTime(), 192 + 384);
  TSimpleNtnIdx b(&staff, 1);
  EXPECT_LT(b.Compare(a), 0);
  EXPECT_GT(a.Compare(b), 0);
  EXPECT_EQ(a.Compare(a), 0);

  // Across staves the tick time decides, not the index.
  TMusicStaff other;
  TStaffBuilder(other).Rest(kDurWhole);
  TSimpleNtnIdx c(&other, 2);  // starts at 768
  EXPECT_GT(c.Compare(a), 0);
  EXPECT_LT(a.Compare(c), 0);
}

TEST_F(SimpleNtnIdxTest, SearchesFindTheirKindsInBothDirections) {
  build.Clef(kClefBass);                                      // 1
  build.Add(std::make_unique<TDynamicLevelData>(kDynF));      // 2
  build.Note(0, kDurQuarter, kMaskGrace);                     // 3
  build.Rest();                                               // 4
  build.Bar();                                                // 5
  build.MultiRest(3);                                         // 6
  build.Add(std::make_unique<TDynamicVariance>());            // 7
  build.Note(2).SetLyric(kLyricNever);                        // 8
  build.Note(3);                                              // 9
  struct Case {
    const char* name;
    bool (*find)(TSimpleNtnIdx&, int dir);
    int from;
    int dir;
    int found;  // -1: not found
  };
  using Find = bool (*)(TSimpleNtnIdx&, int dir);
  const Find clef = [](TSimpleNtnIdx& i, int d) { return i.FindType(kItemClef, d); };
  const Find songNote = [](TSimpleNtnIdx& i, int d) { return i.FindSongNote(d); };
  const Find nonGrace = [](TSimpleNtnIdx& i, int d) { return i.FindNonGraceDurationItem(d); };
  const Find duration = [](TSimpleNtnIdx& i, int d) { return i.FindDurationItem(d); };
  const Find barBoundary = [](TSimpleNtnIdx& i, int d) { return i.FindBarBoundary(d); };
  const Find dynamic = [](TSimpleNtnIdx& i, int d) { return i.FindDynamicMark(d); };
  const Find grace = [](TSimpleNtnIdx& i, int d) { return i.FindSongNoteWithGrace(true, d); };
  const Find withNotes = [](TSimpleNtnIdx& i, int d) { return i.FindItemWithNotes(d); };
  const Find lyric = [](TSimpleNtnIdx& i, int d) { return i.FindLyricNote(d); };
  const Find memberAt3 = [](TSimpleNtnIdx& i, int d) { return i.FindNoteWithMemberAt(3, d); };
  const Case cases[] = {
      {"clef forward", clef, 0, 1, 1},
      {"clef back", clef, 9, -1, 1},
      {"clef none ahead", clef, 1, 1, -1},
      {"song note", songNote, 0, 1, 3},
      {"non-grace duration", nonGrace, 0, 1, 4},
      {"duration back", duration, 8, -1, 6},
      {"bar boundary", barBoundary, 5, 1, 6},
      {"dynamic mark", dynamic, 2, 1, 7},
      {"grace note", grace, 9, -1, 3},
      {"with notes", withNotes, 3, 1, 8},
      {"lyric note", lyric, 0, 1, 9},
      {"member at 3", memberAt3, 0, 1, 9},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSimpleNtnIdx idx(&staff, c.from);
    const bool found = c.find(idx, c.dir);
    EXPECT_EQ(found, c.found >= 0);
    if (c.found >= 0) {
      EXPECT_EQ(idx.GetIndex(), c.found);
    } else {
      EXPECT_TRUE(idx.IsAtEitherEnd());
    }
  }
}

TEST_F(SimpleNtnIdxTest, InBarSearchesStopAtEndingsFlowsAndBackAtNonSingleBars) {
  build.Note(0);                 // 1
  build.Bar(kBarDouble);         // 2
  build.Rest();                  // 3
  build.Bar(kBarSingle);         // 4
  build.Rest();                  // 5
  build.Flow(kFlowSegno);        // 6
  build.Note(1);                 // 7
  TSimpleNtnIdx idx(&staff, 5);
  EXPECT_TRUE(idx.FindSongNoteInBar(-1));  // passes the Single bar
  EXPECT_EQ(idx.GetIndex(), 3);
  EXPECT_FALSE(idx.FindSongNoteInBar(-1));  // the Double bar stops it
  EXPECT_EQ(idx.GetIndex(), 2);
  idx.SetIndex(5);
  EXPECT_FALSE(idx.FindSongNoteInBar(1));  // the flow mark stops it
  EXPECT_EQ(idx.GetIndex(), 6);
  idx.SetIndex(1);
  EXPECT_TRUE(idx.FindSongNoteInBar(1));  // forward, bar lines are passed
  EXPECT_EQ(idx.GetIndex(), 3);
  idx.SetIndex(1);
  EXPECT_FALSE(idx.FindNotesInBar(1));
  EXPECT_EQ(idx.GetIndex(), 6);
}

TEST_F(SimpleNtnIdxTest, UserObjectSearchesAndTags) {
  auto& plain = build.Add(std::make_unique<TKVTUserObject>("Lines"));  // 1
  plain.SetParam("Width", "3");
  auto& sig = build.Add(std::make_unique<TKVTUserObject>("Sig"));  // 2
  sig.SetClass(kUserClassStaffSig);
  build.Key(2);  // 3
  TSimpleNtnIdx idx(&staff);
  EXPECT_TRUE(idx.FindUserObject(1, nullptr, "Width"));
  EXPECT_EQ(idx.GetIndex(), 1);
  EXPECT_EQ(idx.GetClefKeyTag(), nullptr);
  EXPECT_TRUE(idx.FindUserObject(1, "Sig", nullptr));
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_STREQ(idx.GetClefKeyTag(), "Sig");
  idx.GoFirst();
  EXPECT_FALSE(idx.FindUserObject(1, "Lines", "Height"));
  idx.GoFirst();
  EXPECT_TRUE(idx.FindUserObjectOfKind(kUserClassStaffSig, 1));
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_TRUE(idx.FindTaggedItem(1));
  EXPECT_EQ(idx.GetIndex(), 3);
  EXPECT_STREQ(idx.GetClefKeyTag(), ":key");
}

// The tie searches: forward to the note that continues a tie at a position, back to the note
// that starts it, and the places where a tie cannot run on.
TEST_F(SimpleNtnIdxTest, FindTieTargetForwardAndBack) {
  build.Note(-2, kDurQuarter, kMaskTieOut);  // 1 starts a tie at -2
  build.Note(0);                             // 2 another position
  build.Note(-2).SetTieIn(true);             // 3 continues it
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccNone, false, 1));
  EXPECT_EQ(idx.GetIndex(), 3);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccNone, false, -1));
  EXPECT_EQ(idx.GetIndex(), 1);
}

TEST_F(SimpleNtnIdxTest, FindTieTargetMatchesTheAccidental) {
  build.Note(-2, kDurQuarter, kMaskTieOut, kAccFlat);  // 1
  build.Note(-2, kDurQuarter, 0, kAccFlat).SetTieIn(true);  // 2
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_FALSE(idx.FindTieTarget(-2, kAccSharp, false, 1));
  idx.SetIndex(1);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccFlat, false, 1));
  EXPECT_EQ(idx.GetIndex(), 2);
  idx.SetIndex(1);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccNone, false, 1));  // 5 matches any
  EXPECT_EQ(idx.GetIndex(), 2);
}

TEST_F(SimpleNtnIdxTest, FindTieTargetStops) {
  struct Case {
    const char* name;
    void (*between)(TStaffBuilder&);
    bool found;
    int stopOffset;  // index where the search stops, from the tying note
  };
  const Case cases[] = {
      {"single bar passes", [](TStaffBuilder& b) { b.Bar(); }, true, 2},
      {"local repeat close", [](TStaffBuilder& b) { b.Bar(kBarLocalRepeatClose, 2); }, false, 1},
      {"master repeat close", [](TStaffBuilder& b) { b.Bar(kBarMasterRepeatClose); }, false, 1},
      {"later ending", [](TStaffBuilder& b) { b.Ending({2}); }, false, 1},
      {"first ending passes", [](TStaffBuilder& b) { b.Ending({1, 2}); }, true, 2},
      {"gap", [](TStaffBuilder& b) {
         auto sizer = std::make_unique<TStaffSizer>();
         sizer->SetStyle(kSizerGap);
         b.Add(std::move(sizer));
       }, false, 1},
      {"coda steps back", [](TStaffBuilder& b) { b.Flow(kFlowCoda); }, false, 0},
      {"D.S. al Coda steps on", [](TStaffBuilder& b) { b.Flow(kFlowDSalCoda); }, false, 2},
      {"D.C. al Coda steps on", [](TStaffBuilder& b) { b.Flow(kFlowDCalCoda); }, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMusicStaff s;
    TStaffBuilder b(s);
    b.Note(-2, kDurQuarter, kMaskTieOut);
    const int start = b.Last();
    c.between(b);
    b.Note(-2).SetTieIn(true);
    TSimpleNtnIdx idx(&s, start);
    EXPECT_EQ(idx.FindTieTarget(-2, kAccNone, false, 1), c.found);
    EXPECT_EQ(idx.GetIndex(), start + c.stopOffset);
  }
}

TEST_F(SimpleNtnIdxTest, FindTieTargetPassesHiddenThroughTies) {
  build.Note(-2, kDurQuarter, kMaskTieOut);              // 1
  auto& hidden = build.Note(-2, kDurQuarter, kMaskTieOut);  // 2 continues and ties on, hidden
  hidden.SetTieIn(true);
  hidden.SetVisibility(kVisNever);
  build.Note(-2).SetTieIn(true);  // 3
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccNone, true, 1));
  EXPECT_EQ(idx.GetIndex(), 3);
  idx.SetIndex(1);
  EXPECT_TRUE(idx.FindTieTarget(-2, kAccNone, false, 1));
  EXPECT_EQ(idx.GetIndex(), 2);
}

TEST_F(SimpleNtnIdxTest, FindSlurEnd) {
  build.Note(0, kDurQuarter, kMaskSlur);  // 1 starts the slur
  build.Note(1, kDurEighth, kMaskGrace);  // 2 grace: passed by a normal slur
  auto& middle = build.Note(2, kDurQuarter, kMaskSlur);  // 3 continues
  middle.SetSlurIn(true);
  build.Note(3).SetSlurIn(true);  // 4 ends it
  build.Note(4);                  // 5
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_TRUE(idx.FindSlurEnd(1));
  EXPECT_EQ(idx.GetIndex(), 4);
  EXPECT_TRUE(idx.FindSlurEnd(-1));
  EXPECT_EQ(idx.GetIndex(), 1);

  // A repeat close ends the slur search without a target.
  TMusicStaff s;
  TStaffBuilder b(s);
  b.Note(0, kDurQuarter, kMaskSlur);
  b.Bar(kBarMasterRepeatClose);
  b.Note(1).SetSlurIn(true);
  TSimpleNtnIdx j(&s, 1);
  EXPECT_FALSE(j.FindSlurEnd(1));
  EXPECT_EQ(j.GetIndex(), 2);
}

TEST_F(SimpleNtnIdxTest, GraceSlurFollowsOnlySlurredGraceNotes) {
  build.Note(0, kDurEighth, kMaskGrace | kMaskSlur);  // 1
  build.Note(1, kDurEighth, kMaskGrace | kMaskSlur);  // 2
  build.Note(2, kDurQuarter, kMaskSlur);              // 3: a normal note ends a grace slur
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_TRUE(idx.FindSlurEnd(1));
  EXPECT_EQ(idx.GetIndex(), 3);
}

TEST_F(SimpleNtnIdxTest, BeamabilityTable) {
  struct Case {
    const char* name;
    std::unique_ptr<TNotatedItem> (*make)();
    bool grace;
    bool allowAll;
    bool beamable;
  };
  using Make = std::unique_ptr<TNotatedItem> (*)();
  const Make bar = [] { return std::unique_ptr<TNotatedItem>(new TBarLineData()); };
  const Make key = [] { return std::unique_ptr<TNotatedItem>(new TKeyData()); };
  const Make timeSig = [] { return std::unique_ptr<TNotatedItem>(new TTimeSignatureData()); };
  const Make flow = [] { return std::unique_ptr<TNotatedItem>(new TFlowDirection()); };
  const Make ending = [] { return std::unique_ptr<TNotatedItem>(new TSpecialEnding()); };
  const Make clef = [] { return std::unique_ptr<TNotatedItem>(new TClefData()); };
  const Make eighth = [] {
    return std::unique_ptr<TNotatedItem>(new TMusicNote(0, kDurEighth, 0, kAccNone));
  };
  const Make quarter = [] {
    return std::unique_ptr<TNotatedItem>(new TMusicNote(0, kDurQuarter, 0, kAccNone));
  };
  const Make rest = [] { return std::unique_ptr<TNotatedItem>(new TRestNote(kDurQuarter, 0)); };
  const Make graceNote = [] {
    return std::unique_ptr<TNotatedItem>(new TMusicNote(0, kDurQuarter, kMaskGrace, kAccNone));
  };
  const Case cases[] = {
      {"bar breaks", bar, false, true, false},
      {"key breaks", key, false, true, false},
      {"time sig breaks", timeSig, false, true, false},
      {"flow breaks", flow, false, true, false},
      {"ending breaks", ending, false, true, false},
      {"clef transparent", clef, false, false, true},
      {"eighth joins", eighth, false, false, true},
      {"quarter refused", quarter, false, false, false},
      {"quarter with allowAll", quarter, false, true, true},
      {"rest joins", rest, false, false, true},
      {"grace in normal group", graceNote, false, false, true},
      {"normal in grace group", eighth, true, true, false},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto item = c.make();
    EXPECT_EQ(TSimpleNtnIdx::IsItemBeamable(item.get(), c.grace, c.allowAll), c.beamable);
  }
  EXPECT_FALSE(TSimpleNtnIdx::IsItemBeamable(nullptr, false, true));
}

TEST_F(SimpleNtnIdxTest, GroupStatesAndGroupEnds) {
  build.Note(0, kDurEighth).SetBeamState(kGroupFirst);   // 1
  build.Clef(kClefTreble);                               // 2 transparent
  build.Note(1, kDurEighth).SetBeamState(kGroupMiddle);  // 3
  build.Note(2, kDurEighth).SetBeamState(kGroupEnd);     // 4
  build.Note(3, kDurEighth);                             // 5
  TSimpleNtnIdx idx(&staff, 3);
  EXPECT_TRUE(idx.IsInGroupOf(kGroupBeam));
  EXPECT_FALSE(idx.IsInGroupOf(kGroupTriplet));
  EXPECT_TRUE(idx.IsGroupOpening(kGroupBeam));
  EXPECT_TRUE(idx.IsGroupClosing(kGroupBeam));
  EXPECT_TRUE(idx.IsGroupState(false, kGroupBeam, kGroupMiddle));
  EXPECT_FALSE(idx.IsInGroupWithGrace(true, kGroupBeam));
  EXPECT_TRUE(idx.GoToGroupEnd(false, kGroupBeam, 1));
  EXPECT_EQ(idx.GetIndex(), 4);
  EXPECT_TRUE(idx.GoToGroupEnd(false, kGroupBeam, -1));
  EXPECT_EQ(idx.GetIndex(), 1);
  idx.SetIndex(0);
  EXPECT_TRUE(idx.FindGroupState(false, kGroupBeam, kGroupEnd, 1));
  EXPECT_EQ(idx.GetIndex(), 4);
  EXPECT_FALSE(idx.FindGroupedNote(1));
}

TEST_F(SimpleNtnIdxTest, GoToGroupEndStopsAtABarLine) {
  build.Note(0, kDurEighth).SetBeamState(kGroupFirst);  // 1
  build.Bar();                                          // 2
  build.Note(1, kDurEighth).SetBeamState(kGroupEnd);    // 3
  TSimpleNtnIdx idx(&staff, 1);
  EXPECT_FALSE(idx.GoToGroupEnd(false, kGroupBeam, 1));
  EXPECT_EQ(idx.GetIndex(), 1);
}

TEST_F(SimpleNtnIdxTest, InsideTripletLooksBackPastGraceNotes) {
  build.Note(0, kDurEighth).SetTripletState(kGroupFirst);  // 1
  build.Note(1, kDurEighth, kMaskGrace);                   // 2
  build.Note(2, kDurEighth).SetTripletState(kGroupEnd);    // 3
  build.Note(3, kDurEighth, kMaskGrace);                   // 4
  EXPECT_TRUE(TSimpleNtnIdx(&staff, 1).IsInsideTriplet());
  EXPECT_TRUE(TSimpleNtnIdx(&staff, 2).IsInsideTriplet());
  EXPECT_FALSE(TSimpleNtnIdx(&staff, 3).IsInsideTriplet());
  EXPECT_FALSE(TSimpleNtnIdx(&staff, 4).IsInsideTriplet());
}

TEST_F(SimpleNtnIdxTest, FindMarkerForStopsAtTheNoteBefore) {
  build.Note(0);  // 1
  auto& marker = build.Add(std::make_unique<TNotationMarker>());  // 2
  marker.SetTarget(kMarkerSlur | kMarkerTriplet);
  build.Clef(kClefTreble);  // 3
  build.Note(1);            // 4
  TSimpleNtnIdx idx(&staff, 4);
  EXPECT_TRUE(idx.FindMarkerFor(kMarkerTriplet));
  EXPECT_EQ(idx.GetIndex(), 2);
  idx.SetIndex(4);
  EXPECT_FALSE(idx.FindMarkerFor(kMarkerArticulation));
  EXPECT_EQ(idx.GetIndex(), 1);
}

TEST_F(SimpleNtnIdxTest, HairpinsAndRuns) {
  build.Note(0, kDurQuarter, kMaskCrescendo);                                // 1
  build.Add(std::make_unique<TDynamicVariance>(kDynVarDiminuendo));         // 2
  build.Note(0, kDurQuarter, kMaskDiminuendo);                               // 3
  build.Clef(kClefTreble);                                                   // 4
  EXPECT_EQ(TSimpleNtnIdx(&staff, 1).GetHairpin(), 1);
  EXPECT_EQ(TSimpleNtnIdx(&staff, 2).GetHairpin(), 2);
  EXPECT_EQ(TSimpleNtnIdx(&staff, 4).GetHairpin(), 0);
  EXPECT_TRUE(TSimpleNtnIdx(&staff, 1).IsInHairpinRun(1));
  EXPECT_FALSE(TSimpleNtnIdx(&staff, 3).IsInHairpinRun(1));
  EXPECT_FALSE(TSimpleNtnIdx(&staff, 2).IsInHairpinRun(2));
  EXPECT_TRUE(TSimpleNtnIdx(&staff, 4).IsInHairpinRun(1));
}

// Every kind accessor answers for its own type code only.
TEST_F(SimpleNtnIdxTest, KindAccessorsAnswerOnlyTheirKind) {
  build.Clef(kClefTreble);                                   // 1
  build.Key(1);                                              // 2
  build.Ending({1});                                         // 3
  build.TimeSig(3, 2);                                       // 4
  build.Note(0);                                             // 5
  build.Rest();                                              // 6
  build.Add(std::make_unique<TChordData>(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone),
                                         std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone)));  // 7
  build.Flow(kFlowFine);                                     // 8
  build.Add(std::make_unique<TTempoVariance>(kTempoVarRitardando));  // 9
  build.Add(std::make_unique<TRestChord>(kDurHalf, 0));     // 10
  build.MultiRest(2);                                        // 11
  build.Add(std::make_unique<TNotationMarker>());            // 12
  struct Case {
    int index;
    int type;
  };
  const Case cases[] = {{0, kItemBarLine}, {1, kItemClef}, {2, kItemKey}, {3, kItemEnding},
                        {4, kItemTimeSig}, {5, kItemNote}, {6, kItemRest}, {7, kItemChord},
                        {8, kItemFlow}, {9, kItemTempoVariance}, {10, kItemRestChord},
                        {11, kItemMultiBarRest}, {12, kItemMarker}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TSimpleNtnIdx idx(&staff, c.index);
    ASSERT_EQ(idx.GetItem()->GetType(), c.type);
    EXPECT_EQ(idx.GetBarLine() != nullptr, c.type == kItemBarLine);
    EXPECT_EQ(idx.GetClef() != nullptr, c.type == kItemClef);
    EXPECT_EQ(idx.GetKey() != nullptr, c.type == kItemKey);
    EXPECT_EQ(idx.GetEnding() != nullptr, c.type == kItemEnding);
    EXPECT_EQ(idx.GetTimeSig() != nullptr, c.type == kItemTimeSig);
    EXPECT_EQ(idx.GetNote() != nullptr, c.type == kItemNote);
    EXPECT_EQ(idx.GetRestNote() != nullptr, c.type == kItemRest);
    EXPECT_EQ(idx.GetChord() != nullptr, c.type == kItemChord);
    EXPECT_EQ(idx.GetFlow() != nullptr, c.type == kItemFlow);
    EXPECT_EQ(idx.GetTempoVariance() != nullptr, c.type == kItemTempoVariance);
    EXPECT_EQ(idx.GetTempoVarianceAbove2() != nullptr, c.type == kItemTempoVariance);
    EXPECT_EQ(idx.GetRestChord() != nullptr, c.type == kItemRestChord);
    EXPECT_EQ(idx.GetMultiMeasureRest() != nullptr, c.type == kItemMultiBarRest);
    EXPECT_EQ(idx.GetMarker() != nullptr, c.type == kItemMarker);
    EXPECT_EQ(idx.GetUserObject(), nullptr);
    EXPECT_EQ(idx.GetExpression() != nullptr, c.type == kItemFlow || c.type == kItemTempoVariance);
    EXPECT_EQ(idx.GetNoteOrChord() != nullptr, c.type == kItemNote || c.type == kItemChord);
    EXPECT_EQ(idx.GetRest() != nullptr, c.type == kItemRest || c.type == kItemRestChord);
    EXPECT_EQ(idx.GetSongNote() != nullptr, c.type == kItemNote || c.type == kItemRest ||
                                                c.type == kItemChord || c.type == kItemRestChord);
    EXPECT_EQ(idx.IsOnBarBoundary(), c.type == kItemBarLine || c.type == kItemMultiBarRest);
    EXPECT_EQ(idx.GetPlayedEnding() != nullptr, c.type == kItemEnding);
  }
  // A tempo variance of style 2 or below is not a gradual one.
  ItemAs<TTempoVariance>(staff.GetItem(9))->SetStyle(kTempoVarFermata);
  EXPECT_EQ(TSimpleNtnIdx(&staff, 9).GetTempoVarianceAbove2(), nullptr);
}

TEST_F(SimpleNtnIdxTest, ChordPartAndStemSides) {
  auto low = std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone);
  low->SetStemDir(kStemDown);
  auto high = std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone);
  high->SetStemDir(kStemUp);
  auto& chord = build.Add(std::make_unique<TChordData>(std::move(high), std::move(low)));  // 1
  ASSERT_TRUE(chord.HasSplitStem());
  auto& restChord = build.Add(std::make_unique<TRestChord>(kDurHalf, 0));  // 2
  auto part = std::make_unique<TMusicNote>(-4, kDurHalf, 0, kAccNone);
  ASSERT_TRUE(restChord.AttachNote(part));
  build.Rest();  // 3

  const TSimpleNtnIdx atChord(&staff, 1);
  EXPECT_EQ(atChord.GetChordPart(), &chord);
  const TMemberRange down = atChord.GetStemSide(-1);
  const TMemberRange up = atChord.GetStemSide(1);
  EXPECT_EQ(down.first, 0);
  EXPECT_EQ(down.count, 1);
  EXPECT_EQ(up.first, 1);
  EXPECT_EQ(up.count, 1);

  const TSimpleNtnIdx atRestChord(&staff, 2);
  EXPECT_EQ(atRestChord.GetChordPart(), restChord.GetPart());
  EXPECT_EQ(atRestChord.GetStemSide(1).count, 1);
  const TSimpleNtnIdx atRest(&staff, 3);
  EXPECT_EQ(atRest.GetChordPart(), nullptr);
  EXPECT_EQ(atRest.GetStemSide(1).count, 0);
}

TEST_F(SimpleNtnIdxTest, SplitStemPassesItsDirectionWhileItsLongerPartSounds) {
  auto low = std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone);
  low->SetStemDir(kStemDown);
  auto high = std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone);
  high->SetStemDir(kStemUp);
  auto& chord = build.Add(std::make_unique<TChordData>(std::move(high), std::move(low)));  // 1
  ASSERT_TRUE(chord.HasSplitStem());
  build.Note(-3, kDurQuarter);  // 2: under the half note of the chord
  build.Note(-3, kDurQuarter);  // 3: the half note has ended
  const int direction = chord.GetStemDir();
  EXPECT_EQ(TSimpleNtnIdx(&staff, 2).GetInheritedStemDirection(), direction);
  EXPECT_EQ(TSimpleNtnIdx(&staff, 3).GetInheritedStemDirection(), 0);
}

}  // namespace
}  // namespace kvt
