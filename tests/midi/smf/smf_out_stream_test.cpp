#include "tests/midi/smf_dump_runner.h"
#include "midi/smf/smf_out_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "midi/smf/smf_header_info.h"
#include "tests/midi/smf_bytes.h"
#include "utils/file_stream.h"
#include "utils/precondition.h"
#include "utils/seg_ram_stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

// A writer whose track bodies are the test's functions.
class TTestWriter : public TSMFOutStream {
public:
  using TSMFOutStream::TSMFOutStream;

  void WriteFirstTrackBody() override {
    if (first) first(*this);
  }
  void WriteTrackBody(int index) override {
    bodies.push_back(index);
    if (track) track(*this, index);
  }

  std::function<void(TSMFOutStream&)> first;
  std::function<void(TSMFOutStream&, int)> track;
  std::vector<int> bodies;  // the track indexes written, in order
};

// A memory stream that fails its writes from a given byte on, its flush, or every seek.
class TFaultyStream : public TKRVSegRamStream {
public:
  TFaultyStream() : TKRVSegRamStream(256) {}

  void PutByte(int byte) override {
    if (putCount++ >= failAtByte) {
      SetFailed();
      return;
    }
    TKRVSegRamStream::PutByte(byte);
  }
  void Flush() override {
    if (failFlush) SetFailed();
  }
  bool Seek(int32_t position) override {
    return refuseSeek ? false : TKRVSegRamStream::Seek(position);
  }

  int failAtByte = INT32_MAX;
  bool failFlush = false;
  bool refuseSeek = false;

private:
  int putCount = 0;
};

TMidiMsg Note(bool on, int channel, int key, int velocity, int port = 0) {
  return TMidiMsg::Channel(on ? kMidiNoteOn : kMidiNoteOff, port, channel, key, velocity);
}

// ---------------------------------------------------------------------------------------
// Byte-level encoding

struct VarLenCase {
  uint32_t value;
  Bytes bytes;
};

