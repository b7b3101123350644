#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "notation/items/lyric_text.h"
#include "midi/events/midi_file_buf.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/context/staff_context_state.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "utils/precondition.h"
#include "utils/variant.h"

namespace kvt {
namespace {

std::string FailedExpression(const std::function<void()>& action) {
  try {
    action();
  } catch (const TPreconditionError& e) {
    return e.Expression();
  }
  return "no exception";
}

std::unique_ptr<TNotatedItem> Note(int durationCode, int pos = 0) {
  return std::make_unique<TMusicNote>(pos, durationCode, 0, kAccNone);
}
std::unique_ptr<TNotatedItem> Bar(int style, int repeat = 1) {
  return std::make_unique<TBarLineData>(style, repeat);
}

// An item that always sends play back to item 1: a repeat that never runs out of passes, as a
// damaged or hostile file might hold.
class TJumpBackForever : public TNotatedItem {
public:
  TNotatedItemType GetType() const override { return kItemMarker; }
  int GetNextPlayIndex(TStaffContextState&, const TMusicStaff*, int) const override { return 1; }
};

class MusicStaffTest : public ::testing::Test {
protected:
  // Appends before the closing bar line; returns the index taken.
  int Add(std::unique_ptr<TNotatedItem> item) {
    return staff.InsertItem(std::move(item), staff.GetLastIndex());
  }
  int TypeAt(int i) const {
    const TNotatedItem* item = staff.GetItem(i);
    return item ? item->GetType() : -1;
  }
  int BarStyleAt(int i) const {
    const TNotatedItem* item = staff.GetItem(i);
    if (!item || item->GetType() != kItemBarLine) return -1;
    return ItemAs<TBarLineData>(item)->GetStyle();
  }
  // The boundary bar lines are where they belong.
  void ExpectBoundaries() const {
    ASSERT_GE(staff.GetItemCount(), 2);
    EXPECT_EQ(BarStyleAt(0), kBarSingle);
    EXPECT_EQ(TypeAt(staff.GetLastIndex()), kItemBarLine);
  }

