#include "notation/files/text/score_text_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "notation/files/text/score_text_format.h"
#include "notation/services/services.h"
#include "utils/zlib_in_stream.h"
#include "utils/zlib_out_stream.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

struct TReadResult {
  std::unique_ptr<TMusicScore> score;
  TScoreLoadResult info;  // its score moved to `score`
};

TReadResult Read(std::string_view text, int mode = kScoreTextModeFile) {
  TTextStream stream(text);
  TReadResult result;
  result.info = ReadScoreText(*stream, TServices{}, mode);
  result.score = std::move(result.info.score);
  return result;
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The text of a score with one staff holding the given item lines.
std::string ScoreWithLines(const std::vector<std::string>& lines, bool withEnd = true) {
  std::string text = "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"|Group:\"Standard\"\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  if (withEnd) text += "!TarlowmedeRazadove-End\r\n";
  return text;
}

// The sample score as a load leaves it.
std::unique_ptr<TMusicScore> LoadedSample() {
  TReadResult read = Read(WriteScore(*MakeSampleScore()));
  EXPECT_EQ(read.info.status, TLoadStatus::kLoaded);
  return std::move(read.score);
}

TEST(ScoreTextReaderTest, WrittenScoreReadsBackToTheSameBytes) {
  // A score made in memory reads back with everything it holds (only fields the load's audit
  // derives may change) ...
  const std::string made = WriteScore(*MakeSampleScore());
  TReadResult first = Read(made);
  ASSERT_TRUE(first.score);
  EXPECT_EQ(first.info.status, TLoadStatus::kLoaded);
  const std::string text = WriteScore(*first.score);
  EXPECT_TRUE(SameTextButItemDetails(text, made));
  EXPECT_EQ(first.score->GetStaffCount(), 3);
  EXPECT_FALSE(first.score->IsStaffIncluded(1));
  EXPECT_TRUE(first.score->IsExperimental());
  // ... and a loaded score's text reads back to the same bytes.
  TReadResult second = Read(text);
  ASSERT_TRUE(second.score);
  EXPECT_EQ(second.info.status, TLoadStatus::kLoaded);
  EXPECT_TRUE(SameText(WriteScore(*second.score), text));
}

TEST(ScoreTextReaderTest, WriterEndsEveryLineWithCrLf) {
  const std::string text = WriteScore(*LoadedSample());
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_EQ(text[i - 1], '\r') << "at byte " << i;
    }
    if (text[i] == '\r') {
      EXPECT_EQ(text[i + 1], '\n') << "at byte " << i;
    }
  }
}

// Line ends, a byte-order mark and either spelling of the frame lines read the same score.
TEST(ScoreTextReaderTest, ReadsEveryLineEndByteOrderMarkAndSpelling) {
  const std::string text = WriteScore(*LoadedSample());
  const struct {
    const char* name;
    std::string variant;
  } cases[] = {
      {"lf", Replace(text, "\r\n", "\n")},
      {"bom", "\xEF\xBB\xBF" + text},
      {"bom lf", "\xEF\xBB\xBF" + Replace(text, "\r\n", "\n")},
      {"other spelling", Replace(text, "!TarlowmedeRazadove", "!TarlowmedeVezeroza")},
      {"blanks around lines", Replace(text, "\r\n", " \t\r\n  ")},
  };
  for (const auto& c : cases) {
    TReadResult read = Read(c.variant);
    ASSERT_TRUE(read.score) << c.name;
    EXPECT_EQ(read.info.status, TLoadStatus::kLoaded) << c.name;
    EXPECT_TRUE(SameText(WriteScore(*read.score), text)) << c.name;
  }
}

TEST(ScoreTextReaderTest, NumbersIgnoreTheLocale) {
  const std::unique_ptr<TMusicScore> score = LoadedSample();
  const std::string expected = WriteScore(*score);
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  // The locale really does write a decimal comma here.
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 1.5);
  const std::string german = probe;
  const std::string written = WriteScore(*score);
  TReadResult read = Read(expected);
  const std::string reread = read.score ? WriteScore(*read.score) : std::string();
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(german, "1,5");
  EXPECT_TRUE(SameText(written, expected));
  ASSERT_TRUE(read.score);
  EXPECT_TRUE(SameText(reread, expected));
  EXPECT_NE(expected.find("|StaffSize:18.5|"), std::string::npos);
  EXPECT_NE(expected.find("|Left:2.54|Top:1.91|Right:0.79|Bottom:3.81|"), std::string::npos);
}

