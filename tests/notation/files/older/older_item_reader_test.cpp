#include "notation/items/item_cast.h"
#include "notation/files/older/older_item_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "tests/notation/layout_bytes.h"
#include "tests/notation/older_layout_fixture.h"
#include "tests/utils/byte_vector_stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

using test::NoteRecord;
using test::TLayoutBytes;

// One record, how it reads: the kind (-1 for none), whether values had to be bounded,
// whether the stream failed, and what the item holds.
struct ItemCase {
  const char* name;
  int version;
  std::string bytes;
  int type;
  bool faults;
  bool failed;
  std::function<void(const TNotatedItem&)> check;
};
void PrintTo(const ItemCase& c, std::ostream* os) { *os << c.name; }

template <typename T>
std::function<void(const TNotatedItem&)> As(std::function<void(const T&)> check) {
  return [check](const TNotatedItem& item) { check(static_cast<const T&>(item)); };
}

// An expression part of version 11 to 33: position byte and flags byte.
TLayoutBytes Expression(int type, int common = 0, int pos = -8, int flags = 0) {
  return std::move(TLayoutBytes().U16(type).U8(common).U8(pos).U8(flags));
}

std::string ChordRecord(const std::vector<std::string>& members) {
  TLayoutBytes b;
  b.U16(10).U8(0).U16(2).U16(0).U16(0).U16(0x0500).U16(static_cast<int>(members.size()));
  for (const std::string& m : members) b.Raw(m);
  return b.Bytes();
}

std::string RestChordRecord(const std::string& part) {
  return TLayoutBytes().U16(18).U8(0).U16(2).U16(0).U16(0).U16(0).U16(1).Raw(part).Bytes();
}

class OlderItemRecords : public testing::TestWithParam<ItemCase> {};