  TMusicStaff staff;
};

TEST_F(MusicStaffTest, NewStaffDefaults) {
  EXPECT_EQ(staff.GetItemCount(), 2);
  EXPECT_EQ(BarStyleAt(0), kBarSingle);
  EXPECT_EQ(BarStyleAt(1), kBarSectionClose);
  EXPECT_EQ(std::u16string(staff.GetName()), u"Staff");
  EXPECT_EQ(std::u16string(staff.GetGroup()), u"Standard");
  EXPECT_EQ(std::u16string(staff.GetFullLabel()), u"");
  EXPECT_EQ(staff.GetVolume(), 127);
  EXPECT_EQ(staff.GetStereoPan(), 64);
  EXPECT_EQ(staff.GetBoundaryTop(), -12);
  EXPECT_EQ(staff.GetBoundaryBottom(), 12);
  EXPECT_EQ(staff.GetLines(), 5);
  EXPECT_EQ(staff.GetEndingBar(), kEndBarSectionClose);
  EXPECT_EQ(staff.GetFreeItemCount(), 32000);
  EXPECT_FALSE(staff.IsFull());
  EXPECT_EQ(staff.GetLyrics(), nullptr);
  EXPECT_EQ(staff.GetItem(-1), nullptr);
  EXPECT_EQ(staff.GetItem(2), nullptr);
  EXPECT_EQ(staff.GetLastItem(), staff.GetItem(1));
}

TEST_F(MusicStaffTest, BoundaryBarLinesCannotBeRemoved) {
  struct Case {
    int index;
  };
  // On a new staff both ends are boundary bar lines; with items between, the ends still are.
  for (int extra : {0, 3}) {
    for (int n = 0; n < extra; ++n) Add(Note(kDurQuarter));
    const int count = staff.GetItemCount();
    for (Case c : {Case{-1}, Case{0}, Case{count - 1}, Case{count}, Case{1000}}) {
      EXPECT_FALSE(staff.DeleteItem(c.index)) << extra << " " << c.index;
      EXPECT_EQ(staff.DetachItem(c.index), nullptr) << extra << " " << c.index;
    }
    EXPECT_EQ(staff.GetItemCount(), count);
    ExpectBoundaries();
  }
}

TEST(MusicStaffInsertTest, InsertClampsBetweenTheBoundaryBars) {
  // Each case on a staff of bar, note, note, bar (last index 3).
  struct Case {
    int requested;
    int taken;
  } cases[] = {{-100, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {1000, 3}, {INT_MIN, 1}, {INT_MAX, 3}};
  for (const Case& c : cases) {
    TMusicStaff staff;
    staff.InsertItem(Note(kDurQuarter), 1);
    staff.InsertItem(Note(kDurQuarter), 1);
    EXPECT_EQ(staff.InsertItem(std::make_unique<TClefData>(), c.requested), c.taken) << c.requested;
    EXPECT_EQ(staff.GetItem(c.taken)->GetType(), kItemClef) << c.requested;
    ASSERT_EQ(staff.GetItemCount(), 5);
    EXPECT_EQ(ItemAs<TBarLineData>(staff.GetItem(0))->GetStyle(), kBarSingle);
    EXPECT_EQ(ItemAs<TBarLineData>(staff.GetItem(4))->GetStyle(), kBarSectionClose);
  }
}

TEST_F(MusicStaffTest, DeleteItemsKeepsTheClosingBar) {
  struct Case {
    int first, last;
    int remaining;
  } cases[] = {
      {0, 3, 6},    // a first of 0 or less deletes nothing
      {-2, 3, 6},
      {3, 2, 6},    // empty range
      {2, 3, 4},
      {1, 1000, 2}, // the closing bar line stays
      {4, 5, 5},    // last limited to the item before the closing bar line
  };
  for (const Case& c : cases) {
    TMusicStaff s;
    for (int n = 0; n < 4; ++n) s.InsertItem(Note(kDurQuarter), s.GetLastIndex());
    s.DeleteItems(c.first, c.last);
    EXPECT_EQ(s.GetItemCount(), c.remaining) << c.first << ".." << c.last;
    EXPECT_EQ(s.GetItem(0)->GetType(), kItemBarLine);
    EXPECT_EQ(s.GetLastItem()->GetType(), kItemBarLine);
  }
}

TEST_F(MusicStaffTest, DetachHandsTheItemOver) {
  Add(std::make_unique<TClefData>(kClefBass));
  std::unique_ptr<TNotatedItem> clef = staff.DetachItem(1);
  ASSERT_NE(clef, nullptr);
  EXPECT_EQ(clef->GetType(), kItemClef);
  EXPECT_EQ(staff.GetItemCount(), 2);
}

TEST_F(MusicStaffTest, FullStaffRefusesInsertion) {
  while (staff.GetItemCount() < kStaffFullCount) Add(std::make_unique<TStaffSpacer>());
  EXPECT_FALSE(staff.IsFull());
  EXPECT_EQ(staff.GetFreeItemCount(), kStaffItemRoom - kStaffFullCount);
  Add(std::make_unique<TStaffSpacer>());
  EXPECT_EQ(staff.GetItemCount(), kStaffFullCount + 1);
  EXPECT_TRUE(staff.IsFull());

  EXPECT_EQ(FailedExpression([&] { Add(std::make_unique<TStaffSpacer>()); }), "! IsFull()");
  std::unique_ptr<TNotatedItem> item = std::make_unique<TClefData>();
  EXPECT_FALSE(staff.TryInsertItem(item, 5));
  ASSERT_NE(item, nullptr);  // still the caller's
  EXPECT_EQ(staff.GetItemCount(), kStaffFullCount + 1);

  ASSERT_TRUE(staff.DeleteItem(5));
  EXPECT_TRUE(staff.TryInsertItem(item, 5));
  EXPECT_EQ(item, nullptr);
  EXPECT_EQ(TypeAt(5), kItemClef);
}

TEST_F(MusicStaffTest, TryInsertRefusesNull) {
  std::unique_ptr<TNotatedItem> none;
  EXPECT_FALSE(staff.TryInsertItem(none, 1));
  EXPECT_EQ(staff.GetItemCount(), 2);
}

TEST_F(MusicStaffTest, BoundariesAreClampedToTheLines) {
  struct Case {
    int lines, top, bottom;
    int wantTop, wantBottom;
  } cases[] = {
      {5, 5, 12, -5, 12},       // a top below the top line goes to -Lines
      {5, -12, 200, -12, 100},  // bottom at most 100
      {5, -300, 2, -100, 5},
      {0, 0, 0, 0, 0},
      {255, -12, 12, -100, 100},  // the outer limits win over very many lines
  };
  for (const Case& c : cases) {
    TMusicStaff s;
    s.SetLines(c.lines);
    s.SetBoundaries(c.top, c.bottom);
    EXPECT_EQ(s.GetBoundaryTop(), c.wantTop) << c.lines << " " << c.top;
    EXPECT_EQ(s.GetBoundaryBottom(), c.wantBottom) << c.lines << " " << c.bottom;
  }
  staff.SetBoundaries(-6, 6);
  staff.SetLines(7);  // re-clamps
  EXPECT_EQ(staff.GetBoundaryTop(), -7);
  EXPECT_EQ(staff.GetBoundaryBottom(), 7);
}

TEST_F(MusicStaffTest, LinePositions) {
  struct Case {
    int lines, top, bottom;
  } cases[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 2}, {3, -2, 2}, {4, -2, 4}, {5, -4, 4}, {6, -4, 6}};
  for (const Case& c : cases) {
    staff.SetLines(c.lines);
    EXPECT_EQ(staff.GetTopLinePosition(), c.top) << c.lines;
    EXPECT_EQ(staff.GetBottomLinePosition(), c.bottom) << c.lines;
  }
}

TEST_F(MusicStaffTest, EndingBarStylesTheClosingBarLine) {
  struct Case {
    int code;
    int stored;
    int style;
  } cases[] = {
      {kEndBarSectionClose, 0, kBarSectionClose}, {kEndBarMasterRepeatClose, 1, kBarMasterRepeatClose},
      {kEndBarSingle, 2, kBarSingle},             {kEndBarDouble, 3, kBarDouble},
      {kEndBarOpen, 4, kBarTransparent},          {5, 0, kBarSectionClose},
      {-1, 0, kBarSectionClose},
  };
  Add(Note(kDurQuarter));
  for (const Case& c : cases) {
    staff.GetLastItem()->SetVisibility(kVisNever);
    staff.SetEndingBar(c.code);
    EXPECT_EQ(staff.GetEndingBar(), c.stored) << c.code;
    EXPECT_EQ(BarStyleAt(staff.GetLastIndex()), c.style) << c.code;
    EXPECT_EQ(staff.GetLastItem()->GetVisibility(), kVisDefault) << c.code;
    EXPECT_EQ(BarStyleAt(0), kBarSingle);
  }
}

TEST_F(MusicStaffTest, TextFieldsAreCutOnCharacterBoundaries) {
  const std::u16string forty(40, u'x');
  staff.SetName(forty);
  EXPECT_EQ(std::u16string(staff.GetName()).size(), 31u);
  staff.SetLabelAbbr(forty);
  EXPECT_EQ(std::u16string(staff.GetLabelAbbr()).size(), 11u);
  staff.SetGroup(forty);
  EXPECT_EQ(std::u16string(staff.GetGroup()).size(), 15u);
  // A surrogate pair that would straddle the cut is dropped whole.
  std::u16string name(30, u'a');
  name += u"\U0001D11E";  // two units
  staff.SetName(name);
  EXPECT_EQ(std::u16string(staff.GetName()), std::u16string(30, u'a'));
}

TEST_F(MusicStaffTest, LabelChoiceAndUnderscoreGroup) {
  staff.SetLabel(u"Violin");
  EXPECT_EQ(std::u16string(staff.GetLabel(false)), u"Violin");  // no abbreviation
  staff.SetLabelAbbr(u"Vln.");
  EXPECT_EQ(std::u16string(staff.GetLabel(false)), u"Vln.");
  EXPECT_EQ(std::u16string(staff.GetLabel(true)), u"Violin");
  EXPECT_FALSE(staff.IsGroupUnderscore());
  staff.SetGroup(u"_");
  EXPECT_TRUE(staff.IsGroupUnderscore());
  staff.SetGroup(u"__");
  EXPECT_FALSE(staff.IsGroupUnderscore());
}

TEST_F(MusicStaffTest, PlaybackSettersKeepMidiData) {
  staff.SetChannel(20);
  EXPECT_EQ(staff.GetChannel(), 15);
  staff.SetChannel(-3);
  EXPECT_EQ(staff.GetChannel(), 0);
  staff.SetVolume(300);
  EXPECT_EQ(staff.GetVolume(), 127);
  staff.SetVolume(-1);
  EXPECT_EQ(staff.GetVolume(), -1);
  staff.SetColor(9);
  EXPECT_EQ(staff.GetColor(), 0);
  staff.SetColor(7);
  EXPECT_EQ(staff.GetColor(), 7);
}

TEST_F(MusicStaffTest, PropertiesByIndex) {
  staff.SetName(u"Flute");
  staff.SetLabel(u"Flute 1");
  staff.SetLabelAbbr(u"Fl.");
  staff.SetEndingBar(kEndBarOpen);
  staff.SetBoundaries(-14, 9);
  staff.SetBraceWithNext(true);
  staff.SetMultiPartDotPlacement(true);
  staff.SetColor(3);
  staff.SetMuted(true);
  staff.SetVolume(90);
  staff.SetStereoPan(-1);
  staff.SetDevice(2);
  staff.SetChannel(9);

  struct TextCase {
    int index;
    std::u16string wide;
  } texts[] = {{kStaffPropName, u"Flute"}, {kStaffPropLabel, u"Flute 1"},
               {kStaffPropLabelAbbr, u"Fl."}, {kStaffPropGroup, u"Standard"}};
  for (const TextCase& c : texts) {
    TKVVariant v;
    ASSERT_TRUE(staff.GetProperty(c.index, v)) << c.index;
    ASSERT_NE(v.GetWideString(), nullptr) << c.index;
    EXPECT_EQ(std::u16string(v.GetWideString()), c.wide) << c.index;
  }
  TKVVariant ending;
  ASSERT_TRUE(staff.GetProperty(kStaffPropEndingBar, ending));
  ASSERT_NE(ending.GetString(), nullptr);
  EXPECT_STREQ(ending.GetString(), "Open (hidden)");

  struct NumberCase {
    int index;
    TKVVariant::Type type;
    int value;
  } numbers[] = {
      {kStaffPropBoundaryTop, TKVVariant::kInt, 14},  // absolute value
      {kStaffPropBoundaryBottom, TKVVariant::kInt, 9},
      {kStaffPropLines, TKVVariant::kInt, 5},
      {kStaffPropBracketWithNext, TKVVariant::kBool, 0},
      {kStaffPropBraceWithNext, TKVVariant::kBool, 1},
      {kStaffPropConnectBarsWithNext, TKVVariant::kBool, 0},
      {kStaffPropLayerWithNext, TKVVariant::kBool, 0},
      {kStaffPropMultiPartDotPlacement, TKVVariant::kBool, 1},
      {kStaffPropColor, TKVVariant::kInt, 3},
      {kStaffPropMuted, TKVVariant::kBool, 1},
      {kStaffPropVolume, TKVVariant::kInt, 90},
      {kStaffPropStereoPan, TKVVariant::kInt, -1},
      {kStaffPropDevice, TKVVariant::kInt, 2},
      {kStaffPropChannel, TKVVariant::kInt, 9},
  };
  for (const NumberCase& c : numbers) {
    TKVVariant v;
    ASSERT_TRUE(staff.GetProperty(c.index, v)) << c.index;
    EXPECT_EQ(v.GetType(), c.type) << c.index;
    EXPECT_EQ(v.GetIntValue(), c.value) << c.index;
  }

  TMusicStaff fresh;
  TKVVariant top;
  ASSERT_TRUE(fresh.GetProperty(kStaffPropBoundaryTop, top));
  EXPECT_EQ(top.GetIntValue(), 12);

  for (int outside : {-1, kStaffPropertyCount, 1000}) {
    TKVVariant v;
    v.SetInt(77);
    EXPECT_FALSE(staff.GetProperty(outside, v)) << outside;
    EXPECT_EQ(v.GetIntValue(), 77);
  }
}

TEST_F(MusicStaffTest, LyricsAreMadeOnceAndCleared) {
  TStaffLyrics& lyrics = staff.MakeLyrics();
  EXPECT_EQ(&staff.MakeLyrics(), &lyrics);
  auto line = std::make_unique<TLyricText>();
  line->ParseLine(u"la la", false, true);
  lyrics.Add(std::move(line));
  staff.ClearLyrics();
  ASSERT_EQ(lyrics.GetCount(), 1);
  EXPECT_TRUE(lyrics.GetLine(0)->IsEmpty());
}

TEST_F(MusicStaffTest, AdjustSpacerReportsTheChangeApplied) {
  Add(std::make_unique<TStaffSpacer>(9990));  // 1
  Add(Note(kDurQuarter));                     // 2
  Add(std::make_unique<TClefData>());         // 3
  struct Case {
    int delta, index, applied;
  } cases[] = {
      {100, 1, 9},    // at the spacer, stops at 9999
      {-9, 2, -9},    // the spacer just before
      {-20000, 1, -9990},
      {5, 3, 0},      // no spacer at 3 or 2
      {5, 0, 0},
      {5, 99, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(staff.AdjustSpacer(c.delta, c.index), c.applied) << c.index;
}

TEST_F(MusicStaffTest, ItemSpanOfTheStaff) {
  Add(Note(kDurQuarter));
  const TStaffItemSpan span = GetStaffItems(&staff);
  ASSERT_EQ(span.size(), 3u);
  EXPECT_EQ(span[1].get(), staff.GetItem(1));
  EXPECT_TRUE(GetStaffItems(nullptr).empty());
}

// A staff of known times:
//   0 bar | 1 clef | 2 quarter (0) | 3 eighth (192) | 4 eighth (288) | 5 eighth (384) |
//   6 bar (480) | 7 text (480) | 8 half (480) | 9 rest quarter (864) | 10 bar end (1056)
class StaffTimesTest : public MusicStaffTest {
protected:
  void SetUp() override {
    Add(std::make_unique<TClefData>());
    Add(Note(kDurQuarter));
    Add(Note(kDurEighth));
    Add(Note(kDurEighth));
    Add(Note(kDurEighth));
    Add(Bar(kBarSingle));
    Add(std::make_unique<TTextExpression>());
    Add(Note(kDurHalf));
    Add(std::make_unique<TRestNote>(kDurQuarter, 0));
  }
};

TEST_F(StaffTimesTest, DurationBetweenItems) {
  struct Case {
    int to, from;
    int32_t start;
    int32_t want;
  } cases[] = {
      {6, 3, 0, 288},     // three eighth notes
      {2, 0, 0, 0},
      {3, 0, 0, 192},
      {8, 0, 0, 480},     // the text takes no time
      {9, 0, 0, 864},
      {10, 0, 0, 1056},
      {99, 0, 0, 1056},   // to limited to the last index
      {0, 3, 500, 0},     // a `to` of 0 or less gives 0
      {-4, 3, 500, 0},
      {3, 6, 480, 192},   // backward: minus the items 3..5
      {4, 4, 77, 77},
      {6, 3, 1000, 1288},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(staff.GetDurationBetween(c.to, c.from, c.start), c.want) << c.to << " from " << c.from;
  }
}

TEST_F(StaffTimesTest, IndexAtTime) {
  struct Case {
    int32_t target;
    int fromIndex;
    int32_t fromTicks;
    int want;
  } cases[] = {
      {0, 5, 384, 0},       // a target of 0 or less
      {-5, 5, 384, 0},
      {384, 5, 384, 5},     // already there
      {192, 0, 0, 3},       // forward
      {288, 0, 0, 4},
      {480, 0, 0, 6},       // the first item at 480
      {500, 0, 0, 9},       // inside the half note: the item after it
      {5000, 0, 0, 10},     // past the end: the last index
      {192, 6, 480, 3},     // backward
      {480, 10, 1056, 6},   // backward to 480: after the last item starting before it
      {200, 6, 480, 4},     // backward into the eighth at 192: the item after it
      {10, 2, 192, 0},      // runs past index 1: bad starting time
  };
  for (const Case& c : cases) {
    EXPECT_EQ(staff.FindIndexAtTime(c.target, c.fromIndex, c.fromTicks), c.want)
        << c.target << " from " << c.fromIndex << "@" << c.fromTicks;
  }
}

TEST_F(StaffTimesTest, SearchesByKind) {
  struct Case {
    const char* what;
    int got, want;
  } cases[] = {
      {"next bar forward from 1", staff.FindPrevBar(1, 1), 6},
      {"previous bar from 8", staff.FindPrevBar(8, -1), 6},
      {"previous bar from 5 leaves the range", staff.FindPrevBar(5, -1), 0},
      {"next bar from 6 leaves the range", staff.FindPrevBar(6, 1), 10},
      {"clamped back from 5", staff.FindBarClamped(5, -1), 1},
      {"clamped forward from 7", staff.FindBarClamped(7, 1), 10},
      {"clef back from 9", staff.FindNextOfType(kItemClef, 9, -1), 1},
      {"key nowhere", staff.FindNextOfType(kItemKey, 0, 1), 10},
      {"song note after 5", staff.FindNextSongNote(5, 1), 8},
      {"song note after 8 is the rest", staff.FindNextSongNote(8, 1), 9},
      {"no song note before 2: clamped", staff.FindNextSongNote(2, -1), 0},
      {"no song note after 9: clamped", staff.FindNextSongNote(9, 1), 10},
      {"music note after 8 skips the rest", staff.FindNextMusicNote(8, 1), 10},
      {"music note before 6", staff.FindNextMusicNote(6, -1), 5},
      {"far-off start stays outside", staff.FindNextOfType(kItemClef, -1000000, 1), 0},
      {"no overflow from the largest index", staff.FindNextOfType(kItemClef, INT_MAX, 1), 12},
      {"bar 0", staff.FindBarByNumber(0), 0},
      {"bar 1", staff.FindBarByNumber(1), 6},
      {"bar 2", staff.FindBarByNumber(2), 10},
      {"bar 7: fewer bars", staff.FindBarByNumber(7), 10},
      {"count of notes", staff.CountItemsOfType(kItemNote), 5},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_TRUE(staff.HasMusicNotes());
  EXPECT_FALSE(TMusicStaff().HasMusicNotes());
}

TEST_F(MusicStaffTest, NoteWithMemberAtPosition) {
  Add(Note(kDurQuarter, 2));                           // 1
  auto chord = std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone),
                                            std::make_unique<TMusicNote>(-1, kDurQuarter, 0, kAccNone));
  Add(std::move(chord));                               // 2
  Add(Note(kDurQuarter, 4));                           // 3
  TMusicNote* member = staff.FindNoteWithMemberAt(0, -1, 1);
  ASSERT_NE(member, nullptr);
  EXPECT_EQ(member->GetStaffPos(), -1);
  EXPECT_EQ(staff.FindNoteWithMemberAt(2, 4, 1), staff.GetItem(3));
  EXPECT_EQ(staff.FindNoteWithMemberAt(0, 7, 1), nullptr);
  EXPECT_EQ(staff.FindNoteWithMemberAt(3, 2, -1), staff.GetItem(1));
}

TEST(MusicStaffSuggestClefTest, ByLowNotesAndChannel) {
  struct Case {
    std::vector<int> positions;
    int channel;
    int want;
  } cases[] = {
      {{}, 0, kClefTreble},
      {{-4, 0, 4}, 0, kClefTreble},   // on the treble staff
      {{8, 8}, 0, kClefTreble},       // a sum of 0
      {{9}, 0, kClefBass},
      {{10, 12, 14}, 0, kClefBass},
      {{10, 12, 14}, 9, kClefDrum},   // the drum channel
      {{12, -20}, 9, kClefTreble},    // high notes outweigh
  };
  for (const Case& c : cases) {
    TMusicStaff staff;
    staff.SetChannel(c.channel);
    for (int pos : c.positions) staff.InsertItem(Note(kDurQuarter, pos), staff.GetLastIndex());
    EXPECT_EQ(staff.SuggestClef(), c.want) << c.positions.size() << " notes on " << c.channel;
  }
  // A chord counts by its lowest member.
  TMusicStaff staff;
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(12, kDurQuarter, 0, kAccNone),
                                                std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone)),
                   1);
  EXPECT_EQ(staff.SuggestClef(), kClefBass);
}

