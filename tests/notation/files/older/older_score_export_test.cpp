#include "notation/items/item_cast.h"
#include "notation/files/older/older_score_export.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <string>

#include "notation/files/binary/binary_score_file.h"
#include "notation/items/chord_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/generic_control.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notation_marker.h"
#include "notation/files/older/older_score_reader.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/user_object.h"
#include "notation/services/services.h"
#include "tests/notation/staff_builder.h"
#include "tests/utils/byte_vector_stream.h"
#include "tests/utils/linked_output.h"
#include "tests/utils/temp_folder.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

struct Exported {
  std::unique_ptr<TMusicScore> score = std::make_unique<TMusicScore>();
  TScoreFileHeader header;
  bool headerRead = false;
  bool error = false;
  bool consumedAll = false;
};

// Exports to memory without the framing and reads the bytes back with the older-layout reader.
Exported ExportAndRead(const TMusicScore& score) {
  TByteVectorStream stream;
  EXPECT_TRUE(WriteScoreFile175(stream, score));
  stream.Rewind();
  Exported result;
  result.headerRead = ReadScoreHeader(stream, result.header);
  if (result.headerRead) ReadScoreBody(*result.score, result.header, stream);
  result.error = stream.IsError();
  result.consumedAll = stream.Tell() == stream.Size();
  return result;
}

TMusicStaff& AddStaff(TMusicScore& score, const char16_t* name) {
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(name);
  TMusicStaff& ref = *staff;
  score.AddStaff(std::move(staff));
  score.SetStaffIncluded(score.GetLastIndex(), true);
  return ref;
}

// The items between the enclosing bar lines as their one-line text forms.
std::vector<std::string> ItemLines(const TMusicStaff& staff) {
  std::vector<std::string> lines;
  for (int i = 1; i < staff.GetLastIndex(); ++i)
    lines.push_back(FormatItemLine(*staff.GetItem(i), kTextModeLone));
  return lines;
}

TEST(OlderScoreExport, ReaderAndExporterAgreeOnEveryField) {
  TMusicScore score;
  score.SetSongInfoText(kSongTitle, u"Export \u00e9");
  score.SetSongInfoText(kSongLyricist, u"Not at version 16");
  score.GetFonts().GetTextFont(10)->Set("User Five", TFontSpec::kBold, 11, 0);
  score.GetFonts().GetTextFont(11)->Set("User Six", TFontSpec::kItalic, 13, 0);
  // Version 16 keeps whole points only.
  for (int i = 0; i < kScoreTextFontCount; ++i) {
    TFontSpec* font = score.GetFonts().GetTextFont(i);
    font->SetSize(static_cast<float>(static_cast<int>(font->Size() + 0.5f)));
  }
  AddStaff(score, u"One");
  Exported r = ExportAndRead(score);
  ASSERT_TRUE(r.headerRead);
  EXPECT_EQ(r.header.formatVersion, 16);
  EXPECT_EQ(r.header.writerVersion, 0x014B);
  EXPECT_EQ(r.header.GetWriterVersionText(), "1.75");
  EXPECT_EQ(r.header.status, TLoadStatus::kOlder);
  EXPECT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll) << "every byte written is a field the reader takes";
  EXPECT_EQ(r.header.dataFaults, 0);
  // Version 16 carries all twelve text fonts.
  EXPECT_TRUE(r.score->GetFonts() == score.GetFonts());
  EXPECT_EQ(std::u16string(r.score->GetSongInfoText(kSongTitle)), u"Export \u00e9");
  EXPECT_EQ(std::u16string(r.score->GetSongInfoText(kSongLyricist)), u"");
}

