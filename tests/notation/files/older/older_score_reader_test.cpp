#include "notation/items/item_cast.h"
#include "notation/files/older/older_score_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/items/bar_line_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/files/older/older_score_writer.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/notation/older_layout_fixture.h"
#include "tests/utils/byte_vector_stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

using test::AppendScorePart;
using test::AppendStaffFields;
using test::AppendStaffItems;
using test::BarRecord;
using test::NoteRecord;
using test::OneStaffBody;
using test::TLayoutBytes;
using test::TOlderScorePart;
using test::TOlderStaffFields;

struct Loaded {
  std::unique_ptr<TMusicScore> score = std::make_unique<TMusicScore>();
  TScoreFileHeader header;
  bool error = false;
  bool failed = false;
  bool consumedAll = false;
};

Loaded ReadBody(int version, const std::string& bytes) {
  Loaded result;
  result.header.formatVersion = version;
  TByteVectorStream stream(bytes);
  ReadScoreBody(*result.score, result.header, stream);
  result.error = stream.IsError();
  result.failed = stream.IsFailed();
  result.consumedAll = stream.Tell() == stream.Size();
  return result;
}

std::string Utf8(const char16_t* text) { return Utf16ToUtf8(text); }

// Every version reads exactly the fields it has: one staff with a bar line and a note, and
// nothing left over or missing.
class OlderLayoutVersions : public testing::TestWithParam<int> {};

TEST_P(OlderLayoutVersions, ReadsTheFieldsOfItsVersionExactly) {
  const int v = GetParam();
  // Item records without common byte before version 10.
  std::string bar = v >= 10 ? BarRecord(1) : TLayoutBytes().U16(2).U16(1).Bytes();
  std::string note = v >= 10 ? NoteRecord(3, -2) : TLayoutBytes().U16(8).U16(3).U16(0).U16(0).U16(0x05FE).Bytes();
  TOlderStaffFields fields;
  if (v < 28) fields.connections = 0;
  Loaded r = ReadBody(v, OneStaffBody(v, {note, bar, note}, fields));
  ASSERT_FALSE(r.error) << "version " << v;
  EXPECT_TRUE(r.consumedAll) << "version " << v;
  EXPECT_EQ(r.header.dataFaults, 0) << "version " << v;
  ASSERT_EQ(r.score->GetStaffCount(), 1);
  const TMusicStaff& staff = *r.score->GetStaff(0);
  ASSERT_EQ(staff.GetItemCount(), 5);
  EXPECT_EQ(staff.GetItem(1)->GetType(), kItemNote);
  EXPECT_EQ(staff.GetItem(1)->GetStaffPos(), -2);
  EXPECT_EQ(ItemAs<TBarLineData>(staff.GetItem(2))->GetStyle(), kBarDouble);
  EXPECT_EQ(Utf8(r.score->GetSongInfoText(kSongTitle)), "Song");
  EXPECT_EQ(Utf8(r.score->GetSongInfoText(kSongLyricist)), v > 16 ? "Lyricist" : "");
  EXPECT_EQ(Utf8(r.score->GetSongInfoText(kSongComments)), "Notes");
  EXPECT_EQ(Utf8(staff.GetName()), "Piano");
  EXPECT_EQ(Utf8(staff.GetGroup()), "Keys");
  EXPECT_EQ(Utf8(staff.GetFullLabel()), v > 18 ? "Pno" : "Piano");
  EXPECT_EQ(staff.GetChannel(), 2);
  EXPECT_EQ(staff.GetInstrument().GetPatch(), 5);
  EXPECT_EQ(staff.GetInstrument().GetTransposition(), -2);
  EXPECT_EQ(staff.GetVolume(), 100);
  EXPECT_EQ(staff.GetColor(), v > 9 ? 2 : 0);
  EXPECT_EQ(staff.GetEndingBar(), v > 8 ? 3 : 0);
  if (v > 5) {
    EXPECT_FLOAT_EQ(r.score->GetMargins().left, 0.75f);
    EXPECT_FLOAT_EQ(r.score->GetMargins().bottom, 1.25f);
  }
  if (v > 25) EXPECT_EQ(r.score->GetCaretIndex(), 5);
}