// --- play order ---

TEST(MusicStaffPlayTest, LocalRepeatCountsTheRepeatedBarsEachPass) {
  struct Case {
    bool withOpen;
    int repeat;
    int32_t want;  // song position before the item after the repeat
  } cases[] = {
      {false, 2, 192 + 2 * 384},  // back to the staff start
      {true, 2, 192 + 2 * 384},
      {true, 3, 192 + 3 * 384},
      {true, 255, 192 + 255 * 384},
  };
  for (const Case& c : cases) {
    TMusicStaff staff;
    auto add = [&](std::unique_ptr<TNotatedItem> item) { return staff.InsertItem(std::move(item), staff.GetLastIndex()); };
    // Without an opening bar the repeat goes back to item 1, so the first quarter repeats too.
    const int32_t lead = c.withOpen ? 192 : 0;
    add(Note(kDurQuarter));
    if (c.withOpen) add(Bar(kBarLocalRepeatOpen));
    add(Note(kDurQuarter));
    add(Note(kDurQuarter));
    add(Bar(kBarLocalRepeatClose, c.repeat));
    const int after = add(Note(kDurQuarter));
    TStaffContextState state;
    ASSERT_TRUE(staff.GetPlayStateAt(after, state)) << c.repeat;
    const int32_t want = c.withOpen ? c.want : lead + c.repeat * 576;
    EXPECT_EQ(state.GetSongPosition(), want) << c.withOpen << " " << c.repeat;
  }
}