TEST(ScoreTextReaderTest, OneEmptyStaffWritesTheFixedRecords) {
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  const std::vector<std::string> lines = SplitLines(WriteScore(score));
  ASSERT_EQ(lines.size(), 1u + 1 + 1 + 12 + 1 + 4 + 1);
  EXPECT_EQ(lines[0], "!TarlowmedeRazadove(2.75)");
  EXPECT_EQ(lines[1], "|SongInfo|Title:\"\"|Author:\"\"|Lyricist:\"\"|Copyright1:\"\"|Copyright2:\"\"");
  EXPECT_EQ(lines[2],
            "|PgSetup|StaffSize:16|Zoom:4|TitlePage:Y|JustifyVertically:Y|PrintSystemSepMark:N|"
            "ExtendLastSystem:N|DurationPadding:Y|PageNumbers:0|StaffLabels:None|BarNumbers:None|"
            "StartingBar:1");
  EXPECT_EQ(lines[3], "|Font|Style:StaffItalic|Typeface:\"Times New Roman\"|Size:10|Bold:Y|Italic:Y|CharSet:0");
  EXPECT_EQ(lines[14], "|Font|Style:User6|Typeface:\"Times New Roman\"|Size:8|Bold:N|Italic:N|CharSet:0");
  EXPECT_EQ(lines[15], "|PgMargins|Left:1.27|Top:1.27|Right:1.27|Bottom:1.27|Mirror:N");
  EXPECT_EQ(lines[16], "|AddStaff|Name:\"Staff\"|Group:\"Standard\"");
  EXPECT_EQ(lines[17],
            "|StaffProperties|EndingBar:Section Close|Visible:Y|BoundaryTop:12|BoundaryBottom:12|"
            "Lines:5|Color:Default");
  EXPECT_EQ(lines[18], "|StaffProperties|Muted:N|Volume:127|StereoPan:64|Device:0|Channel:1");
  EXPECT_EQ(lines[19], "|StaffInstrument|Trans:0|DynVel:10,30,45,60,75,92,108,127");
  EXPECT_EQ(lines[20], "!TarlowmedeRazadove-End");
}

TEST(ScoreTextReaderTest, HeaderSearch) {
  const std::string body = "|SongInfo|Title:\"T\"\r\n|AddStaff|Name:\"One\"\r\n|Clef|Type:Bass\r\n";
  // Without a header: refused for files, read from the start for user tools.
  EXPECT_FALSE(Read(body).score);
  TReadResult tool = Read("# made by a tool\r\n" + body, kScoreTextModeTool);
  ASSERT_TRUE(tool.score);
  EXPECT_EQ(std::u16string(tool.score->GetSongInfoText(kSongTitle)), u"T");
  EXPECT_EQ(tool.score->GetStaff(0)->GetItemCount(), 3);
  // Comments before the header are skipped; a blank line or a bad version ends the search.
  EXPECT_TRUE(Read("# note\r\n" + ScoreWithLines({})).score);
  EXPECT_FALSE(Read("\r\n" + ScoreWithLines({})).score);
  EXPECT_FALSE(Read("!TarlowmedeRazadove(x.y)\r\n|AddStaff\r\n!TarlowmedeRazadove-End\r\n").score);
  EXPECT_FALSE(Read("").score);
  // Text after the end line is ignored.
  TReadResult tail = Read(ScoreWithLines({"|Clef|Type:Alto"}) + "|Clef|Type:Bass\r\ngarbage\r\n");
  ASSERT_TRUE(tail.score);
  EXPECT_EQ(tail.info.status, TLoadStatus::kLoaded);
  EXPECT_EQ(tail.score->GetStaff(0)->GetItemCount(), 3);
}

TEST(ScoreTextReaderTest, SniffsTheVersion) {
  const struct {
    const char* text;
    double version;
  } cases[] = {
      {"!TarlowmedeRazadove(2.75)\r\n", 2.75},
      {"junk\n!TarlowmedeVezerozaClip(2.6,Single)\n", 2.6},
      {"\r\n!TarlowmedeRazadove(2.75)\r\n", 0},
      {"nothing", 0},
  };
  for (const auto& c : cases) {
    TTextStream stream(c.text);
    EXPECT_DOUBLE_EQ(SniffTextFormatVersion(*stream), c.version) << c.text;
  }
}