TEST(OlderScoreExport, ContentVersion16HoldsReadsBackTheSame) {
  TMusicScore score;
  TMusicStaff& staff = AddStaff(score, u"Melody");
  staff.SetGroup(u"Voices");
  staff.SetChannel(3);
  staff.SetEndingBar(kEndBarDouble);
  TInstrumentDef instrument;
  instrument.SetPatch(20);
  instrument.SetTransposition(-12);
  staff.SetInstrument(instrument);
  TStaffBuilder b(staff);
  b.Clef(kClefBass);
  b.Key(2);
  b.TimeSig(3, 2);
  auto& tempo = b.Add(std::make_unique<TTempoData>(96, kTempoQuarter));
  tempo.SetText(u"Andante");
  auto& dynamic = b.Add(std::make_unique<TDynamicLevelData>(kDynMF));
  dynamic.SetVelocity(80);
  dynamic.SetHasVelocity(true);
  b.Note(-2, kDurEighth, kMaskDotted | kMaskTieOut, kAccSharp).SetBeamState(kGroupFirst);
  b.Note(-2, kDur16th, kMaskStaccato).SetBeamState(kGroupEnd);
  auto& chord = b.Add(std::make_unique<TChordData>(std::make_unique<TMusicNote>(0, kDurHalf, 0, kAccNone),
                                                   std::make_unique<TMusicNote>(-4, kDurHalf, 0, kAccFlat)));
  chord.SetVisibility(kVisAlways);
  b.Bar();
  b.Ending({1, 2});
  b.Rest(kDurQuarter).SetVertOffset(-2);
  auto& restChord = b.Add(std::make_unique<TRestChord>(kDurHalf, 0));
  auto part = std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone);
  restChord.AttachNote(part);
  auto& change = b.Add(std::make_unique<TPatchData>());
  change.GetInstrument().SetPatch(41);
  // Version 16 keeps no instrument names; the reader names a change by its patch.
  change.GetInstrument().SetName(u"[#041]");
  b.Add(std::make_unique<TSustainPedal>(false));
  b.Flow(kFlowDaCapo);
  auto& mpc = b.Add(std::make_unique<TGenericControl>());
  mpc.SetController(kMpcPan);
  mpc.SetPoint(0, 0, 20);
  mpc.SetPoint(1, 4, 100);
  b.Add(std::make_unique<TTempoVariance>(kTempoVarRitardando));
  b.Add(std::make_unique<TDynamicVariance>(2));
  b.Add(std::make_unique<TPerformanceStyle>(5));
  auto& text = b.Add(std::make_unique<TTextExpression>());
  text.SetText(u"dolcissimo");
  text.SetFontIndex(kTextFontStaffBold);
  text.SetPlacement(kPlaceAsStaffSignature);
  text.SetColor(2);
  b.Bar(kBarLocalRepeatClose, 3);

  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll);
  EXPECT_EQ(r.header.dataFaults, 0);
  ASSERT_EQ(r.score->GetStaffCount(), 1);
  const TMusicStaff& back = *r.score->GetStaff(0);
  EXPECT_EQ(ItemLines(back), ItemLines(staff));
  EXPECT_EQ(std::u16string(back.GetName()), u"Melody");
  EXPECT_EQ(std::u16string(back.GetGroup()), u"Voices");
  EXPECT_EQ(back.GetChannel(), 3);
  EXPECT_EQ(back.GetEndingBar(), kEndBarDouble);
  EXPECT_TRUE(back.GetInstrument() == staff.GetInstrument());
}

TEST(OlderScoreExport, AMultiBarRestBecomesWholeRestsBetweenBarLines) {
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Rests"));
  auto& rest = b.Add(std::make_unique<TMultiMeasureRest>(3));
  rest.SetColor(1);
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  const TMusicStaff& back = *r.score->GetStaff(0);
  ASSERT_EQ(back.GetItemCount(), 2 + 5);
  for (int i = 1; i <= 5; ++i) {
    const TNotatedItem& item = *back.GetItem(i);
    if (i % 2) {
      ASSERT_EQ(item.GetType(), kItemRest) << i;
      EXPECT_TRUE(item.AsRest()->IsPlainWholeRest());
      EXPECT_EQ(item.GetColor(), 1);
    } else {
      ASSERT_EQ(item.GetType(), kItemBarLine) << i;
    }
  }
}