TEST(MusicStaffPlayTest, HostileJumpEndsWithinTheBudget) {
  TMusicStaff staff;
  staff.InsertItem(Note(kDurQuarter), 1);
  staff.InsertItem(std::make_unique<TJumpBackForever>(), 2);
  staff.InsertItem(std::make_unique<TTimeSignatureData>(3, 2), 3);
  const int last = staff.GetLastIndex();
  EXPECT_EQ(staff.GetPlayStepBudget(), TMusicStaff::kPlayStepsPerItem * staff.GetItemCount());

  TStaffContextState state;
  EXPECT_FALSE(staff.GetPlayStateAt(last, state));
  // It walked until the budget ran out: every second step played the quarter note.
  EXPECT_EQ(state.GetSongPosition(), 192 * (staff.GetPlayStepBudget() / 2));

  int clef = 0, timeSig = 0, key = 0;
  staff.FindContextItems(last, &clef, &timeSig, &key);
  EXPECT_EQ(timeSig, -1);
  EXPECT_EQ(staff.FindPrevSameType(3), -1);  // the walk never reaches the time signature
  int beats = 0, exponent = 0;
  staff.GetTimeSigAt(last, beats, exponent);
  EXPECT_EQ(beats, 3);
}

TEST(MusicStaffPlayTest, RealRepeatsAndJumpsEnd) {
  // A local repeat at its largest count inside a master repeat, then a D.C.: the section plays
  // three times (twice by the master repeat, once more after the jump, where repeats rest),
  // each time the repeated quarter 255 times and the next quarter once.
  TMusicStaff staff;
  auto add = [&](std::unique_ptr<TNotatedItem> item) { return staff.InsertItem(std::move(item), staff.GetLastIndex()); };
  add(Bar(kBarMasterRepeatOpen));
  add(Bar(kBarLocalRepeatOpen));
  add(Note(kDurQuarter));
  add(Bar(kBarLocalRepeatClose, 255));
  add(Note(kDurQuarter));
  add(Bar(kBarMasterRepeatClose));
  add(std::make_unique<TFlowDirection>(kFlowDaCapo));
  const int end = add(Note(kDurQuarter));
  TStaffContextState state;
  ASSERT_TRUE(staff.GetPlayStateAt(end, state));
  EXPECT_EQ(state.GetSongPosition(), 3 * 256 * 192);
}