TEST(ScoreTextReaderTest, StaffRecords) {
  TReadResult read = Read(ScoreWithLines({
      "|Clef|Type:Bass",
      "|Lyric3|Text:\"la la\"",
      "|Lyric9|Text:\"ignored\"",
      "|Spacer|Width:50",
      "|AddStaff|Name:\"A\"",
      "|Fake|Clef|Type:Alto",
      "|Context|Bar:3",
      "|Spacer|Width:12000",
  }));
  ASSERT_TRUE(read.score);
  ASSERT_EQ(read.score->GetStaffCount(), 2);
  const TMusicStaff* first = read.score->GetStaff(0);
  const TMusicStaff* second = read.score->GetStaff(1);
  EXPECT_EQ(first->GetItemCount(), 4);
  ASSERT_TRUE(first->GetLyrics());
  EXPECT_EQ(first->GetLyrics()->GetCount(), 3);
  EXPECT_EQ(std::u16string(second->GetName()), u"A-2");
  ASSERT_EQ(second->GetItemCount(), 3);
  EXPECT_EQ(FormatItemLine(*second->GetItem(1), kTextModeScore), "|Spacer|Width:9999");
  // The ignored lyric 9 and the clamped width are lenient reading, not damage.
  EXPECT_EQ(read.info.status, TLoadStatus::kLoaded);
  EXPECT_TRUE(read.info.repaired.dataFaults);
}

// What the writer writes reads back unchanged: values at the edges of what the reader takes,
// lyric lines with and without their closing line feed, and lyric lines that grow past any
// line limit when invalid bytes become U+FFFD.
TEST(ScoreTextReaderTest, SavedScoresReadBackUnchanged) {
  const std::string badBytes(20000, '\xFF');
  std::string replaced;  // each invalid byte becomes U+FFFD, three bytes
  for (size_t i = 0; i < badBytes.size(); ++i) replaced += "\xEF\xBF\xBD";
  const std::string longWord(40000, 'a');
  const struct {
    const char* name;
    std::string text;
    std::string written;  // what the written text holds
  } cases[] = {
      {"margin just below the limit", ScoreWithLines({"|PgMargins|Left:199.999|Top:0"}),
       "|PgMargins|Left:199.99|Top:0.00|"},
      {"ending at the highest stored position",
       ScoreWithLines({"|Ending|Endings:1|BracketOffsetNP:-100"}), "|Ending|Endings:1|VertOffset:101\r\n"},
      {"ending at the lowest offset", ScoreWithLines({"|Ending|Endings:1|VertOffset:-100"}),
       "|Ending|Endings:1|VertOffset:-100\r\n"},
      {"lyric line without its line feed", ScoreWithLines({"|Lyric1|Text:\"la-la lu\""}),
       "|Lyric1|Text:\"la-la lu\\n\"\r\n"},
      {"lyric line with its line feed", ScoreWithLines({"|Lyric2|Text:\"la\\n\\nlu\\n\""}),
       "|Lyric1|Text:\"\\n\"\r\n"},
      {"lyric line of invalid bytes", ScoreWithLines({"|Lyric1|Text:\"" + badBytes + "\""}),
       "|Lyric1|Text:\"" + replaced + "\\n\"\r\n"},
      // Invalid bytes in texts kept as bytes become U+FFFD, as in every other text.
      {"user-object value with an invalid byte", ScoreWithLines({"|User|Box|Data:\"a\xFFz\""}),
       "|User|Box|Pos:7|Data:a\xEF\xBF\xBDz\r\n"},
      {"typeface with an invalid byte",
       ScoreWithLines({"|Font|Style:PageText|Typeface:\"Bad\xFF\"|Size:12"}),
       "|Font|Style:PageText|Typeface:\"Bad\xEF\xBF\xBD\"|"},
      {"music typeface with an invalid byte", ScoreWithLines({"|PgSetup|NtnTypeface:\"M\xFF\""}),
       "|NtnTypeface:M\xEF\xBF\xBD|"},
      // A tie gives a chord member the accidental of the note before it; a member at the same
      // position in the other voice has that one written out. The reader shares it between
      // the two, so the writer writes it for both.
      {"tie into a unison of two voices",
       ScoreWithLines({"|Note|Dur:16th|Pos:v4^", "|Key|Signature:F#|Tonic:G",
                       "|Chord|Dur:4th|Pos:2,4,4|Dur2:Half|Pos2:-4"}),
       "|Chord|Dur:4th|Pos:2,v4|Opts:Stem=Down|Dur2:4th|Pos2:v4\r\n"},
      {"lyric syllable past the older line limit", ScoreWithLines({"|Lyric1|Text:\"" + longWord + " b\""}),
       "|Lyric1|Text:\"" + longWord + " b\\n\"\r\n"},
  };
  for (const auto& c : cases) {
    TReadResult first = Read(c.text);
    ASSERT_TRUE(first.score) << c.name;
    const std::string written = WriteScore(*first.score);
    EXPECT_NE(written.find(c.written), std::string::npos) << c.name;
    TReadResult second = Read(written);
    ASSERT_TRUE(second.score) << c.name;
    EXPECT_EQ(second.info.status, TLoadStatus::kLoaded) << c.name;
    EXPECT_TRUE(SameText(WriteScore(*second.score), written)) << c.name;
  }
}

