#include "midi/smf/smf_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/midi/smf_bytes.h"
#include "utils/flat_ram_stream.h"
#include "utils/seg_ram_stream.h"

namespace kvt {
namespace {

// Big-endian pieces of a file.
Bytes Be32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}
Bytes Header(int tracks, int division, int format = 1) {
  Bytes b = Cat({"MThd", 0, 0, 0, 6, 0, format, tracks >> 8, tracks & 255});
  b.push_back(static_cast<uint8_t>((division >> 8) & 255));
  b.push_back(static_cast<uint8_t>(division & 255));
  return b;
}
Bytes Track(const Bytes& body) {
  Bytes b = Cat({"MTrk"});
  const Bytes len = Be32(static_cast<uint32_t>(body.size()));
  b.insert(b.end(), len.begin(), len.end());
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const Bytes kEnd = {0, 0xFF, 0x2F, 0};

struct TReadResult {
  bool ok = false;
  std::string log;
  int warnings = 0;
};

class SmfImportTest : public testing::Test {
protected:
  TReadResult Read(Bytes bytes) {
    file = std::move(bytes);
    TKRVFlatRamStream input(file.data(), static_cast<int>(file.size()),
                            static_cast<int>(file.size()));
    TKRVSegRamStream log(2048);
    TSMFImport reader(data, input, &log);
    TReadResult r;
    r.ok = reader.ReadFile();
    r.warnings = reader.GetWarningCount();
    log.Rewind();
    for (int c = log.GetByte(); !log.IsError(); c = log.GetByte())
      r.log.push_back(static_cast<char>(c));
    return r;
  }
  std::vector<TMidiSongEvent> Events(int track) {
    std::vector<TMidiSongEvent> out;
    const TMidiFileBuf& events = data.GetTrack(track)->GetEvents();
    for (int i = 0; i < events.GetEventCount(); ++i) out.push_back(events.GetEvent(i));
    return out;
  }
  Bytes file;
  TSMFData data;
};

TEST_F(SmfImportTest, ReadsTheFileAsTheByteTableSays) {
  struct Case {
    const char* what;
    Bytes file;
    bool ok;
    const char* logPart;  // "" for an empty log
    int track;
    uint32_t time;  // of the first event of the track
    uint32_t word;  // its record
  };
  const Bytes note = {0x90, 60, 100};
  const Case cases[] = {
      {"wrapped in another container",
       Cat({"RIFF", 1, 2, 3}) + Header(1, 192) + Track(Bytes{0} + note + kEnd), true, "", 0, 0,
       0x00643C90},
      {"one stray byte before the tag", Header(1, 192) + Bytes{7} + Track(Bytes{0} + note + kEnd),
       true, "Warning[", 0, 0, 0x00643C90},
      {"division 96", Header(1, 96) + Track(Bytes{48} + note + kEnd), true, "", 0, 96, 0x00643C90},
      {"division 480", Header(1, 480) + Track(Bytes{0x81, 0x70} + note + kEnd), true, "", 0, 96,
       0x00643C90},
      {"division 0 counts as 32", Header(1, 0) + Track(Bytes{16} + note + kEnd), true, "", 0, 96,
       0x00643C90},
      // 25 frames of 40 ticks: 1000 ticks a second, 500 a quarter at 120 bpm.
      {"SMPTE division", Header(1, 0xE728) + Track(Bytes{0x81, 0x7A} + note + kEnd), true, "", 0,
       96, 0x00643C90},
      {"note-on with velocity 0 is a note off",
       Header(1, 192) + Track(Bytes{0, 0x91, 60, 0} + kEnd), true, "", 0, 0, 0x00003C81},
      {"data byte with no status", Header(1, 192) + Track(Bytes{0, 60, 0} + note + kEnd), true,
       "Unexpected running status", 0, 0, 0x00643C90},
      {"tempo 500,000", Header(1, 192) + Track(Bytes{0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20} + kEnd),
       true, "", 0, 0, 0x1007A120},
      {"tempo 700,000 stored by whole bpm",
       Header(1, 192) + Track(Bytes{0, 0xFF, 0x51, 3, 0x0A, 0xAE, 0x60} + kEnd), true, "", 0, 0,
       0x10000000u | 705882u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    data.Reset(0);
    const TReadResult r = Read(c.file);
    EXPECT_EQ(r.ok, c.ok);
    if (*c.logPart)
      EXPECT_NE(r.log.find(c.logPart), std::string::npos) << r.log;
    else
      EXPECT_EQ(r.log, "");
    ASSERT_GT(data.GetTrackCount(), c.track);
    const auto events = Events(c.track);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].time, c.time);
    EXPECT_EQ(events[0].msg.GetWord(), c.word);
  }
}

TEST_F(SmfImportTest, MessagesAreNumberedLinesEndingInCrLf) {
  const TReadResult r =
      Read(Header(1, 192) + Bytes{7} + Track(Bytes{0} + Bytes{0x90, 60, 100} + kEnd));
  EXPECT_EQ(r.log, "Warning[18]: Expected string [MTrk] not found in proper place\r\n");
  EXPECT_EQ(r.warnings, 1);
  const TReadResult bad = Read(Cat({"RIFF", 0, 0}));
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.log, "Error[6]: This is not a MIDI file.\r\n");
}