INSTANTIATE_TEST_SUITE_P(FromThreeToThirtyFour, OlderLayoutVersions,
                         testing::Values(3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 22,
                                         23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34));

TEST(OlderScoreReader, Version14HasTenFontsAndTheOtherTwoKeepTheirDefaults) {
  TMusicFontsData defaults;
  Loaded r = ReadBody(14, OneStaffBody(14, {}));
  ASSERT_FALSE(r.error);
  const TMusicFontsData& fonts = r.score->GetFonts();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(std::string(fonts.GetTextFont(i)->Face()), "Face" + std::to_string(i));
    EXPECT_FLOAT_EQ(fonts.GetTextFont(i)->Size(), 10.0f + i);
  }
  for (int i = 10; i < 12; ++i) EXPECT_TRUE(*fonts.GetTextFont(i) == *defaults.GetTextFont(i));
  EXPECT_FLOAT_EQ(fonts.GetBaseSize(), 20.0f);
}

TEST(OlderScoreReader, OldMusicFontNamesBecomeTheCurrentFont) {
  TLayoutBytes b;
  // Version 16 (twelve text fonts) with the first named after the old music font.
  b.Str("").Str("").Str("").Str("").Str("").Str("YY").Str("F2").U16(0).U16(1);
  b.Str("0.5 0.5 0.5 0.5").U8(0).U16(8).Zeros(32).U8(1).U16(16);
  for (int i = 0; i < 12; ++i) b.Str(i == 0 ? "KVTV15" : "Times").U8(0).U16(12).U8(0);
  b.U8(1).U8(0).U16(0).U16(0);
  Loaded r = ReadBody(16, b.Bytes());
  ASSERT_FALSE(r.error);
  EXPECT_EQ(std::string(r.score->GetFonts().GetTextFont(0)->Face()), "KVT2STDA");
  EXPECT_EQ(r.score->GetFonts().GetTextFont(0)->CharSet(), 2);
}

// Face names of the UTF-8 versions keep no invalid bytes: the writers write valid UTF-8.
TEST(OlderScoreReader, InvalidBytesInAFaceNameBecomeReplacementCharacters) {
  TOlderScorePart part;
  part.musicFace = "Mu\xFFsic";
  Loaded r = ReadBody(34, OneStaffBody(34, {}, {}, part));
  ASSERT_FALSE(r.error);
  EXPECT_EQ(std::string(r.score->GetFonts().GetMusicFontFace()), "Mu\xEF\xBF\xBDsic");
}

TEST(OlderScoreReader, AStaffWhoseItemCountIsOneHasOnlyItsBarLines) {
  TLayoutBytes b;
  AppendScorePart(b, 16, {});
  b.U16(1);
  AppendStaffFields(b, 16, {});
  AppendStaffItems(b, 1, {});
  Loaded r = ReadBody(16, b.Bytes());
  ASSERT_FALSE(r.error);
  EXPECT_EQ(r.score->GetStaff(0)->GetItemCount(), 2);
  EXPECT_EQ(r.header.dataFaults, 0);
}

TEST(OlderScoreReader, TheClosingBarLineTakesTheEndingBarStyle) {
  TOlderStaffFields fields;
  fields.endingBar = 3;  // Double
  Loaded r = ReadBody(16, OneStaffBody(16, {}, fields));
  const TMusicStaff& staff = *r.score->GetStaff(0);
  EXPECT_EQ(ItemAs<TBarLineData>(staff.GetLastItem())->GetStyle(), kBarDouble);
}