// Texts of scores before 2.7 are in the code page of their font's character set, or of the
// Locale record's ANSI code page: Cyrillic and Japanese read as such, not as Windows-1252.
TEST(ScoreTextReaderTest, OlderTextsReadInTheirCodePages) {
  const std::string text =
      "!TarlowmedeRazadove(2.6)\r\n"
      "|Locale|ACP:1251\r\n"
      "|SongInfo|Title:\"\xCF\xE5\xF1\xED\xFF\"\r\n"  // "Песня" in Windows-1251
      "|Font|Style:StaffLyric|Typeface:\"Mincho\"|Size:10|CharSet:128\r\n"
      "|AddStaff|Name:\"\xC3\xEE\xEB\xEE\xF1\"\r\n"  // "Голос"
      "|Lyric1|Text:\"\x93\xFA \x96\x7B\"\r\n"  // "日 本" in Shift-JIS
      "!TarlowmedeRazadove-End\r\n";
  TReadResult read = Read(text);
  ASSERT_TRUE(read.score);
  EXPECT_EQ(read.info.codePage, 1251);
  EXPECT_EQ(std::u16string(read.score->GetSongInfoText(kSongTitle)), u"\u041f\u0435\u0441\u043d\u044f");
  const TMusicStaff* staff = read.score->GetStaff(0);
  EXPECT_EQ(std::u16string(staff->GetName()), u"\u0413\u043e\u043b\u043e\u0441");
  ASSERT_TRUE(staff->GetLyrics());
  EXPECT_EQ(staff->GetLyrics()->GetLine(0)->WriteToEdit(), u"\u65e5 \u672c\r\n");
}

TEST(ScoreTextReaderTest, UnreadableLinesStayAsTextItems) {
  TReadResult read = Read(ScoreWithLines({"|Clef|OctaveShift:Octave Up|AutoSys:N", "plain words here"}));
  ASSERT_TRUE(read.score);
  const TMusicStaff* staff = read.score->GetStaff(0);
  ASSERT_EQ(staff->GetItemCount(), 4);
  EXPECT_EQ(FormatItemLine(*staff->GetItem(1), kTextModeScore),
            "|Text|Text:\"\\}Clef\\}OctaveShift:Octav\"|Font:StaffBold|Pos:8|Wide:Y");
  EXPECT_EQ(FormatItemLine(*staff->GetItem(2), kTextModeScore),
            "|Text|Text:\"plain words here\"|Font:StaffBold|Pos:8|Wide:Y");
  EXPECT_EQ(read.info.status, TLoadStatus::kLoaded);
}