TEST(OlderScoreExport, UserObjectsBoundariesAndMarkersAreLeftOut) {
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Mixed"));
  b.Note(0);
  b.Add(std::make_unique<TKVTUserObject>("Widget"));
  b.Add(std::make_unique<TStaffSizer>());
  b.Add(std::make_unique<TNotationMarker>());
  b.Note(1);
  TByteVectorStream stream;
  ASSERT_TRUE(WriteScoreFile175(stream, score));
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll) << "the item count leaves the dropped items out";
  const TMusicStaff& back = *r.score->GetStaff(0);
  ASSERT_EQ(back.GetItemCount(), 4);
  EXPECT_EQ(back.GetItem(1)->GetStaffPos(), 0);
  EXPECT_EQ(back.GetItem(2)->GetStaffPos(), 1);
}

TEST(OlderScoreExport, ASpacerBecomesATextOfBlanks) {
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Space"));
  b.Add(std::make_unique<TStaffSpacer>(350)).SetVisibility(kVisNever);
  b.Add(std::make_unique<TStaffSpacer>(15));
  Exported r = ExportAndRead(score);
  const TMusicStaff& back = *r.score->GetStaff(0);
  ASSERT_EQ(back.GetItemCount(), 4);
  const auto& wide = ItemRef<TTextExpression>(*back.GetItem(1));
  ASSERT_EQ(wide.GetType(), kItemText);
  EXPECT_EQ(wide.GetText(), u"   ");
  EXPECT_TRUE(wide.IsWide());
  EXPECT_EQ(wide.GetVisibility(), kVisNever);
  EXPECT_EQ(wide.GetFontIndex(), kTextFontStaffBold);
  const auto& narrow = ItemRef<TTextExpression>(*back.GetItem(2));
  EXPECT_EQ(narrow.GetText(), u" ");
  EXPECT_FALSE(narrow.IsWide());
}

TEST(OlderScoreExport, TwoBracedStavesBecomeAGrandStaffAndReadBackBraced) {
  TMusicScore score;
  AddStaff(score, u"Upper").SetBraceWithNext(true);
  AddStaff(score, u"Lower");
  AddStaff(score, u"Other");
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  ASSERT_EQ(r.score->GetStaffCount(), 3);
  EXPECT_TRUE(r.score->GetStaff(0)->GetBraceWithNext());
  EXPECT_FALSE(r.score->GetStaff(1)->GetBraceWithNext());
  EXPECT_FALSE(r.score->GetStaff(2)->GetBraceWithNext());
}

TEST(OlderScoreExport, VisibilityVersion16CannotHoldIsMapped) {
  TMusicScore score;
  TStaffBuilder first(AddStaff(score, u"First"));
  first.Note(0).SetVisibility(kVisSingleStaff);
  first.Note(0).SetVisibility(kVisMultiStaff);
  first.Note(0).SetVisibility(kVisNever);
  TStaffBuilder second(AddStaff(score, u"Second"));
  second.Note(0).SetVisibility(kVisSingleStaff);
  Exported r = ExportAndRead(score);
  const TMusicStaff& one = *r.score->GetStaff(0);
  // Two visible staves: SingleStaff on the first staff has no visible staff before it.
  EXPECT_EQ(one.GetItem(1)->GetVisibility(), kVisNever);
  EXPECT_EQ(one.GetItem(2)->GetVisibility(), kVisAlways);
  EXPECT_EQ(one.GetItem(3)->GetVisibility(), kVisNever);
  EXPECT_EQ(r.score->GetStaff(1)->GetItem(1)->GetVisibility(), kVisTopStaff);
}