TEST(MusicStaffPlayTest, ContextItemsInPlayOrder) {
  TMusicStaff staff;
  auto add = [&](std::unique_ptr<TNotatedItem> item) { return staff.InsertItem(std::move(item), staff.GetLastIndex()); };
  const int clef1 = add(std::make_unique<TClefData>(kClefTreble));
  const int key = add(std::make_unique<TKeyData>(1, 0, 2));
  const int time = add(std::make_unique<TTimeSignatureData>(3, 2));
  add(Note(kDurQuarter));
  const int clef2 = add(std::make_unique<TClefData>(kClefBass));
  const int note = add(Note(kDurQuarter));

  int c = 0, t = 0, k = 0;
  staff.FindContextItems(note, &c, &t, &k);
  EXPECT_EQ(c, clef2);
  EXPECT_EQ(t, time);
  EXPECT_EQ(k, key);
  staff.FindContextItems(key, &c, &t, &k);
  EXPECT_EQ(c, clef1);
  EXPECT_EQ(t, -1);
  EXPECT_EQ(k, -1);
  staff.FindContextItems(note, nullptr, nullptr, nullptr);  // null outputs are allowed

  EXPECT_EQ(staff.FindPrevSameType(clef2), clef1);
  EXPECT_EQ(staff.FindPrevSameType(clef1), -1);
  EXPECT_EQ(staff.FindPrevSameType(note), note - 2);
  EXPECT_EQ(staff.FindPrevSameType(-1), -1);
  EXPECT_EQ(staff.FindPrevSameType(1000), -1);
}