TEST(OlderScoreReader, LyricsWithTheirSettings) {
  TOlderStaffFields fields;
  fields.hasLyrics = 1;
  TLayoutBytes b;
  AppendScorePart(b, 20, {});
  b.U16(1);
  AppendStaffFields(b, 20, fields);
  const std::string line1 = "Hel-lo world\n";
  const std::string line2 = "two_words\n";
  b.U16(2).U16(1 | 2 | 8).U16(7);
  b.U16(static_cast<int>(line1.size())).U16(3).Raw(line1);
  b.U16(static_cast<int>(line2.size())).U16(1).Raw(line2);
  AppendStaffItems(b, 2, {});
  Loaded r = ReadBody(20, b.Bytes());
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll);
  const TStaffLyrics* lyrics = r.score->GetStaff(0)->GetLyrics();
  ASSERT_NE(lyrics, nullptr);
  ASSERT_EQ(lyrics->GetCount(), 2);
  EXPECT_EQ(lyrics->GetPlacement(), 1);
  EXPECT_EQ(lyrics->GetAlign(), 1);
  EXPECT_EQ(lyrics->GetOffset(), 7);
  EXPECT_FALSE(lyrics->GetUnderscoreAsSpace());
  EXPECT_EQ(lyrics->GetLine(0)->GetSyllableCount(), 3);
  EXPECT_EQ(lyrics->GetLine(1)->GetSyllableCount(), 1);
}

TEST(OlderScoreReader, NineLyricLinesFailTheStreamAndKeepTheStaffWithoutLyrics) {
  TOlderStaffFields fields;
  fields.hasLyrics = 1;
  TLayoutBytes b;
  AppendScorePart(b, 16, {});
  b.U16(1);
  AppendStaffFields(b, 16, fields);
  b.U16(9).U16(0).U16(0);
  Loaded r = ReadBody(16, b.Bytes());
  EXPECT_TRUE(r.failed);
  ASSERT_EQ(r.score->GetStaffCount(), 1);
  EXPECT_EQ(r.score->GetStaff(0)->GetLyrics(), nullptr);
  EXPECT_EQ(r.score->GetStaff(0)->GetItemCount(), 2);
}

TEST(OlderScoreReader, OutOfRangeStaffValuesAreBoundedAndCounted) {
  TOlderStaffFields fields;
  fields.channel = 40;
  fields.color = 12;
  fields.volume = 900;
  fields.lines = 77;
  fields.endingBar = 9;
  fields.patch = 300;
  Loaded r = ReadBody(16, OneStaffBody(16, {}, fields));
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll);
  EXPECT_EQ(r.header.dataFaults, 6);
  const TMusicStaff& staff = *r.score->GetStaff(0);
  EXPECT_EQ(staff.GetChannel(), 0);
  EXPECT_EQ(staff.GetColor(), 0);
  EXPECT_EQ(staff.GetVolume(), 127);
  EXPECT_EQ(staff.GetLines(), 5);
  EXPECT_EQ(staff.GetEndingBar(), 0);
  EXPECT_FALSE(staff.GetInstrument().HasPatch());
}

TEST(OlderScoreReader, AStaffSizeOfZeroKeepsTheDefaultAndCounts) {
  TOlderScorePart part;
  part.staffSize = 0;
  Loaded r = ReadBody(16, OneStaffBody(16, {}, {}, part));
  ASSERT_FALSE(r.error);
  EXPECT_EQ(r.header.dataFaults, 1);
  EXPECT_FLOAT_EQ(r.score->GetFonts().GetBaseSize(), kDefaultMusicFontBase);
}

TEST(OlderScoreReader, AnItemCountWithoutCapIsBounded) {
  TLayoutBytes b;
  AppendScorePart(b, 16, {});
  b.U16(1);
  AppendStaffFields(b, 16, {});
  AppendStaffItems(b, 0xFFFF, {BarRecord(0)});
  Loaded r = ReadBody(16, b.Bytes());
  // The data ends long before: what is there is kept, the end is an error, the count a fault.
  EXPECT_TRUE(r.error);
  EXPECT_GE(r.header.dataFaults, 1);
  EXPECT_EQ(r.score->GetStaff(0)->GetItemCount(), 3);
}

TEST(OlderScoreReader, AFullStaffDropsTheItemsItCannotTake) {
  std::vector<std::string> records(kMaxStaffRecordItems - 2, BarRecord(0));
  TLayoutBytes b;
  AppendScorePart(b, 16, {});
  b.U16(1);
  AppendStaffFields(b, 16, {});
  AppendStaffItems(b, kMaxStaffRecordItems, records);
  Loaded r = ReadBody(16, b.Bytes());
  EXPECT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll);
  const TMusicStaff& staff = *r.score->GetStaff(0);
  EXPECT_TRUE(staff.IsFull());
  EXPECT_EQ(staff.GetItemCount(), kStaffFullCount + 1);
  EXPECT_EQ(r.header.dataFaults, kMaxStaffRecordItems - (kStaffFullCount + 1));
}