TEST(SMFOutStreamTest, VariableLengthQuantities) {
  const VarLenCase cases[] = {
      {0, {0x00}},
      {127, {0x7F}},
      {128, {0x81, 0x00}},
      {200, {0x81, 0x48}},
      {16383, {0xFF, 0x7F}},
      {16384, {0x81, 0x80, 0x00}},
      {2097151, {0xFF, 0xFF, 0x7F}},
      {2097152, {0x81, 0x80, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      // Beyond four groups the format has no encoding: the largest value is written.
      {0x10000000, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const VarLenCase& c : cases) {
    SCOPED_TRACE(c.value);
    TKRVSegRamStream s(64);
    TSMFOutStream out(s);
    out.WriteVarLen(c.value);
    EXPECT_EQ(Contents(s), c.bytes);
  }
}

TEST(SMFOutStreamTest, BigEndianNumbers) {
  TKRVSegRamStream s(64);
  TSMFOutStream out(s);
  out.WriteLong(0x01020304);
  out.WriteShort(0x0506);
  out.WriteShort(0x12345);  // the low 16 bits
  EXPECT_EQ(Contents(s), (Bytes{1, 2, 3, 4, 5, 6, 0x23, 0x45}));
}

struct EventCase {
  const char* name;
  std::vector<TMidiSongEvent> events;
  Bytes bytes;
  uint32_t timeAfter;
};

TEST(SMFOutStreamTest, EventEncodings) {
  const EventCase cases[] = {
      {"note on", {{0, Note(true, 0, 60, 64)}}, {0x00, 0x90, 60, 64}, 0},
      {"second note at the same time keeps its status",
       {{0, Note(true, 0, 60, 64)}, {0, Note(true, 0, 64, 70)}},
       {0x00, 0x90, 60, 64, 0x00, 0x90, 64, 70}, 0},
      {"delta 200", {{200, Note(false, 3, 60, 0)}}, {0x81, 0x48, 0x83, 60, 0}, 200},
      {"deltas are from the previous event",
       {{100, Note(true, 0, 60, 64)}, {300, Note(false, 0, 60, 0)}},
       {0x64, 0x90, 60, 64, 0x81, 0x48, 0x80, 60, 0}, 300},
      {"program change has one data byte",
       {{0, TMidiMsg::Channel(kMidiProgramChange, 0, 5, 7, 0)}}, {0x00, 0xC5, 7}, 0},
      {"channel pressure has one data byte",
       {{0, TMidiMsg::Channel(kMidiChannelPressure, 0, 0, 50, 0)}}, {0x00, 0xD0, 50}, 0},
      {"control change and pitch bend have two",
       {{0, TMidiMsg::Channel(kMidiControlChange, 0, 1, 7, 100)},
        {0, TMidiMsg::Channel(kMidiPitchBend, 0, 2, 1, 65)}},
       {0x00, 0xB1, 7, 100, 0x00, 0xE2, 1, 65}, 0},
      {"the port never reaches the file", {{0, Note(true, 9, 36, 100, 7)}},
       {0x00, 0x99, 36, 100}, 0},
      {"tempo 500000", {{0, TMidiMsg::Tempo(500000)}}, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20},
       0},
      {"time signature 6/8", {{0, TMidiMsg::TimeSignature(6, 3)}},
       {0x00, 0xFF, 0x58, 0x04, 6, 3, 24, 8}, 0},
      {"key signature three flats minor", {{0, TMidiMsg::KeySignature(-3, true)}},
       {0x00, 0xFF, 0x59, 0x02, 0xFD, 1}, 0},
      {"key signature two sharps major", {{0, TMidiMsg::KeySignature(2, false)}},
       {0x00, 0xFF, 0x59, 0x02, 2, 0}, 0},
      {"a wait writes nothing and keeps the time",
       {{100, TMidiMsg::Wait(4)}, {150, Note(true, 0, 60, 64)}}, {0x81, 0x16, 0x90, 60, 64},
       150},
      {"a system status is no channel message",
       {{100, TMidiMsg(0x000000F0)}, {100, TMidiMsg(0x0000FFFF)}}, {}, 0},
      {"a status without bit 7 is no channel message", {{100, TMidiMsg(0x00004040)}}, {}, 0},
      {"data bytes keep seven bits", {{0, TMidiMsg(0x00FFC090)}}, {0x00, 0x90, 0x40, 0x7F}, 0},
      {"an event before the current time gets delta 0",
       {{300, Note(true, 0, 60, 64)}, {100, Note(false, 0, 60, 0)},
        {310, Note(true, 0, 62, 64)}},
       {0x82, 0x2C, 0x90, 60, 64, 0x00, 0x80, 60, 0, 0x0A, 0x90, 62, 64}, 310},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    TKRVSegRamStream s(64);
    TSMFOutStream out(s);
    for (const TMidiSongEvent& e : c.events) out.WriteEvent(e);
    EXPECT_EQ(Contents(s), c.bytes);
    EXPECT_EQ(out.GetCurrentTime(), c.timeAfter);
    EXPECT_FALSE(out.IsError());
  }
}

// ---------------------------------------------------------------------------------------
// Files

TEST(SMFOutStreamTest, EmptyFormat0File) {
  TKRVSegRamStream s(64);
  TTestWriter out(s);
  ASSERT_TRUE(out.WriteFile(0, 1, 192));
  EXPECT_EQ(Contents(s), Cat({"MThd", 0, 0, 0, 6, 0, 0, 0, 1, 0, 0xC0,  //
                              "MTrk", 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00}));
  EXPECT_TRUE(out.bodies.empty());
}

TEST(SMFOutStreamTest, Format1AnnouncesTheTempoTrackAndEveryTrack) {
  TKRVSegRamStream s(64);
  TTestWriter out(s);
  out.first = [](TSMFOutStream& w) { w.WriteEvent({0, TMidiMsg::Tempo(500000)}); };
  out.track = [](TSMFOutStream& w, int i) {
    w.WriteEvent({static_cast<uint32_t>(200 * i), Note(true, i, 60, 64)});
  };
  ASSERT_TRUE(out.WriteFile(1, 3, 192));
  EXPECT_EQ(out.bodies, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Contents(s),
            Cat({"MThd", 0, 0, 0, 6, 0, 1, 0, 4, 0, 0xC0,
                 "MTrk", 0, 0, 0, 11, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                 0x00, 0xFF, 0x2F, 0x00,
                 "MTrk", 0, 0, 0, 8, 0x00, 0x90, 60, 64, 0x00, 0xFF, 0x2F, 0x00,
                 "MTrk", 0, 0, 0, 9, 0x81, 0x48, 0x91, 60, 64, 0x00, 0xFF, 0x2F, 0x00,
                 "MTrk", 0, 0, 0, 9, 0x83, 0x10, 0x92, 60, 64, 0x00, 0xFF, 0x2F, 0x00}));
}

// Only format 1 writes more than the first chunk, so the header announces one chunk for
// every other format whatever count it was given.
TEST(SMFOutStreamTest, HeaderAnnouncesTheChunksWritten) {
  struct Case {
    int format, trackCount, chunks;
  };
  const Case cases[] = {{0, 1, 1}, {0, 5, 1}, {0, 0, 1}, {1, 0, 1}, {1, -3, 1},
                        {1, 2, 3}, {2, 4, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format << " " << c.trackCount);
    TKRVSegRamStream s(64);
    TTestWriter out(s);
    ASSERT_TRUE(out.WriteFile(c.format, c.trackCount, 192));
    Bytes bytes = Contents(s);
    ASSERT_GE(bytes.size(), 14u);
    EXPECT_EQ(bytes[10] << 8 | bytes[11], c.chunks);
    EXPECT_EQ(bytes.size(), 14u + 12u * static_cast<size_t>(c.chunks));
  }
}

TEST(SMFOutStreamTest, TrackLengthCountsEveryBodyByte) {
  // Bodies long enough for lengths above 255 and multi-byte text lengths.
  for (int n : {0, 1, 127, 128, 300, 20000}) {
    SCOPED_TRACE(n);
    TKRVSegRamStream s(97);  // an odd segment size, so patching crosses segments
    TTestWriter out(s);
    out.first = [n](TSMFOutStream& w) { w.WriteText(0, kSMFMetaText, std::string(n, 'x')); };
    ASSERT_TRUE(out.WriteFile(0, 1, 192));
    Bytes bytes = Contents(s);
    ASSERT_GE(bytes.size(), 22u);
    const uint32_t length = static_cast<uint32_t>(bytes[18]) << 24 | bytes[19] << 16 |
                            bytes[20] << 8 | bytes[21];
    EXPECT_EQ(length, bytes.size() - 22);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0x00, 0xFF, 0x2F, 0x00}));
  }
}