TEST_P(OlderItemRecords, ReadAsTheTableSays) {
  const ItemCase& c = GetParam();
  TScoreFileHeader header;
  header.formatVersion = c.version;
  TByteVectorStream stream(c.bytes);
  std::unique_ptr<TNotatedItem> item = ReadItem(header, stream);
  EXPECT_EQ(stream.IsFailed(), c.failed);
  EXPECT_EQ(header.dataFaults > 0, c.faults) << header.dataFaults;
  if (c.type < 0) {
    EXPECT_EQ(item, nullptr);
    return;
  }
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetType(), c.type);
  EXPECT_EQ(stream.Tell(), stream.Size()) << "the record is read whole";
  if (c.check) c.check(*item);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OlderItemRecords,
    testing::Values(
        ItemCase{"ClefTypeOutOfRange", 16, TLayoutBytes().U16(0).U8(0).U16(7).U16(0).Bytes(),
                 kItemClef, true, false,
                 As<TClefData>([](const TClefData& c) { EXPECT_EQ(c.GetClefType(), kClefTreble); })},
        ItemCase{"ClefAutoSysBit", 27, TLayoutBytes().U16(0).U8(0).U16(1).U16(0x11).Bytes(),
                 kItemClef, false, false, As<TClefData>([](const TClefData& c) {
                   EXPECT_EQ(c.GetOctaveShift(), kOctaveShiftUp);
                   EXPECT_FALSE(c.IsAutoSys());
                 })},
        ItemCase{"HiddenClefBefore27HasNoAutoSys", 16,
                 TLayoutBytes().U16(0).U8(3).U16(1).U16(0).Bytes(), kItemClef, false, false,
                 As<TClefData>([](const TClefData& c) {
                   EXPECT_EQ(c.GetVisibility(), kVisNever);
                   EXPECT_FALSE(c.IsAutoSys());
                 })},
        ItemCase{"CommonByteBefore29", 16, test::BarRecord(0, 2 | 5 << 3), kItemBarLine, false,
                 false, [](const TNotatedItem& i) {
                   EXPECT_EQ(i.GetVisibility(), kVisTopStaff);
                   EXPECT_EQ(i.GetColor(), 5);
                 }},
        ItemCase{"CommonByteFrom29OutOfRange", 29, test::BarRecord(0, 7 | 9 << 4), kItemBarLine,
                 true, false, [](const TNotatedItem& i) {
                   EXPECT_EQ(i.GetVisibility(), kVisDefault);
                   EXPECT_EQ(i.GetColor(), 0);
                 }},
        ItemCase{"BarStylesRaisedBefore26", 16, test::BarRecord(3 | 0x80 | 3 << 8), kItemBarLine,
                 false, false, As<TBarLineData>([](const TBarLineData& b) {
                   EXPECT_EQ(b.GetStyle(), kBarSectionClose);
                   EXPECT_TRUE(b.IsSysBreak());
                 })},
        ItemCase{"BarStylesAsTheyAreFrom26", 30, test::BarRecord(7 | 0x40 | 3 << 8), kItemBarLine,
                 false, false, As<TBarLineData>([](const TBarLineData& b) {
                   EXPECT_EQ(b.GetStyle(), kBarLocalRepeatClose);
                   EXPECT_EQ(b.GetRepeat(), 3);
                   EXPECT_TRUE(b.IsXBarCnt());
                 })},
        ItemCase{"BarStyleOutOfRange", 30, test::BarRecord(20), kItemBarLine, true, false,
                 As<TBarLineData>([](const TBarLineData& b) { EXPECT_EQ(b.GetStyle(), kBarSingle); })},
        ItemCase{"KeyMasksOverlap", 16,
                 TLayoutBytes().U16(1).U8(0).U16(0x21).U16(0x20).U16(9).U16(0).U16(0).Bytes(),
                 kItemKey, true, false, As<TKeyData>([](const TKeyData& k) {
                   EXPECT_EQ(k.GetFlatsMask() & k.GetSharpsMask(), 0);
                   EXPECT_EQ(k.GetClef(), 0);
                 })},
        ItemCase{"KeyTonicDerivedBefore26", 16,
                 TLayoutBytes().U16(1).U8(0).U16(0).U16(0x20).U16(0).U16(0).U16(0).Bytes(),
                 kItemKey, false, false,
                 As<TKeyData>([](const TKeyData& k) { EXPECT_EQ(k.GetTonic(), TKeyData::MajorTonic(1)); })},
        ItemCase{"TimeSigZeroBeats", 16, TLayoutBytes().U16(5).U8(0).U16(0).U16(2).U16(0).Bytes(),
                 kItemTimeSig, true, false,
                 As<TTimeSignatureData>([](const TTimeSignatureData& t) { EXPECT_EQ(t.GetBeats(), 1); })},
        ItemCase{"TimeSigTooManyBeats", 16,
                 TLayoutBytes().U16(5).U8(0).U16(300).U16(9).U16(0).Bytes(), kItemTimeSig, true,
                 false, As<TTimeSignatureData>([](const TTimeSignatureData& t) {
                   EXPECT_EQ(t.GetBeats(), 128);
                   EXPECT_EQ(t.GetBeatExponent(), 5);
                 })},
        ItemCase{"TempoZero", 24, Expression(6).U16(0).U8(2).Str("").Bytes(), kItemTempo, true,
                 false, As<TTempoData>([](const TTempoData& t) { EXPECT_EQ(t.GetTempo(), kMinTempo); })},
        ItemCase{"TempoInQuartersBefore24", 16, Expression(6).U16(60).U8(0).Str("Lento").Bytes(),
                 kItemTempo, false, false, As<TTempoData>([](const TTempoData& t) {
                   EXPECT_EQ(t.GetTempo(), 120);
                   EXPECT_EQ(t.GetBase(), kTempoEighth);
                   EXPECT_EQ(t.GetText(), u"Lento");
                 })},
        ItemCase{"TempoNamedBefore11", 5,
                 TLayoutBytes().U16(6).U16(static_cast<uint16_t>(-6)).U16(100).U16(2).U16(0x20 | 8 | 0x40).Bytes(),
                 kItemTempo, false, false, As<TTempoData>([](const TTempoData& t) {
                   EXPECT_EQ(t.GetText(), u"Allegro");
                   EXPECT_TRUE(t.IsWide());
                   EXPECT_EQ(t.GetPos(), -6.0f);
                 })},
        ItemCase{"DynamicLevelOutOfRange", 16, Expression(7).U8(12 | 0x20).U16(300).U16(0x2000).Bytes(),
                 kItemDynamic, true, false, As<TDynamicLevelData>([](const TDynamicLevelData& d) {
                   EXPECT_EQ(d.GetLevel(), kDynFFF);
                   EXPECT_EQ(d.GetVelocity(), 127);
                   EXPECT_FALSE(d.HasVolume());
                   EXPECT_EQ(d.GetVolume(), 127);
                 })},
        ItemCase{"ExpressionHundredthsFrom34", 34,
                 TLayoutBytes().U16(16).U8(0).U8(static_cast<uint8_t>(-3)).U8(25).U8(1 | 2 << 1 | 3 << 3).U8(4).Bytes(),
                 kItemPerformanceStyle, false, false,
                 As<TPerformanceStyle>([](const TPerformanceStyle& p) {
                   EXPECT_FLOAT_EQ(p.GetPos(), -3.25f);
                   EXPECT_TRUE(p.IsWide());
                   EXPECT_EQ(p.GetJustify(), kJustifyRight);
                   EXPECT_EQ(p.GetPlacement(), kPlaceAtNextNote);
                   EXPECT_EQ(p.GetStyle(), 4);
                 })},
        ItemCase{"PerformanceStyleOutOfRange", 16, Expression(16).U8(30).Bytes(),
                 kItemPerformanceStyle, true, false,
                 As<TPerformanceStyle>([](const TPerformanceStyle& p) { EXPECT_EQ(p.GetStyle(), 0); })},
        ItemCase{"FlowStyleOutOfRange", 16, Expression(12).U16(15).Bytes(), kItemFlow, true, false,
                 As<TFlowDirection>([](const TFlowDirection& f) { EXPECT_EQ(f.GetStyle(), kFlowCoda); })},
        ItemCase{"ControllerOutOfRange", 16,
                 Expression(13).U16(30).U16(1).U16(3).U16(2).U16(0).U16(0).U16(64).U16(1).U16(4).U16(100).U16(0).U16(0).U16(0).U16(0).U16(0).U16(0).Bytes(),
                 kItemGenericControl, true, false, As<TGenericControl>([](const TGenericControl& m) {
                   EXPECT_EQ(m.GetController(), 0);
                   EXPECT_EQ(m.GetActivePointCount(), 2);
                   EXPECT_EQ(m.GetPointValue(1), 100);
                 })},
        ItemCase{"TempoVarianceRaisedBefore26", 16, Expression(14).U8(1).U8(6).Bytes(),
                 kItemTempoVariance, false, false, As<TTempoVariance>([](const TTempoVariance& t) {
                   EXPECT_EQ(t.GetStyle(), kTempoVarFermata);
                   EXPECT_EQ(t.GetPause(), 6);
                   EXPECT_EQ(t.GetPlacement(), kPlaceAtNextNote);
                   EXPECT_EQ(t.GetJustify(), kJustifyCenter);
                 })},
        ItemCase{"EmptyText", 16, Expression(17).U8(1).Str("").Bytes(), kItemText, false, false,
                 As<TTextExpression>([](const TTextExpression& t) {
                   EXPECT_EQ(t.GetText(), u"text");
                   EXPECT_EQ(t.GetVisibility(), kVisNever);
                   EXPECT_EQ(t.GetFontIndex(), kTextFontStaffSymbols);
                   EXPECT_TRUE(t.IsWide());
                 })},
        ItemCase{"TextFontRaisedBefore26", 16, Expression(17).U8(1).Str("Solo \xe9").Bytes(),
                 kItemText, false, false, As<TTextExpression>([](const TTextExpression& t) {
                   EXPECT_EQ(t.GetFontIndex(), kTextFontStaffBold);
                   EXPECT_EQ(t.GetText(), u"Solo \u00e9");
                 })},
        ItemCase{"TextFontOutOfRange", 33, Expression(17).U8(40).Str("x").Bytes(), kItemText, true,
                 false, As<TTextExpression>([](const TTextExpression& t) {
                   EXPECT_EQ(t.GetFontIndex(), kTextFontStaffSymbols);
                 })},
        ItemCase{"NoteAccidentalOutOfRange", 16, NoteRecord(2, 3, 0, 0, 0, 7), kItemNote, true,
                 false, As<TMusicNote>([](const TMusicNote& n) {
                   EXPECT_EQ(n.GetAccidental(), kAccNone);
                   EXPECT_EQ(n.GetStaffPos(), 3);
                 })},
        ItemCase{"NoteDurationOutOfRange", 16, NoteRecord(9, 0), kItemNote, true, false,
                 As<TMusicNote>([](const TMusicNote& n) { EXPECT_EQ(n.GetDurationCode(), kDurQuarter); })},
        ItemCase{"NoteFlags", 16,
                 NoteRecord(3, -4, 0x0003 | 0x0010 | 0x0020 | 0x0100 | 0x0400 | 0x2000, 1 | 2 << 4 | 2 << 7),
                 // Accent, staccato and tenuto never stand together: tenuto goes, counted.
                 kItemNote, true, false, As<TMusicNote>([](const TMusicNote& n) {
                   EXPECT_TRUE(n.IsDblDotted());
                   EXPECT_TRUE(n.HasNoteFlag(kFlagStaccato));
                   EXPECT_TRUE(n.IsTieOut());
                   EXPECT_TRUE(n.HasNoteFlag(kFlagAccent));
                   EXPECT_TRUE(n.IsSlurOut());
                   EXPECT_FALSE(n.HasNoteFlag(kFlagTenuto));
                   EXPECT_TRUE(n.IsGrace());
                   EXPECT_EQ(n.GetBeamState(), kGroupFirst);
                   EXPECT_EQ(n.GetStemSetting(), kStemDown);
                   EXPECT_EQ(n.GetLyric(), kLyricNever);
                 })},
        ItemCase{"MarcatoAndStaccatissimoFrom26", 26, NoteRecord(2, 0, 0x0022, 0x6000), kItemNote,
                 false, false, As<TMusicNote>([](const TMusicNote& n) {
                   EXPECT_TRUE(n.HasNoteFlag(kFlagMarcato));
                   EXPECT_TRUE(n.HasNoteFlag(kFlagStaccatissimo));
                   EXPECT_FALSE(n.HasNoteFlag(kFlagAccent));
                 })},
        ItemCase{"ChordOfNotes", 16, ChordRecord({NoteRecord(2, 2), NoteRecord(2, -2)}), kItemChord,
                 false, false, [](const TNotatedItem& i) { EXPECT_EQ(i.GetMemberCount(), 2); }},
        ItemCase{"ChordOfOneNoteIsANote", 16, ChordRecord({NoteRecord(2, 2)}), kItemNote, false,
                 false, [](const TNotatedItem& i) {
                   EXPECT_EQ(i.GetStaffPos(), 2);
                   EXPECT_FALSE(ItemRef<TMusicNote>(i).IsChordMember());
                 }},
        ItemCase{"ChordMemberThatIsAChordIsDropped", 16,
                 ChordRecord({NoteRecord(2, 2), ChordRecord({NoteRecord(2, 0), NoteRecord(2, 4)}),
                              NoteRecord(2, -2)}),
                 kItemChord, true, false, [](const TNotatedItem& i) { EXPECT_EQ(i.GetMemberCount(), 2); }},
        ItemCase{"ChordMemberThatIsAOneNoteChordIsDropped", 16,
                 ChordRecord({NoteRecord(2, 2), ChordRecord({NoteRecord(2, 0)}), NoteRecord(2, -2)}),
                 kItemChord, true, false, [](const TNotatedItem& i) { EXPECT_EQ(i.GetMemberCount(), 2); }},
        ItemCase{"ChordMemberThatIsAClefIsDropped", 16,
                 ChordRecord({NoteRecord(2, 2), TLayoutBytes().U16(0).U8(0).U16(1).U16(0).Bytes(),
                              NoteRecord(2, -1)}),
                 kItemChord, true, false, [](const TNotatedItem& i) { EXPECT_EQ(i.GetMemberCount(), 2); }},
        ItemCase{"ChordWithoutMembersIsDropped", 16, ChordRecord({}), -1, true, false, nullptr},
        ItemCase{"ChordNestedTooDeep", 16,
                 RestChordRecord(ChordRecord({ChordRecord({ChordRecord({NoteRecord(2, 0)})})})), -1,
                 true, true, nullptr},
        ItemCase{"RestChordWithAChordPart", 16,
                 RestChordRecord(ChordRecord({NoteRecord(2, 2), NoteRecord(2, -2)})), kItemRestChord,
                 false, false, [](const TNotatedItem& i) { EXPECT_EQ(i.GetMemberCount(), 2); }},
        ItemCase{"RestChordWithAClefPart", 16,
                 RestChordRecord(TLayoutBytes().U16(0).U8(0).U16(1).U16(0).Bytes()), kItemRestChord,
                 true, false, [](const TNotatedItem& i) { EXPECT_FALSE(i.HasNotes()); }},
        ItemCase{"RestChordHiddenRest", 16,
                 TLayoutBytes().U16(18).U8(0).U16(2).U16(0).U16(0).U16(2500).U16(0).Bytes(),
                 kItemRestChord, false, false, [](const TNotatedItem& i) {
                   EXPECT_TRUE(i.AsRest()->GetHideRest());
                   EXPECT_EQ(i.AsRest()->GetVertOffset(), 0);
                 }},
        ItemCase{"RestOffsetOutOfRange", 16,
                 TLayoutBytes().U16(9).U8(0).U16(2).U16(0).U16(0).U16(2500).Bytes(), kItemRest,
                 true, false, [](const TNotatedItem& i) { EXPECT_EQ(i.AsRest()->GetVertOffset(), 2000); }},
        ItemCase{"UserObjectHasNoOlderForm", 16, TLayoutBytes().U16(19).U8(0).Bytes(), -1, false,
                 true, nullptr},
        ItemCase{"UnknownTypeCode", 16, TLayoutBytes().U16(24).U8(0).Bytes(), -1, false, true,
                 nullptr},
        ItemCase{"EndOfDataIsNoFault", 16, std::string(), -1, false, false, nullptr}),
    [](const testing::TestParamInfo<ItemCase>& info) { return std::string(info.param.name); });

TEST(OlderItemReader, AChordCountWithoutCapStopsAtTheData) {
  TLayoutBytes b;
  b.U16(10).U8(0).U16(2).U16(0).U16(0).U16(0x0500).U16(60000);
  b.Raw(NoteRecord(2, 2)).Raw(NoteRecord(2, -2));
  TScoreFileHeader header;
  header.formatVersion = 16;
  TByteVectorStream stream(b.Bytes());
  std::unique_ptr<TNotatedItem> item = ReadItem(header, stream);
  EXPECT_GE(header.dataFaults, 1);
  EXPECT_TRUE(stream.IsError());
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetMemberCount(), 2);
}

}  // namespace
}  // namespace kvt
