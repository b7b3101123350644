#include "notation/items/item_cast.h"
#include "notation/files/text/score_text_item_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/files/text/score_text_writer.h"
#include "tests/notation/score_text_items.h"

namespace kvt {
namespace {

using score_text_test::kItemCases;
using score_text_test::TItemCase;
using score_text_test::TItemPtr;

class ItemRoundTripTest : public ::testing::TestWithParam<TItemCase> {};

// Written, read back and written again, an item gives the same line in both modes.
TEST_P(ItemRoundTripTest, LineReadsBackToTheSameLine) {
  const TItemPtr item = GetParam().make();
  ASSERT_TRUE(item);
  for (int mode : {kTextModeScore, kTextModeLone}) {
    const std::string line = FormatItemLine(*item, mode);
    TKVTFindTextImporter importer;
    const TItemPtr copy = importer.ReadItemLine(line, 0);
    ASSERT_TRUE(copy) << line;
    EXPECT_EQ(copy->GetType(), item->GetType()) << line;
    EXPECT_EQ(FormatItemLine(*copy, mode), line);
    EXPECT_EQ(FormatItemLine(*copy, 1 - mode), FormatItemLine(*item, 1 - mode));
    EXPECT_FALSE(importer.IsLenient() || importer.IsCorrupt()) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, ItemRoundTripTest, ::testing::ValuesIn(kItemCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// Lines as other writers (tools, older versions, damaged files) may give them: what each reads
// as, written back in mode 0, and whether reading it had to bound or guess.
struct TLineCase {
  const char* in;
  const char* out;  // null: the line makes no item
  bool lenient;     // the reader bounded or defaulted something (no data is lost)
};

const TLineCase kLineCases[] = {
    // Endings: VertOffset 3 stores -2 and writes 3 again; a negative height reads as 0.
    {"|Ending|Endings:2|VertOffset:3|BracketHeight:-5", "|Ending|Endings:2|BracketHeight:0|VertOffset:3", true},
    {"|Ending|Endings:d,8,1|BracketOffsetNP:-4", "|Ending|Endings:1,D|VertOffset:5", false},
    {"|Ending|BracketOffsetNP:-4|VertOffset:2", "|Ending|VertOffset:2", false},
    // Head shape 15 ("j") reads as 13 ("h"); an unknown head letter reads as 0 and stays unread.
    {"|Note|Dur:4th|Pos:3j", "|Note|Dur:4th|Pos:3h", false},
    {"|Note|Dur:4th|Pos:b3%^", "|Note|Dur:4th|Pos:b3", true},
    {"|Note|Dur:Quarter,Dotted,Triplet=None,Unknown|Pos:-2", "|Note|Dur:4th,Dotted|Pos:-2", false},
    {"|Note", "|Note|Dur:4th|Pos:0", false},
    {"|note|dur:8th,triplet=first|pos:1|opts:stem=sideways,beam=bogus,lyric=always", "|Note|Dur:8th,Triplet=First|Pos:1|Opts:Stem=Down,Lyric=Always,Beam", false},
    {"|Note|Dur:4th|Pos:1|Opts:Slur=Sideways", "|Note|Dur:4th|Pos:1", true},
    // Bars: a repeat count of 1 reads as 2, an absent one as 1, "***" as Transparent.
    {"|Bar|Style:LocalRepeatClose|Repeat:1", "|Bar|Style:LocalRepeatClose|Repeat:2", true},
    {"|Bar|Style:LocalRepeatClose", "|Bar|Style:LocalRepeatClose|Repeat:2", false},
    {"|Bar|Style:***", "|Bar|Style:Transparent", false},
    {"|Bar|XBarCnt:yes|SysBreak:no", "|Bar|XBarCnt:Y", false},
    // Multi-bar rests: WhenHidden names exactly what is shown.
    {"|RestMultiBar|NumBars:4|PrintOnce:y", "|RestMultiBar|NumBars:4|PrintOnce:Y", false},
    {"|RestMultiBar", "|RestMultiBar|NumBars:1|PrintOnce:N", false},
    // Chords: a single stem writes every member in Pos; one member is a note; a refused
    // unison stops the chord.
    {"|Chord|Dur:4th|Pos:2", "|Note|Dur:4th|Pos:2", false},
    {"|Chord|Dur:4th", nullptr, false},
    {"|Chord|Dur:4th|Pos:-1,1,3,1|Color:2", "|Chord|Dur:4th|Pos:-1,1,3|Color:2", true},
    {"|Chord|Dur:4th|Pos:2|Opts:Stem=Down|Dur2:8th|Pos2:-2", "|Note|Dur:4th|Pos:2|Opts:Stem=Down", true},
    // A refusal that leaves one member gives the note, which is what that chord's text reads
    // back as (found by fuzzing).
    {"|Chord|Dur:4th|Pos:-4|Opts:Stem=Up|Dur2:4th|Pos2:6", "|Note|Dur:4th|Pos:-4|Opts:Stem=Up", true},
    // Rest chords: without part notes a plain rest; a part shorter than the rest is not used.
    {"|RestChord|Dur:Half|Opts:HideRest", "|Rest|Dur:Half", false},
    {"|RestChord|Dur:Half|Dur2:4th|Pos2:3", "|Rest|Dur:Half", true},
    {"|RestChord|Dur:4th|Opts:VertOffset=2500|Dur2:4th|Pos2:3",
     "|RestChord|Dur:4th|Opts:Stem=Up,HideRest|Dur2:4th|Pos2:3", false},
    {"|Rest|Dur:4th|Opts:HideRest,VertOffset=-3", "|Rest|Dur:4th|Opts:VertOffset=-3", false},
    // Keys: the tonic follows the signature when it is missing; odd values are skipped.
    {"|Key|Signature:Bb,Eb,Ab", "|Key|Signature:Bb,Eb,Ab|Tonic:E", false},
    {"|Key|Signature:C#,F#,Hb,x|Tonic:Z", "|Key|Signature:F#,C#|Tonic:D", true},
    // Required fields.
    {"|Clef|OctaveShift:Octave Up", nullptr, false},
    {"|Clef|Type:TREBLE|AutoSys:no", "|Clef|Type:Treble|AutoSys:N", false},
    {"|TimeSig|Signature:Standard", nullptr, false},
    {"|TimeSig|Signature:6/8", "|TimeSig|Signature:6/8", false},
    {"|TimeSig|Signature:5/6", "|TimeSig|Signature:5/4", true},
    {"|Tempo|Base:Half", nullptr, false},
    {"|Tempo|Tempo:2", "|Tempo|Tempo:4|Pos:10", true},
    {"|Text|Text:\"\"", nullptr, false},
    {"|Text|Text:\"x\"|Font:Gothic", "|Text|Text:\"x\"|Font:StaffSymbols|Pos:8", true},
    {"|Dynamic|Style:mf|Opts:Velocity,Volume=,Tempo=3,Velocity=200", "|Dynamic|Style:mf|Opts:Velocity=127|Pos:-8", true},
    // Expression fields: an absent Wide is off, even where the kind's default is on.
    {"|Flow|Style:Coda", "|Flow|Style:Coda|Pos:8", false},
    {"|SustainPedal|Status:released|Pos:-2.5|Justify:center", "|SustainPedal|Status:Released|Pos:-2.5|Justify:Center", false},
    // Controllers: TimeRes in either list; a point without time; a point that adds nothing.
    {"|MPC|Controller:pan|TimeRes:8th|SweepRes:0|Pt1:64|Pt2:0,64|Pt3:2,10",
     "|MPC|Controller:pan|Style:Absolute|TimeRes:Eighth|SweepRes:1|Pt1:0,64|Pt2:2,10|Pos:8", true},
    // Boundaries: both sizes 0 give Upper 8; an unknown style is Reset.
    {"|Boundary|Style:NewSize", "|Boundary|Style:NewSize|Upper:8", false},
    {"|Boundary|Style:Shrink", "|Boundary|Style:Reset", true},
    {"|Boundary|Style:Gap", "|Boundary|Style:Gap|Width:200|SystemConnections:N", false},
    {"|Spacer", "|Spacer|Width:50", false},
    {"|Spacer|Width:12000", "|Spacer|Width:9999", true},
    {"|Marker|Target:", "|Marker|Pos:0", false},
    {"|Marker|Pos:1e-30|Target:Triplet,Bogus", "|Marker|Pos:0|Target:Triplet", true},
    {"|Marker|Pos:nan", "|Marker|Pos:0", true},
    // Instruments: the bank needs a patch; a bend range of 0 is one in every version but 2.7497.
    {"|Instrument|Bank:3,4|BendRange:0", "|Instrument|Trans:0|BendRange:0|DynVel:10,30,45,60,75,92,108,127|Pos:8", false},
    {"|Instrument|Patch:N|Trans:300", "|Instrument|Trans:127|DynVel:10,30,45,60,75,92,108,127|Pos:8", true},
    {"|Instrument|Patch:5|Bank:1|DynVel:1,2", "|Instrument|Patch:5|Bank:N|Trans:0|DynVel:1,2,45,60,75,92,108,127|Pos:8", true},
    // Unknown records are user objects of that type; the reserved names keep their case.
    {"|Glissando|Pos:-2|Len:5", "|User|Glissando|Pos:-2|Len:5", false},
    // A record name that no user object type can carry makes no item (found by fuzzing: the
    // name written back as a type would read as a property).
    {"|Odd:name|x:1", nullptr, false},
    {"|Od/d|x:1", nullptr, false},
    {"|User|Pos:3|a:1", "|User|Null|Pos:3|a:1", true},
    {"|User|T|Class:StaffSig|POS:x|color:2|Color:3", "|User|T|Pos:7|Class:StaffSig|POS:x|color:2|Color:3", false},
    {"|User|T|:x|novalue|Visibility:Never", "|User|T|Pos:7|Visibility:Never", false},
};

TEST(ScoreTextItemReaderTest, LinesFromOtherWriters) {
  for (const TLineCase& c : kLineCases) {
    TKVTFindTextImporter importer;
    const TItemPtr item = importer.ReadItemLine(c.in, 0);
    if (!c.out) {
      EXPECT_FALSE(item) << c.in;
      continue;
    }
    ASSERT_TRUE(item) << c.in;
    EXPECT_EQ(FormatItemLine(*item, kTextModeScore), c.out) << c.in;
    EXPECT_EQ(importer.IsLenient(), c.lenient) << c.in;
    EXPECT_FALSE(importer.IsCorrupt()) << c.in;
  }
}

TEST(ScoreTextItemReaderTest, BendRangeZeroIsNoneOnlyInVersion27497) {
  TKVTFindTextImporter importer;
  const TItemPtr item = importer.ReadItemLine("|Instrument|Patch:1|BendRange:0", 2.7497);
  ASSERT_TRUE(item);
  EXPECT_FALSE(ItemRef<TPatchData>(*item).GetInstrument().HasBendRange());
}

TEST(ScoreTextItemReaderTest, PlaceholderShowsTheStartOfTheLine) {
  TKVTFindTextImporter importer;
  const TItemPtr item = importer.MakeLineTextItem("\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xB5 is a long line of words");
  EXPECT_EQ(FormatItemLine(*item, kTextModeScore),
            "|Text|Text:\"\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xB5 is a long line of\"|Font:StaffBold|Pos:8|Wide:Y");
}

// Only notes become chord members, whatever the positions hold.
TEST(ScoreTextItemReaderTest, ChordMembersAreNotes) {
  TKVTFindTextImporter importer;
  const TItemPtr item = importer.ReadItemLine("|Chord|Dur:4th|Pos:Rest,,3,x,-1^!2", 0);
  ASSERT_TRUE(item);
  ASSERT_EQ(item->GetType(), kItemChord);
  for (int i = 0; i < item->GetMemberCount(); ++i) EXPECT_EQ(item->GetMember(i)->GetType(), kItemNote);
  EXPECT_TRUE(importer.IsLenient());
}

}  // namespace
}  // namespace kvt