TEST(MusicStaffPlayTest, TimeSignatureInForce) {
  TMusicStaff staff;
  auto add = [&](std::unique_ptr<TNotatedItem> item) { return staff.InsertItem(std::move(item), staff.GetLastIndex()); };
  const int first = add(Note(kDurQuarter));
  add(std::make_unique<TTimeSignatureData>(3, 2));
  const int afterSig = add(Note(kDurQuarter));
  add(std::make_unique<TTimeSignatureData>(6, 3));
  add(std::make_unique<TSpecialEnding>());
  const int afterEnding = add(Note(kDurQuarter));

  struct Case {
    int index;
    int beats, exponent;
  } cases[] = {
      {first, 4, 2},        // none before: 4/4
      {afterSig, 3, 2},
      {afterEnding, 6, 3},  // behind the ending: the one in force in play order
      {0, 4, 2},
      {1000, 6, 3},
  };
  for (const Case& c : cases) {
    int beats = 0, exponent = 0;
    staff.GetTimeSigAt(c.index, beats, exponent);
    EXPECT_EQ(beats, c.beats) << c.index;
    EXPECT_EQ(exponent, c.exponent) << c.index;
  }
}

TEST(MusicStaffPlayTest, InitContextStateLoadsTheStaff) {
  TMusicStaff staff;
  staff.SetChannel(5);
  staff.SetDevice(3);
  staff.GetInstrument().SetTransposition(-12);
  TStaffContextState state;
  state.SetSongPosition(999);
  staff.InitContextState(state);
  EXPECT_EQ(state.GetChannel(), 5);
  EXPECT_EQ(state.GetPort(), 3);
  EXPECT_EQ(state.GetTransposition(), -12);
  EXPECT_EQ(state.GetSongPosition(), 0);
}