TEST(SMFOutStreamTest, WritesAfterDataAlreadyInTheStream) {
  TKRVSegRamStream s(64);
  s.WriteText("wrapper!", false);
  TTestWriter out(s);
  out.first = [](TSMFOutStream& w) { w.WriteEvent({0, Note(true, 0, 60, 64)}); };
  ASSERT_TRUE(out.WriteFile(0, 1, 96));
  EXPECT_EQ(Contents(s), Cat({"wrapper!", "MThd", 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,  //
                              "MTrk", 0, 0, 0, 8, 0x00, 0x90, 60, 64, 0x00, 0xFF, 0x2F, 0x00}));
}

// ---------------------------------------------------------------------------------------
// Texts

TEST(SMFOutStreamTest, TextEvent) {
  TKRVSegRamStream s(64);
  TSMFOutStream out(s);
  out.WriteText(200, kSMFMetaLyric, "la ");
  out.WriteText(0, kSMFMetaText, "");
  EXPECT_EQ(Contents(s), Cat({0x81, 0x48, 0xFF, 0x05, 3, "la ", 0x00, 0xFF, 0x01, 0}));
  EXPECT_EQ(out.GetCurrentTime(), 0u);  // WriteText leaves the time to its caller
}

TEST(SMFOutStreamTest, WideTextIsCutOnACharacterBoundary) {
  struct Case {
    const char* name;
    std::u16string text;
    size_t bytes;  // UTF-8 bytes written
  };
  const std::u16string a2044(2044, u'a');
  const Case cases[] = {
      {"short", u"Gr\u00FC\u00DFe \u266A", 11},
      {"exactly 2047", std::u16string(2047, u'a'), 2047},
      {"ASCII beyond the limit", std::u16string(3000, u'a'), 2047},
      {"two-byte character across the limit", a2044 + u"aa\u00E9", 2046},
      {"three-byte character across the limit", a2044 + u"a\u20AC", 2045},
      {"three-byte character ending at the limit", a2044 + u"\u20AC", 2047},
      {"four-byte character across the limit", a2044 + u"\U0001F600", 2044},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TKRVSegRamStream s(64);
    TSMFOutStream out(s);
    out.WriteTextW(0, kSMFMetaTrackName, c.text);
    const Bytes bytes = Contents(s);
    const size_t head = c.bytes < 128 ? 4 : 5;
    ASSERT_EQ(bytes.size(), head + c.bytes);
    const std::string utf8 = Utf16ToUtf8(c.text);
    EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(head), bytes.end()),
              utf8.substr(0, c.bytes));
    EXPECT_EQ(bytes[3], c.bytes < 128 ? c.bytes : (0x80 | c.bytes >> 7));
  }
}