// Small odd or damaged texts: each loads as far as it is sound and never crashes. What the
// format bounds or defaults loads (status 1); only lost data reports the corrupt status.
TEST(ScoreTextReaderTest, LenientReadingLoadsAndDamageIsCorrupt) {
  const struct {
    const char* name;
    std::string text;
    TLoadStatus status = TLoadStatus::kLoaded;
  } cases[] = {
      {"no end line", ScoreWithLines({"|Clef|Type:Bass"}, false), TLoadStatus::kCorrupt},
      {"colour", ScoreWithLines({"|Clef|Type:Bass|Color:99"})},
      {"negative colour", ScoreWithLines({"|Bar|Color:-1"})},
      {"visibility", ScoreWithLines({"|Bar|Visibility:Sometimes"})},
      {"bar style", ScoreWithLines({"|Bar|Style:Wavy"})},
      {"repeat", ScoreWithLines({"|Bar|Style:LocalRepeatClose|Repeat:900"})},
      {"dynamic level", ScoreWithLines({"|Dynamic|Style:mmf"})},
      {"dynamic velocity", ScoreWithLines({"|Dynamic|Style:mf|Opts:Velocity=300"})},
      {"text font", ScoreWithLines({"|Text|Text:\"a\"|Font:Gothic"})},
      {"text scale", ScoreWithLines({"|Text|Text:\"a\"|Scale:0"})},
      {"tempo 0", ScoreWithLines({"|Tempo|Tempo:0"})},
      {"tempo base", ScoreWithLines({"|Tempo|Tempo:60|Base:Whole"})},
      {"time signature", ScoreWithLines({"|TimeSig|Signature:0/3"})},
      {"note position", ScoreWithLines({"|Note|Dur:4th|Pos:99999999999"})},
      {"note colour", ScoreWithLines({"|Note|Dur:4th|Pos:3!40"})},
      {"note duration", ScoreWithLines({"|Note|Dur:5th|Pos:3"})},
      {"stem length", ScoreWithLines({"|Note|Dur:4th|Pos:3|Opts:StemLength=99"})},
      {"chord unison refused", ScoreWithLines({"|Chord|Dur:4th|Pos:-2,0,2,0"})},
      {"too many velocities", ScoreWithLines({"|Instrument|DynVel:1,2,3,4,5,6,7,8,9"})},
      {"patch", ScoreWithLines({"|Instrument|Patch:128"})},
      {"bend range", ScoreWithLines({"|Instrument|Patch:1|BendRange:200"})},
      {"ending", ScoreWithLines({"|Ending|Endings:1,9|BracketHeight:-5"})},
      {"multi-bar rest", ScoreWithLines({"|RestMultiBar|NumBars:0"})},
      {"user property", ScoreWithLines({"|User|Glissando|bad name:1"})},
      {"seventeen properties",
       ScoreWithLines({"|User|T|a:1|b:2|c:3|d:4|e:5|f:6|g:7|h:8|i:9|j:10|k:11|l:12|m:13|n:14|o:15|p:16|q:17"}),
       TLoadStatus::kCorrupt},
      {"values past the field's limit", ScoreWithLines({"|Chord|Dur:4th|Pos:" + std::string(600, ',') + "1"}),
       TLoadStatus::kCorrupt},
      {"clef without type", ScoreWithLines({"|Clef"})},
      {"unknown field", ScoreWithLines({"|Clef|Type:Bass|Shade:Blue"})},
      {"unknown record", ScoreWithLines({"|Glissando|Length:3"})},
      {"lyric nine", ScoreWithLines({"|Lyric9|Text:\"ignored\""})},
      {"spacer too wide", ScoreWithLines({"|Spacer|Width:12000"})},
      {"staff channel", ScoreWithLines({"|StaffProperties|Channel:40"})},
      {"staff device", ScoreWithLines({"|StaffProperties|Device:99"})},
      {"staff volume", ScoreWithLines({"|StaffProperties|Volume:200"})},
      {"staff lines", ScoreWithLines({"|StaffProperties|Lines:300"})},
      {"staff colour", ScoreWithLines({"|StaffProperties|Color:Purple"})},
      {"staff size 0", ScoreWithLines({"|PgSetup|StaffSize:0"})},
      {"font", ScoreWithLines({"|Font|Style:StaffSymbols|Size:9"})},
      {"font size", ScoreWithLines({"|Font|Style:PageText|Size:0"})},
      {"font level", ScoreWithLines({"|Font|Style:PageText|CharSet:4000"})},
      {"margin", ScoreWithLines({"|PgMargins|Left:-3"})},
      {"lyric number", ScoreWithLines({"|Lyric0|Text:\"a\""})},
      {"editor", ScoreWithLines({"|Editor|ActiveStaff:40|CaretIndex:3"})},
      {"title too long", ScoreWithLines({"|SongInfo|Title:\"" + std::string(80, 't') + "\""})},
      {"not a record", ScoreWithLines({"hello"})},
      {"record without item", ScoreWithLines({"|Flow|Style:Nowhere"})},
      {"clip without end", "!TarlowmedeRazadoveClip(2.75,Single)\r\n|Clef|Type:Bass\r\n",
       TLoadStatus::kCorrupt},
  };
  for (const auto& c : cases) {
    TReadResult read = Read(c.text);
    ASSERT_TRUE(read.score) << c.name;
    EXPECT_EQ(read.info.status, c.status) << c.name;
    // Whatever was read is a score the writer can write and read again.
    const std::string text = WriteScore(*read.score);
    TReadResult again = Read(text);
    ASSERT_TRUE(again.score) << c.name;
    EXPECT_TRUE(SameText(WriteScore(*again.score), text)) << c.name;
  }
}