TEST(OlderScoreExport, AVeryLongStaffIsCutAtTheRecordLimit) {
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Long"));
  for (int i = 0; i < kMaxExportStaffRecords + 500; ++i) b.Bar();
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  EXPECT_TRUE(r.consumedAll);
  EXPECT_EQ(r.score->GetStaff(0)->GetItemCount(), kMaxExportStaffRecords);
}

TEST(OlderScoreExport, LyricsTravelWithTheStaff) {
  TMusicScore score;
  TMusicStaff& staff = AddStaff(score, u"Sung");
  TStaffLyrics& lyrics = staff.MakeLyrics();
  auto line = std::make_unique<TLyricText>();
  line->ReadFromEdit(u"A-ve Ma-ri-a", true);
  lyrics.Add(std::move(line));
  lyrics.SetPlacement(kLyricsTop);
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  const TStaffLyrics* back = r.score->GetStaff(0)->GetLyrics();
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->GetCount(), 1);
  EXPECT_TRUE(*back->GetLine(0) == *lyrics.GetLine(0));
  EXPECT_EQ(back->GetPlacement(), kLyricsTop);
}

// Staff names and lyrics go out in the code page of their font's character set and read back
// whole: Cyrillic in Windows-1251, Japanese in Shift-JIS. What a page cannot hold becomes "?".
TEST(OlderScoreExport, TextsTravelInTheirFontsCodePages) {
  TMusicScore score;
  for (const auto [index, charSet] : {std::pair{kFontStaffBold, 204}, std::pair{kFontStaffLyric, 128}}) {
    TFontSpec* font = score.GetFonts().GetTextFont(index);
    font->Set(font->Face(), 0, font->Size(), charSet);
  }
  TMusicStaff& staff = AddStaff(score, u"\u0413\u043e\u043b\u043e\u0441 \u65e5");
  auto line = std::make_unique<TLyricText>();
  line->ReadFromEdit(u"\u65e5-\u672c \u8a9e", true);
  staff.MakeLyrics().Add(std::move(line));
  Exported r = ExportAndRead(score);
  ASSERT_FALSE(r.error);
  const TMusicStaff* back = r.score->GetStaff(0);
  EXPECT_EQ(std::u16string(back->GetName()), u"\u0413\u043e\u043b\u043e\u0441 ?");
  ASSERT_NE(back->GetLyrics(), nullptr);
  EXPECT_TRUE(*back->GetLyrics()->GetLine(0) == *staff.GetLyrics()->GetLine(0));
}

TEST(OlderScoreExport, TheExportFileIsTaggedCompressedAndLoads) {
  TTempFolder folder;
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Solo"));
  b.Note(1);
  const std::string path = folder / "old.kvt";
  ASSERT_TRUE(ExportScoreFile175(path, score));
  EXPECT_EQ(TTempFolder::ReadFile(path).substr(0, 6), std::string("[KVZ]") + '\0');
  TScoreFileHeader header;
  std::unique_ptr<TMusicScore> back = ReadScoreFromFile(path.c_str(), header, TServices{}).score;
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kOlder);
  EXPECT_TRUE(back->IsOldFormatVersion());
  EXPECT_TRUE(back->GetCompressed());
  EXPECT_EQ(back->GetStaff(0)->GetItemCount(), 3);
}

TEST(OlderScoreExport, ALinkedExportFileIsReplacedThroughItsLinks) {
  TTempFolder folder;
  TMusicScore score;
  TStaffBuilder b(AddStaff(score, u"Solo"));
  b.Note(1);
  TLinkedOutput output(folder, "old.kvt");
  ASSERT_TRUE(ExportScoreFile175(output.LinkPath(), score));
  output.ExpectWrittenThroughLinks();
  TScoreFileHeader header;
  EXPECT_NE(ReadScoreFromFile(output.RealPath().c_str(), header, TServices{}).score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kOlder);
}

}  // namespace
}  // namespace kvt