TEST(SMFOutStreamTest, TextAtAnAbsoluteTime) {
  TKRVSegRamStream s(64);
  TSMFOutStream out(s);
  out.WriteTextAt(100, kSMFMetaLyric, "a");
  out.WriteTextAt(100, kSMFMetaLyric, "b");
  out.WriteEvent({300, Note(true, 0, 60, 64)});
  EXPECT_EQ(Contents(s), Cat({100, 0xFF, 5, 1, "a", 0, 0xFF, 5, 1, "b", 0x81, 0x48, 0x90, 60,
                              64}));
  try {
    out.WriteTextAt(299, kSMFMetaLyric, "c");
    FAIL() << "a text before the current time was written";
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "delta >= 0");
  }
}

// ---------------------------------------------------------------------------------------
// Failures

// A file with something in every track, for the fault tests.
void SetUpBodies(TTestWriter& out) {
  out.first = [](TSMFOutStream& w) {
    WriteSMFHeaderInfo(w, {u"Title", u"Me", u"", u""}, true);
    w.WriteEvent({0, TMidiMsg::Tempo(500000)});
  };
  out.track = [](TSMFOutStream& w, int i) {
    w.WriteEvent({0, Note(true, i, 60, 64)});
    w.WriteEvent({192, Note(false, i, 60, 0)});
  };
}

TEST(SMFOutStreamTest, AFailedByteAnywhereFailsTheFile) {
  TKRVSegRamStream good(64);
  TTestWriter reference(good);
  SetUpBodies(reference);
  ASSERT_TRUE(reference.WriteFile(1, 2, 192));
  const int size = good.Size();
  for (int failAt = 0; failAt < size; ++failAt) {
    SCOPED_TRACE(failAt);
    TFaultyStream s;
    s.failAtByte = failAt;
    TTestWriter out(s);
    SetUpBodies(out);
    EXPECT_FALSE(out.WriteFile(1, 2, 192));
    EXPECT_TRUE(out.IsError());
  }
}

TEST(SMFOutStreamTest, FailedFlushFailsTheFile) {
  TFaultyStream s;
  s.failFlush = true;
  TTestWriter out(s);
  SetUpBodies(out);
  EXPECT_FALSE(out.WriteFile(1, 2, 192));
  EXPECT_TRUE(out.IsError());
}

TEST(SMFOutStreamTest, StreamThatCannotSeekBackFailsTheFile) {
  TFaultyStream s;
  s.refuseSeek = true;
  TTestWriter out(s);
  SetUpBodies(out);
  EXPECT_FALSE(out.WriteFile(1, 2, 192));
  EXPECT_TRUE(out.IsError());
}

TEST(SMFOutStreamTest, FileThatCannotBeWrittenFails) {
  TKRVFStream s(kFileModeWrite, "/nonexistent-folder/out.mid");
  ASSERT_FALSE(s.IsOpen());
  TTestWriter out(s);
  SetUpBodies(out);
  EXPECT_FALSE(out.WriteFile(1, 2, 192));
}

// ---------------------------------------------------------------------------------------
// Files read back by an independent reader (mido)

using SMFOutStreamFileTest = test::SmfFileTest;