// An endless text: the given start, then comment lines of 1 MiB for ever (a decompression
// bomb without the compressed data).
class TEndlessTextStream : public TKRVStream {
public:
  static constexpr size_t kLineBytes = size_t{1} << 20;
  explicit TEndlessTextStream(std::string start) : start(std::move(start)) {}
  int GetByte() override {
    char c = 0;
    Read(&c, 1);
    return static_cast<unsigned char>(c);
  }
  int Read(void* buffer, int n) override {
    auto* out = static_cast<char*>(buffer);
    const size_t count = static_cast<size_t>(n);
    std::memset(out, '#', count);
    for (size_t i = 0; i < count; ++i, ++position) {
      if (position < start.size()) {
        out[i] = start[position];
      } else if ((position - start.size()) % kLineBytes == kLineBytes - 1) {
        out[i] = '\n';
      } else {
        // Past the start, the rest of this line is '#' already.
        const size_t rest = kLineBytes - 1 - (position - start.size()) % kLineBytes;
        const size_t skip = std::min(rest, count - i) - 1;
        i += skip;
        position += skip;
      }
    }
    return n;
  }

private:
  std::string start;
  size_t position = 0;
};

// Text past 256 MiB is refused as damage, whether it holds lines that never end the score or a
// tail after the end line; reading stops there.
TEST(ScoreTextReaderTest, TextPastTheLimitIsCorrupt) {
  const std::string head = "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"\r\n";
  for (const std::string& start : {head, ScoreWithLines({"|Clef|Type:Bass"})}) {
    TEndlessTextStream stream(start);
    TScoreLoadResult result = ReadScoreText(stream, TServices{}, kScoreTextModeFile);
    ASSERT_TRUE(result.score);
    EXPECT_EQ(result.status, TLoadStatus::kCorrupt);
    EXPECT_TRUE(result.textTooLarge);
  }
  EXPECT_FALSE(Read(ScoreWithLines({"|Clef|Type:Bass"})).info.textTooLarge);
}

// A compressed text whose compressed data is cut short or damaged reads as far as it decodes
// and reports the corrupt status, even when the cut falls after the end line's bytes were
// decoded; the whole data reads as loaded.
TEST(ScoreTextReaderTest, DamagedCompressedDataIsCorrupt) {
  const std::string text = WriteScore(*LoadedSample());
  TOutStream packed;
  {
    TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, &*packed, false);
    out.Write(text.data(), static_cast<int>(text.size()));
    ASSERT_TRUE(out.End());
  }
  const std::string bytes = packed.Text();
  std::string flipped = bytes;
  flipped[bytes.size() / 2] = static_cast<char>(flipped[bytes.size() / 2] ^ 0x55);
  const struct {
    const char* name;
    std::string data;
    TLoadStatus status;
  } cases[] = {
      {"whole", bytes, TLoadStatus::kLoaded},
      {"last byte cut", bytes.substr(0, bytes.size() - 1), TLoadStatus::kCorrupt},
      {"cut in half", bytes.substr(0, bytes.size() / 2), TLoadStatus::kCorrupt},
      {"damaged", flipped, TLoadStatus::kCorrupt},
  };
  for (const auto& c : cases) {
    TTextStream inner(c.data);
    TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &*inner, false);
    TScoreLoadResult info = ReadScoreText(in, TServices{}, kScoreTextModeFile);
    ASSERT_TRUE(info.score) << c.name;
    EXPECT_EQ(info.status, c.status) << c.name;
  }
}

TEST(ScoreTextReaderTest, AStaffPastItsLimitDropsTheRest) {
  std::vector<std::string> lines(kStaffFullCount + 10, "|Spacer|Width:1");
  TReadResult read = Read(ScoreWithLines(lines));
  ASSERT_TRUE(read.score);
  EXPECT_EQ(read.info.status, TLoadStatus::kCorrupt);
  EXPECT_EQ(read.score->GetStaff(0)->GetItemCount(), kStaffFullCount + 1);
}

