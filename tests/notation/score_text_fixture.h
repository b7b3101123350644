#pragma once
// Helpers of the score text tests: memory streams over strings, a sample score that uses every
// item kind and score setting, and line splitting.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "notation/items/lyric_text.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/notation/score_text_items.h"
#include "utils/flat_ram_stream.h"

namespace kvt {
namespace score_text_test {

// A read-only stream over a copy of the text.
class TTextStream {
public:
  explicit TTextStream(std::string_view text) : bytes(text), stream(bytes.data(), Size(), Size()) {}
  TKRVStream& operator*() { return stream; }
  TKRVStream* operator->() { return &stream; }

private:
  int Size() const { return static_cast<int>(bytes.size()); }
  std::string bytes;
  TKRVFlatRamStream stream;
};

// A growing memory stream to write into.
class TOutStream {
public:
  TOutStream() : stream(0, 64 * 1024) {}
  TKRVStream& operator*() { return stream; }
  TKRVStream* operator->() { return &stream; }
  std::string Text() {
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    stream.Rewind();
    if (!text.empty()) stream.Read(text.data(), static_cast<int>(text.size()));
    return text;
  }

private:
  TKRVFlatRamStream stream;
};

inline std::string WriteScore(const TMusicScore& score) {
  TOutStream out;
  WriteScoreText(*out, score);
  EXPECT_FALSE(out->IsError());
  return out.Text();
}

// Splits at CR LF (or LF), without the line ends.
inline std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

// Compares two texts line by line and reports the first line that differs (cut to a readable
// length), instead of printing whole scores.
inline ::testing::AssertionResult SameText(std::string_view actual, std::string_view expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  const std::vector<std::string> a = SplitLines(actual);
  const std::vector<std::string> e = SplitLines(expected);
  for (size_t i = 0; i < a.size() || i < e.size(); ++i) {
    const std::string got = i < a.size() ? a[i] : "<none>";
    const std::string want = i < e.size() ? e[i] : "<none>";
    if (got != want) {
      return ::testing::AssertionFailure() << "line " << i + 1 << " differs:\n  got:  " << got.substr(0, 300)
                                           << "\n  want: " << want.substr(0, 300);
    }
  }
  return ::testing::AssertionFailure() << "the texts differ in their line ends";
}

// The same texts apart from the fields of item records: the audit that ends every load derives
// some item fields (ties in, automatic accidentals, group marks that no group carries), so a
// score made in memory may read back with those changed, and with nothing else.
inline ::testing::AssertionResult SameTextButItemDetails(std::string_view actual, std::string_view expected) {
  const std::vector<std::string> a = SplitLines(actual);
  const std::vector<std::string> e = SplitLines(expected);
  if (a.size() != e.size()) return ::testing::AssertionFailure() << a.size() << " lines, " << e.size() << " expected";
  static const char* const kScoreRecords[] = {"|Editor", "|SongInfo", "|PgSetup", "|Font", "|PgMargins",
                                              "|AddStaff", "|StaffProperties", "|StaffInstrument", "|Lyric", "!"};
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == e[i]) continue;
    bool scoreRecord = false;
    for (const char* record : kScoreRecords) scoreRecord |= e[i].rfind(record, 0) == 0;
    const std::string kind = e[i].substr(0, e[i].find('|', 1) + 1);
    if (scoreRecord || a[i].rfind(kind, 0) != 0) {
      return ::testing::AssertionFailure() << "line " << i + 1 << " differs:\n  got:  " << a[i].substr(0, 300)
                                           << "\n  want: " << e[i].substr(0, 300);
    }
  }
  return ::testing::AssertionSuccess();
}

inline void AddItem(TMusicStaff& staff, TItemPtr item) { staff.InsertItem(std::move(item), staff.GetLastIndex()); }