TEST_F(SMFOutStreamFileTest, Format1FileReadsBackWithEveryEvent) {
  TMidiFileBuf tempo(4), staff0(4), staff1(4);
  tempo.AddEvent(0, TMidiMsg::Tempo(500000));
  tempo.AddTimeSignature(0, 3, 2);
  tempo.AddKeySignature(0, 2, false);
  tempo.AddTempo(576, 100);
  tempo.AddKeySignature(1152, -3, true);
  tempo.AddWait(1200, 4);
  staff0.AddEvent(0, Note(true, 0, 60, 80));
  staff0.AddEvent(0, Note(true, 0, 64, 80));
  staff0.AddEvent(0, TMidiMsg::Channel(kMidiProgramChange, 0, 0, 40, 0));
  staff0.AddEvent(0, TMidiMsg::Channel(kMidiControlChange, 0, 0, 7, 100));
  staff0.AddEvent(192, TMidiMsg::Channel(kMidiPitchBend, 0, 0, 1, 65));
  staff0.AddEvent(192, Note(false, 0, 60, 0));
  staff0.AddEvent(192, Note(false, 0, 64, 0));
  staff0.AddEvent(384, Note(true, 0, 67, 90));
  staff0.AddEvent(20000, Note(false, 0, 67, 0));
  staff1.AddEvent(0, Note(true, 9, 36, 100, 1));
  staff1.AddEvent(96, Note(false, 9, 36, 0, 1));
  staff1.AddEvent(96, TMidiMsg::Channel(kMidiChannelPressure, 1, 9, 50, 0));
  staff1.AddEvent(100, TMidiMsg::Channel(kMidiPolyPressure, 1, 9, 36, 20));

  const std::string path = folder + "/song.mid";
  {
    TKRVFStream s(kFileModeWrite, path.c_str());
    TTestWriter out(s);
    out.first = [&](TSMFOutStream& w) {
      WriteSMFHeaderInfo(w, {u"Sonata \u266A", u"Zo\u00EB", u"\u00A9 2024", u""}, true);
      w.WriteEvents(tempo);
    };
    out.track = [&](TSMFOutStream& w, int i) {
      if (i == 1) w.WriteText(0, kSMFMetaTrackName, "Drums");
      w.WriteEvents(i == 0 ? staff0 : staff1);
      if (i == 1) w.WriteTextAt(150, kSMFMetaLyric, "end");
    };
    ASSERT_TRUE(out.WriteFile(1, 2, kSMFDivision));
    ASSERT_TRUE(s.Close());
  }
  EXPECT_EQ(Dump(path),
            "type=1 ticks=192 tracks=3\n"
            "track 0\n"
            "0 track_name [Sonata \u266A]\n"
            "0 text [By Zo\u00EB]\n"
            "0 copyright [\u00A9 2024]\n"
            "0 text [Generated by Tarlowmede Razadove]\n"
            "0 set_tempo 500000\n"
            "0 time_signature 3/4 clocks=24 n32=8\n"
            "0 key_signature D\n"
            "576 set_tempo 600000\n"
            "1152 key_signature Cm\n"
            "1152 end_of_track\n"
            "track 1\n"
            "0 program_change ch=0 program=40\n"
            "0 control_change ch=0 control=7 value=100\n"
            "0 note_on ch=0 note=60 vel=80\n"
            "0 note_on ch=0 note=64 vel=80\n"
            "192 note_off ch=0 note=60 vel=0\n"
            "192 note_off ch=0 note=64 vel=0\n"
            "192 pitchwheel ch=0 pitch=129\n"
            "384 note_on ch=0 note=67 vel=90\n"
            "20000 note_off ch=0 note=67 vel=0\n"
            "20000 end_of_track\n"
            "track 2\n"
            "0 track_name [Drums]\n"
            "0 note_on ch=9 note=36 vel=100\n"
            "96 note_off ch=9 note=36 vel=0\n"
            "96 aftertouch ch=9 value=50\n"
            "100 polytouch ch=9 note=36 value=20\n"
            "150 lyrics [end]\n"
            "150 end_of_track\n");
}

TEST_F(SMFOutStreamFileTest, Format0FileWithLongTextsReadsBack) {
  TMidiFileBuf all(4);
  all.AddEvent(0, TMidiMsg::Tempo(400000));
  for (int i = 0; i < 3; ++i) {
    all.AddEvent(static_cast<uint32_t>(i * 100000), Note(true, i, 60 + i, 100));
    all.AddEvent(static_cast<uint32_t>(i * 100000 + 50), Note(false, i, 60 + i, 0));
  }
  // A title of three-byte characters longer than the limit: cut after 682 of them.
  const std::u16string title(700, u'\u266A');
  const std::string path = folder + "/one.mid";
  {
    TKRVFStream s(kFileModeWrite, path.c_str());
    TTestWriter out(s);
    out.first = [&](TSMFOutStream& w) {
      WriteSMFHeaderInfo(w, {title, u"", u"", u""}, true);
      w.WriteEvents(all);
    };
    ASSERT_TRUE(out.WriteFile(0, 1, kSMFDivision));
    ASSERT_TRUE(s.Close());
  }
  std::string notes;
  for (int i = 0; i < 682; ++i) notes += "\u266A";
  EXPECT_EQ(Dump(path),
            "type=0 ticks=192 tracks=1\n"
            "track 0\n"
            "0 track_name [" + notes + "]\n"
            "0 text [Generated by Tarlowmede Razadove]\n"
            "0 set_tempo 400000\n"
            "0 note_on ch=0 note=60 vel=100\n"
            "50 note_off ch=0 note=60 vel=0\n"
            "100000 note_on ch=1 note=61 vel=100\n"
            "100050 note_off ch=1 note=61 vel=0\n"
            "200000 note_on ch=2 note=62 vel=100\n"
            "200050 note_off ch=2 note=62 vel=0\n"
            "200050 end_of_track\n");
}

}  // namespace
}  // namespace kvt