TEST(ScoreTextReaderTest, A256thStaffIsDroppedWithItsRecords) {
  std::vector<std::string> lines;
  for (int i = 1; i < 258; ++i) {
    lines.push_back("|AddStaff|Name:\"S\"");
    lines.push_back("|StaffProperties|Channel:" + std::to_string(i % 16 + 1));
    lines.push_back("|Spacer|Width:" + std::to_string(i));
  }
  TReadResult read = Read(ScoreWithLines(lines));
  ASSERT_TRUE(read.score);
  EXPECT_EQ(read.info.status, TLoadStatus::kCorrupt);
  ASSERT_EQ(read.score->GetStaffCount(), TMusicScore::MaxScoreStaffs);
  const TMusicStaff* last = read.score->GetStaff(TMusicScore::MaxScoreStaffs - 1);
  ASSERT_EQ(last->GetItemCount(), 3);
  EXPECT_EQ(FormatItemLine(*last->GetItem(1), kTextModeScore), "|Spacer|Width:254");
}

// More than 100 lines: the staff keeps its boundaries at 100, which must read back clean
// (found by fuzzing).
TEST(ScoreTextReaderTest, BoundariesOfAStaffWithManyLines) {
  TMusicScore score;
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetLines(127);
  score.AddStaff(std::move(staff));
  const std::string text = WriteScore(score);
  EXPECT_NE(text.find("|BoundaryTop:100|BoundaryBottom:100|Lines:127|"), std::string::npos);
  TReadResult read = Read(text);
  ASSERT_TRUE(read.score);
  EXPECT_EQ(read.info.status, TLoadStatus::kLoaded);
  EXPECT_TRUE(SameText(WriteScore(*read.score), text));
}

TEST(ScoreTextReaderTest, LegacyStaffStylesBecomeConnections) {
  TReadResult read = Read(ScoreWithLines({
      "|StaffProperties|Style:Upper Grand Staff",
      "|AddStaff|Name:\"B\"",
      "|StaffProperties|Style:Lower Grand Staff",
      "|AddStaff|Name:\"C\"|Group:\"Strings\"",
      "|StaffProperties|Style:Orchestral",
      "|AddStaff|Name:\"D\"|Group:\"Strings\"",
      "|StaffProperties|Style:Orchestral",
  }));
  ASSERT_TRUE(read.score);
  ASSERT_EQ(read.score->GetStaffCount(), 4);
  EXPECT_TRUE(read.score->GetStaff(0)->GetBraceWithNext());
  EXPECT_TRUE(read.score->GetStaff(0)->GetConnectBarsWithNext());
  EXPECT_TRUE(read.score->GetStaff(0)->GetBracketWithNext());
  EXPECT_FALSE(read.score->GetStaff(1)->GetBraceWithNext());
  EXPECT_TRUE(read.score->GetStaff(2)->GetBracketWithNext());
  EXPECT_TRUE(read.score->GetStaff(2)->GetConnectBarsWithNext());
  EXPECT_FALSE(read.score->GetStaff(3)->GetBracketWithNext());
}

TEST(ScoreTextReaderTest, OlderVersionsReadTextsInTheirFontsCodePage) {
  // Version 2.6: texts are Windows-1252 bytes (the fonts' character set 0 gives the ANSI
  // code page).
  const std::string text =
      "!TarlowmedeRazadove(2.6)\r\n|SongInfo|Title:\"Caf\xE9\"\r\n|AddStaff|Name:\"S\"\r\n"
      "!TarlowmedeRazadove-End\r\n";
  TReadResult read = Read(text);
  ASSERT_TRUE(read.score);
  EXPECT_EQ(std::u16string(read.score->GetSongInfoText(kSongTitle)), u"Caf\u00e9");
  EXPECT_DOUBLE_EQ(read.info.textVersion, 2.6);
  EXPECT_EQ(read.info.codePage, 0);
}

// A Locale record's code page is reported for the file's header.
TEST(ScoreTextReaderTest, ReportsTheLocaleCodePage) {
  TReadResult read = Read(ScoreWithLines({"|Locale|ACP:1250"}));
  ASSERT_TRUE(read.score);
  EXPECT_EQ(read.info.codePage, 1250);
  EXPECT_EQ(read.info.status, TLoadStatus::kLoaded);
}

}  // namespace
}  // namespace kvt