TEST(OlderScoreReader, A256thStaffIsRefused) {
  TLayoutBytes b;
  AppendScorePart(b, 16, {});
  b.U16(256);
  for (int i = 0; i < 256; ++i) {
    AppendStaffFields(b, 16, {});
    AppendStaffItems(b, 2, {});
  }
  Loaded r = ReadBody(16, b.Bytes());
  EXPECT_EQ(r.score->GetStaffCount(), TMusicScore::MaxScoreStaffs);
  EXPECT_EQ(r.header.dataFaults, 1);
}

TEST(OlderScoreReader, BelowVersion8TheFirstStaffsGroupIsVisible) {
  TLayoutBytes b;
  AppendScorePart(b, 7, {});
  b.U16(3);
  const char* groups[] = {"Keys", "Winds", "Keys"};
  for (const char* group : groups) {
    TOlderStaffFields fields;
    fields.group = group;
    AppendStaffFields(b, 7, fields);
    AppendStaffItems(b, 2, {});
  }
  Loaded r = ReadBody(7, b.Bytes());
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.score->IsStaffIncluded(0));
  EXPECT_FALSE(r.score->IsStaffIncluded(1));
  EXPECT_TRUE(r.score->IsStaffIncluded(2));
}

TEST(OlderScoreReader, LegacyGrandStaffBecomesABrace) {
  TLayoutBytes b;
  AppendScorePart(b, 20, {});
  b.U16(2);
  for (int style : {1, 2}) {
    TOlderStaffFields fields;
    fields.connections = style;
    AppendStaffFields(b, 20, fields);
    AppendStaffItems(b, 2, {});
  }
  Loaded r = ReadBody(20, b.Bytes());
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.score->GetStaff(0)->GetBraceWithNext());
  EXPECT_TRUE(r.score->GetStaff(0)->GetConnectBarsWithNext());
  EXPECT_FALSE(r.score->GetStaff(1)->GetBraceWithNext());
}

TEST(OlderScoreReader, BeforeVersion22AGraceSlurTakesThePrincipalNotesLyric) {
  const std::string grace = NoteRecord(3, 0, 0x2000 | 0x0100);
  const std::string principal = NoteRecord(2, 0);
  Loaded old = ReadBody(21, OneStaffBody(21, {grace, principal}));
  Loaded later = ReadBody(22, OneStaffBody(22, {grace, principal}));
  auto lyricOf = [](const Loaded& r) {
    return ItemAs<TSongNote>(r.score->GetStaff(0)->GetItem(2))->GetLyric();
  };
  EXPECT_EQ(lyricOf(old), kLyricNever);
  EXPECT_EQ(lyricOf(later), kLyricDefault);
}