// Three staves: the first holds one item of every kind of the item table and lyrics, the
// second is hidden and connected, the third keeps its defaults. Every score setting is away
// from its default.
inline std::unique_ptr<TMusicScore> MakeSampleScore() {
  auto score = std::make_unique<TMusicScore>();
  score->SetSongInfoText(kSongTitle, u"Sonata \"No. 2\" | in \\ D");
  score->SetSongInfoText(kSongAuthor, u"A. Composer");
  score->SetSongInfoText(kSongCopyright1, u"\u00a9 2024");
  score->SetSongInfoText(kSongComments, u"line one\nline two\ttabbed");
  score->GetFonts().SetBaseSize(18.5f);
  score->GetFonts().SetMusicFontFace("Bravura Text");
  score->GetFonts().GetTextFont(kFontPageText)->Set("Liberation Serif", TFontSpec::kItalic, 11.25f, 0);
  score->GetFonts().GetTextFont(kFontUser1 + 2)->Set("Liberation Sans", TFontSpec::kBold, 7.5f, 238);
  score->SetZoom(12);
  score->SetTitlePage(false);
  score->SetJustifyVertically(false);
  score->SetPrintSystemSepMark(true);
  score->SetExtendLastSystem(true);
  score->SetDurationPadding(false);
  score->SetAllowLayering(false);
  score->SetPageNumbers(2);
  score->SetStaffLabels(2);
  score->SetBarNumbers(3);
  score->SetStartingBar(5);
  TPageMargins margins;
  margins.left = 1.0f;
  margins.top = 0.75f;
  margins.right = 0.3125f;
  margins.bottom = 1.5f;
  margins.mirror = true;
  score->SetMargins(margins);

  auto first = std::make_unique<TMusicStaff>();
  first->SetName(u"Violin I");
  first->SetLabel(u"Violin");
  first->SetLabelAbbr(u"Vl.");
  first->SetGroup(u"Strings");
  first->SetChannel(3);
  first->SetDevice(2);
  first->SetVolume(-1);
  first->SetStereoPan(20);
  first->SetMuted(true);
  first->SetEndingBar(kEndBarDouble);
  first->SetLines(3);
  first->SetBoundaries(-20, 17);
  first->SetColor(5);
  first->GetInstrument().SetName(u"Violin");
  first->GetInstrument().SetPatch(40);
  first->GetInstrument().SetBendRange(2);
  for (const TItemCase& c : kItemCases) AddItem(*first, c.make());
  TStaffLyrics& lyrics = first->MakeLyrics();
  lyrics.SetPlacement(kLyricsTop);
  lyrics.SetAlign(kLyricsAlignStandard);
  lyrics.SetOffset(-3);
  lyrics.SetUnderscoreAsSpace(false);
  auto verse = std::make_unique<TLyricText>();
  verse->ReadFromEdit(u"Twin-kle twin-kle lit-tle \"star\" | \\\nhow I won-der\n\nsec-ond", false);
  lyrics.Add(std::move(verse));
  lyrics.Add(std::make_unique<TLyricText>());
  score->AddStaff(std::move(first));

  auto second = std::make_unique<TMusicStaff>();
  second->SetName(u"Cello");
  second->SetBracketWithNext(true);
  second->SetConnectBarsWithNext(true);
  second->SetLayerWithNext(true);
  second->SetMultiPartDotPlacement(true);
  AddItem(*second, TItemPtr(new TClefData(kClefBass)));
  AddItem(*second, TItemPtr(NewNote(2, kDurHalf)));
  score->AddStaff(std::move(second));
  score->SetStaffIncluded(1, false);

  score->AddStaff(std::make_unique<TMusicStaff>());
  score->SetExperimental(false);
  score->SetEditorState(0, 4, 7, -3);
  return score;
}


// The sample score as a load leaves it: loading audits every staff, which derives item fields
// (beam and triplet marks, ties, automatic accidentals) that a score built in code lacks.
inline std::unique_ptr<TMusicScore> MakeLoadedSampleScore() {
  const std::string text = WriteScore(*MakeSampleScore());
  TTextStream in(text);
  return ReadScoreText(*in, TServices{}).score;
}

}  // namespace score_text_test
}  // namespace kvt