struct ChannelEvent {
  int command, data1, data2;
  friend bool operator==(const ChannelEvent&, const ChannelEvent&) = default;
};

std::vector<ChannelEvent> EventsOn(const TMidiFileBuf& buffer, int port, int channel) {
  std::vector<ChannelEvent> out;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiSongEvent& e = buffer.GetEvent(i);
    EXPECT_EQ(e.time, 0u);
    EXPECT_EQ(e.msg.GetPort(), port);
    EXPECT_EQ(e.msg.GetChannel(), channel);
    out.push_back({e.msg.GetCommand(), e.msg.GetData1(), e.msg.GetData2()});
  }
  return out;
}

TEST(MusicStaffPlayTest, StaffSetupEvents) {
  const ChannelEvent cc7{kMidiControlChange, 7, 100}, cc10{kMidiControlChange, 10, 30};
  const ChannelEvent bendCentre{kMidiPitchBend, 0, 64};
  const ChannelEvent program{kMidiProgramChange, 40, 0};
  struct Case {
    const char* what;
    int patch, bendRange, volume, pan;
    std::vector<ChannelEvent> want;
  } cases[] = {
      {"volume and pan only", -1, -1, 100, 30, {cc7, cc10}},
      {"none sent", -1, -1, -1, -1, {}},
      {"patch", 40, -1, 100, -1, {program, bendCentre, cc7}},
      {"bend range",
       -1, 2, -1, 30,
       {{kMidiControlChange, 101, 0}, {kMidiControlChange, 100, 0}, {kMidiControlChange, 6, 2},
        {kMidiControlChange, 38, 0}, {kMidiControlChange, 101, 127}, {kMidiControlChange, 100, 127},
        bendCentre, cc10}},
  };
  for (const Case& c : cases) {
    TMusicStaff staff;
    staff.SetChannel(3);
    staff.SetDevice(1);
    staff.GetInstrument().SetPatch(c.patch);
    staff.GetInstrument().SetBendRange(c.bendRange);
    staff.SetVolume(c.volume);
    staff.SetStereoPan(c.pan);
    TMidiFileBuf buffer;
    TStaffContextState state;
    staff.EmitStaffSetup(&buffer, state);
    EXPECT_EQ(EventsOn(buffer, 1, 3), c.want) << c.what;
    EXPECT_EQ(state.GetChannel(), 3) << c.what;
  }
  TMusicStaff staff;
  TStaffContextState state;
  staff.EmitStaffSetup(nullptr, state);  // no store: nothing to write, state still set up
  EXPECT_EQ(state.GetSongPosition(), 0);
}

}  // namespace
}  // namespace kvt