TEST_F(SmfImportTest, RunningStatusAcrossAMetaEventWarnsAndGoesOn) {
  const Bytes body = Bytes{0, 0x90, 60, 100, 0, 0xFF, 0x01, 1, 'x', 10, 62, 100} + kEnd;
  const TReadResult r = Read(Header(1, 192) + Track(body));
  EXPECT_TRUE(r.ok);
  EXPECT_NE(r.log.find("Unexpected running status"), std::string::npos);
  const auto events = Events(0);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].time, 10u);
  EXPECT_EQ(events[1].msg.GetData1(), 62);
}

TEST_F(SmfImportTest, TemposOfLaterTracksGoToTheFirstTrackAndZeroIsIgnored) {
  const Bytes conductor = Bytes{0, 0xFF, 0x58, 4, 6, 3, 24, 8} + kEnd;
  const Bytes melody =
      Bytes{0, 0xFF, 0x51, 3, 0, 0, 0, 0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0x90, 60, 100} + kEnd;
  ASSERT_TRUE(Read(Header(2, 192) + Track(conductor) + Track(melody)).ok);
  ASSERT_EQ(data.GetTrackCount(), 2);
  const auto first = Events(0);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].msg.GetKind(), kMidiKindTimeSig);
  EXPECT_EQ(first[0].msg.GetTimeSigNumerator(), 6);
  EXPECT_EQ(first[1].msg.GetTempoBpm(), 120);
  EXPECT_EQ(Events(1).size(), 1u);
}

TEST_F(SmfImportTest, SongTextsAndTrackNames) {
  const Bytes first =
      Bytes{0,   0xFF, 0x03, 5, 'T',  'i',  't', 'l', 'e', 0,   0xFF, 0x01, 5,   'B', 'y',
            ' ', 'M',  'e',  0, 0xFF, 0x02, 7,   '(', 'c', ')', '\r', 'A',  'B', 'C'} +
      kEnd;
  const Bytes second = Bytes{0,    0xFF, 0x04, 4,   'O', 'b', 'o',  'e', 0, 0xFF,
                             0x03, 3,    0xE9, 't', 'e', 0,   0x90, 60,  1} +
                       kEnd;
  ASSERT_TRUE(Read(Header(2, 192) + Track(first) + Track(second)).ok);
  EXPECT_STREQ(data.GetTexts().GetItem(kSMFTitle), "Title");
  EXPECT_STREQ(data.GetTexts().GetItem(kSMFAuthor), "Me");
  EXPECT_STREQ(data.GetTexts().GetItem(kSMFCopyright1), "(c)");
  EXPECT_STREQ(data.GetTexts().GetItem(kSMFCopyright2), "ABC");
  EXPECT_STREQ(data.GetTrack(1)->GetInstrumentName(), "Oboe");
  // Not UTF-8: read as Windows-1252.
  EXPECT_STREQ(data.GetTrack(1)->GetName(), "\xC3\xA9te");
}

TEST_F(SmfImportTest, TextCutsFallOnCharacterBoundaries) {
  // 41 bytes of two-byte characters (and one ASCII letter) for a 40-byte track name.
  Bytes name = {'x'};
  for (int i = 0; i < 20; ++i) name = name + Bytes{0xC3, 0xA9};
  Bytes body = Bytes{0, 0xFF, 0x03, static_cast<uint8_t>(name.size())} + name;
  body = body + Bytes{0, 0xFF, 0x05, static_cast<uint8_t>(name.size())} + name;
  ASSERT_TRUE(Read(Header(1, 192) + Track(body + kEnd)).ok);
  EXPECT_EQ(std::string(data.GetTrack(0)->GetName()).size(), 39u);
  uint32_t time = 0;
  std::string text;
  data.GetTrack(0)->GetTextStream().Rewind();
  ASSERT_TRUE(data.GetTrack(0)->NextText(time, text, 5, kSMFTextLyrics));
  EXPECT_EQ(text, "x\xC3\xA9");
}