TEST(OlderScoreProperties, CopyingStaffPropertiesLeavesItemsAndLyricsAlone) {
  TMusicStaff from;
  from.SetName(u"Violin");
  from.SetLabel(u"Vln");
  from.SetLabelAbbr(u"V");
  from.SetGroup(u"Strings");
  from.SetChannel(7);
  from.SetDevice(2);
  from.SetEndingBar(kEndBarDouble);
  from.SetLines(4);
  from.SetBoundaries(-20, 30);
  from.SetBracketWithNext(true);
  from.SetMultiPartDotPlacement(true);
  from.SetColor(5);
  from.SetVolume(-1);
  TInstrumentDef instrument;
  instrument.SetName(u"Fiddle");
  instrument.SetPatch(40);
  instrument.SetBank(1, 2);
  instrument.SetBendRange(12);
  from.SetInstrument(instrument);

  TMusicStaff to;
  auto note = std::unique_ptr<TNotatedItem>(new TMusicNote(1, kDurHalf, 0, kAccNone));
  to.InsertItem(std::move(note), 1);
  to.MakeLyrics().Add(std::make_unique<TLyricText>());
  ASSERT_TRUE(CopyStaffProperties(to, from));

  EXPECT_EQ(to.GetItemCount(), 3);
  EXPECT_EQ(to.GetItem(1)->GetType(), kItemNote);
  ASSERT_NE(to.GetLyrics(), nullptr);
  EXPECT_EQ(to.GetLyrics()->GetCount(), 1);
  EXPECT_EQ(Utf8(to.GetName()), "Violin");
  EXPECT_EQ(Utf8(to.GetFullLabel()), "Vln");
  EXPECT_EQ(Utf8(to.GetLabelAbbr()), "V");
  EXPECT_EQ(Utf8(to.GetGroup()), "Strings");
  EXPECT_EQ(to.GetChannel(), 7);
  EXPECT_EQ(to.GetDevice(), 2);
  EXPECT_EQ(to.GetEndingBar(), kEndBarDouble);
  EXPECT_EQ(to.GetLines(), 4);
  EXPECT_EQ(to.GetBoundaryTop(), -20);
  EXPECT_EQ(to.GetBoundaryBottom(), 30);
  EXPECT_EQ(to.GetConnectionBits(), from.GetConnectionBits());
  EXPECT_EQ(to.GetColor(), 5);
  EXPECT_EQ(to.GetVolume(), -1);
  EXPECT_TRUE(to.GetInstrument() == from.GetInstrument());
}

TEST(OlderScoreProperties, CopyingScorePropertiesKeepsEveryValue) {
  TMusicScore from;
  from.SetSongInfoText(kSongTitle, u"Titel \u00e9\u4e2d");
  from.SetSongInfoText(kSongComments, u"Line one\r\nLine two");
  TPageMargins margins;
  margins.top = 0.393700787f;
  margins.left = 1.1f;
  margins.right = 0.7f;
  margins.bottom = 2.0f;
  margins.mirror = true;
  from.SetMargins(margins);
  from.SetZoom(14);
  from.SetBarNumbers(2);
  from.SetStartingBar(-4);
  from.SetStaffLabels(3);
  from.SetPageNumbers(2);
  from.SetExtendLastSystem(true);
  from.SetDurationPadding(false);
  from.SetTitlePage(false);
  from.SetJustifyVertically(false);
  from.SetPrintSystemSepMark(true);
  from.SetAllowLayering(false);
  from.SetEditorState(0, 12, 15, -3);
  from.SetStaffIncluded(3, true);
  from.GetFonts().SetMusicFontFace("Other Music");
  from.GetFonts().SetBaseSize(18.25f);
  from.GetFonts().GetTextFont(11)->Set("Liberation Sans", TFontSpec::kItalic, 9.5f, 238);

  TMusicScore to;
  ASSERT_TRUE(CopyScoreProperties(to, from));
  for (int field = 0; field < kSongInfoFieldCount; ++field)
    EXPECT_EQ(std::u16string(to.GetSongInfoText(field)), from.GetSongInfoText(field)) << field;
  EXPECT_EQ(to.GetMargins().top, margins.top);
  EXPECT_EQ(to.GetMargins().left, margins.left);
  EXPECT_TRUE(to.GetMargins().mirror);
  EXPECT_EQ(to.GetZoom(), 14);
  EXPECT_EQ(to.GetBarNumbers(), 2);
  EXPECT_EQ(to.GetStartingBar(), -4);
  EXPECT_EQ(to.GetStaffLabels(), 3);
  EXPECT_EQ(to.GetPageNumbers(), 2);
  EXPECT_EQ(to.GetOptionBitsA() & 0xF0, from.GetOptionBitsA() & 0xF0);
  EXPECT_EQ(to.GetOptionBitsB(), from.GetOptionBitsB());
  EXPECT_EQ(to.GetCaretIndex(), 12);
  EXPECT_EQ(to.GetSelectIndex(), 15);
  EXPECT_EQ(to.GetCaretPos(), -3);
  EXPECT_TRUE(to.GetIncludeFlags().Equals(from.GetIncludeFlags()));
  EXPECT_TRUE(to.GetFonts() == from.GetFonts());
}

}  // namespace
}  // namespace kvt