TEST_F(SmfImportTest, ATrackWithOnlyItsEndAfterTheFirstIsDropped) {
  ASSERT_TRUE(
      Read(Header(3, 192) + Track(kEnd) + Track(kEnd) + Track(Bytes{0, 0x90, 1, 1} + kEnd)).ok);
  ASSERT_EQ(data.GetTrackCount(), 2);
  EXPECT_TRUE(data.GetTrack(0)->GetEvents().IsEmpty());
  EXPECT_EQ(Events(1).size(), 1u);
}

TEST_F(SmfImportTest, ACutFileKeepsWhatWasSoundAndSaysSo) {
  Bytes whole =
      Header(1, 192) +
      Track(Bytes{0, 0x90, 60, 100, 10, 0x80, 60, 0, 0, 0x90, 62, 100, 10, 0x80, 62, 0} + kEnd);
  whole.resize(whole.size() - 9);
  const TReadResult r = Read(whole);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.log.find("Premature error detected"), std::string::npos);
  // The cut event is not taken.
  EXPECT_EQ(Events(0).size(), 2u);
}

TEST_F(SmfImportTest, AnOversizedLengthWarnsOnceAndCostsOnlyTheFile) {
  // A meta event claiming 2^28 - 1 bytes inside a 12-byte chunk.
  const Bytes body = Bytes{0, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b', 0, 0x90, 60};
  const auto start = std::chrono::steady_clock::now();
  const TReadResult r = Read(Header(1, 192) + Track(body));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(r.warnings, 1) << r.log;
  EXPECT_TRUE(r.ok);
}

TEST_F(SmfImportTest, ALongVariableLengthQuantityStopsAfterFourBytes) {
  const Bytes body = Bytes{0x81, 0x81, 0x81, 0x81, 0x81, 0x90, 60, 100} + kEnd;
  Read(Header(1, 192) + Track(body));
  // The fifth byte is taken for a status-less data byte, not for more of the delta time.
  EXPECT_LT(data.GetTrack(0)->GetEvents().GetLastTime(), 1u << 28);
}

TEST_F(SmfImportTest, UnknownChunksAreSkippedByTheirLength) {
  // The unknown chunk holds an 'M' that must not be taken for a tag.
  const Bytes alien = Cat({"XFIH", 0, 0, 0, 6, 'M', 'T', 'x', 0, 0, 0});
  const TReadResult r = Read(Header(2, 192) + alien + Track(Bytes{0, 0x90, 60, 100} + kEnd) +
                             Track(Bytes{0, 0x91, 62, 100} + kEnd));
  EXPECT_TRUE(r.ok) << r.log;
  EXPECT_NE(r.log.find("Unknown chunk [XFIH] skipped"), std::string::npos);
  ASSERT_EQ(data.GetTrackCount(), 2);
  EXPECT_EQ(Events(1)[0].msg.GetChannel(), 1);
}

TEST_F(SmfImportTest, EventsPastTheScoresTimeRangeAreDroppedWithOneWarning) {
  // Division 1: each tick is 192 score ticks; 2^24 ticks run past 2^31 score ticks.
  Bytes body = {0, 0x90, 60, 100};
  for (int i = 0; i < 2; ++i) body = body + Bytes{0x88, 0x80, 0x80, 0x00, 0x90, 61, 100};
  const TReadResult r = Read(Header(1, 1) + Track(body + kEnd));
  EXPECT_EQ(r.warnings, 1) << r.log;
  EXPECT_EQ(Events(0).size(), 1u);
}

TEST_F(SmfImportTest, LyricTextsAreWalkedByKind) {
  const Bytes body =
      Bytes{0,    0xFF, 0x05, 2,   'l', 'a',  0,    0xFF, 0x01, 3,    '@',  'K', 'x', 10, 0xFF,
            0x01, 2,    'h',  'i', 0,   0xFF, 0x05, 0,    5,    0xFF, 0x05, 2,   'l', 'o'} +
      kEnd;
  ASSERT_TRUE(Read(Header(1, 192) + Track(body)).ok);
  TSMFTrackData& track = *data.GetTrack(0);
  EXPECT_TRUE(track.HasTextAfterStart(kSMFTextLyrics));
  EXPECT_TRUE(track.HasTextAfterStart(kSMFTextKaraoke));
  uint32_t time = 0;
  std::string text;
  std::vector<std::string> lyrics;
  while (track.NextText(time, text, 2, kSMFTextLyrics))
    lyrics.push_back(text + "@" + std::to_string(time));
  EXPECT_EQ(lyrics, (std::vector<std::string>{"l@0", "l@15"}));
}

}  // namespace
}  // namespace kvt
