#include "midi/smf/smf_import.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "midi/events/midi_msg.h"

namespace kvt {

TSMFImport::TSMFImport(TSMFData& data, TKRVStream& input, TKRVStream* log,
                       const TServices& services)
    : TSMFInStream(input, log, services), data(data) {}

int64_t TSMFImport::ScaleTime(int64_t t, int d) {
  // Split so that no product leaves 64 bits (the running time stays below 2^41).
  const int64_t q = kSMFDivision / d;
  const int64_t r = kSMFDivision % d;
  return t * q + (t % d) * r / d + (t / d) * r;
}

void TSMFImport::OnHeader(int format, int trackCount, int division) {
  if (division == 0) {
    fileDivision = 32;
  } else if (division < 0) {
    // SMPTE: the high byte is minus the frames per second (29 stands for 29.97), the low
    // byte the ticks per frame; at 120 beats per minute a quarter lasts half a second.
    int frames = -(division >> 8);
    if (frames == 29) frames = 30;
    const int ticksPerFrame = division & 0xFF;
    fileDivision = std::max(1, frames * ticksPerFrame / 2);
  } else {
    fileDivision = division;
  }
}

bool TSMFImport::EventTime(uint32_t& time) {
  const int64_t t = ScaleTime(GetRunningTime(), fileDivision);
  if (t > std::numeric_limits<int32_t>::max()) {
    if (!warnedLate) {
      warnedLate = true;
      LogWarning("Events past the longest time a score can hold were dropped");
    }
    return false;
  }
  time = static_cast<uint32_t>(t);
  return true;
}

void TSMFImport::OnTrackStart() {
  current = std::make_unique<TSMFTrackData>();
  warnedFull = false;
  ++tracksSeen;
  if (tracksSeen > kSMFMaxStoredTracks && !warnedTracks) {
    warnedTracks = true;
    LogWarning("Tracks after the 256th were not imported");
  }
}

void TSMFImport::OnTrackEnd() {
  if (!current) return;
  if (data.GetTrackCount() > 0 && current->GetEvents().IsEmpty() && !current->HasTexts()) {
    current.reset();
    return;
  }
  if (tracksSeen <= kSMFMaxStoredTracks || data.GetTrackCount() == 0)
    data.AppendTrack(std::move(current));
  current.reset();
}

TSMFTrackData* TSMFImport::StoringTrack() {
  if (!current || tracksSeen > kSMFMaxStoredTracks) return nullptr;
  return current.get();
}

TSMFTrackData* TSMFImport::FirstTrack() {
  if (data.GetTrackCount() > 0) return data.GetTrack(0);
  return current.get();
}

void TSMFImport::AddEvent(TSMFTrackData& track, uint32_t time, TMidiMsg msg) {
  TMidiFileBuf& events = track.GetEvents();
  events.AddEvent(time, msg);
  if (events.GetOverflow() && !warnedFull) {
    warnedFull = true;
    LogWarning("A track holds more events than can be kept; the rest was dropped");
  }
}

void TSMFImport::OnChannelMessage(int status, int data1, int data2) {
  TSMFTrackData* track = StoringTrack();
  uint32_t time = 0;
  if (!track || !EventTime(time)) return;
  int command = (status >> 4) & 7;
  if (command == kMidiNoteOn && data2 == 0) command = kMidiNoteOff;
  TMidiMsg msg;
  // The raw fields as read; the setters would turn a velocity of 0 into 1.
  msg.SetWord(static_cast<uint32_t>(0x80 | (command << 4) | (status & 15)) |
              (static_cast<uint32_t>(data1 & 0x7F) << 8) |
              (static_cast<uint32_t>(data2 & 0x7F) << 16));
  AddEvent(*track, time, msg);
}

void TSMFImport::OnTempo(uint32_t microseconds) {
  TSMFTrackData* first = FirstTrack();
  uint32_t time = 0;
  if (microseconds == 0 || !first || !EventTime(time)) return;
  const int bpm = static_cast<int>(60000000u / microseconds);
  first->GetEvents().AddTempo(time, bpm);
}

void TSMFImport::OnTimeSignature(int nn, int dd, int cc, int bb) {
  TSMFTrackData* first = FirstTrack();
  uint32_t time = 0;
  if (!first || !EventTime(time)) return;
  first->GetEvents().AddTimeSignature(time, nn, dd);
}

void TSMFImport::OnKeySignature(int sf, int mi) {
  TSMFTrackData* track = StoringTrack();
  uint32_t time = 0;
  if (!track || !EventTime(time)) return;
  AddEvent(*track, time, TMidiMsg::KeySignature(sf, mi != 0));
}

void TSMFImport::OnPortPrefix(int port) {
  if (TSMFTrackData* track = StoringTrack()) track->SetPort(std::clamp(port, 0, 15));
}

void TSMFImport::AddSysEx(int kind, const uint8_t* bytes, int length) {
  uint32_t time = 0;
  if (length <= 0 || !EventTime(time)) return;
  TKRVSegRamStream& sysEx = data.GetSysExStream();
  const int n = std::min(length, 0xFFFF);
  sysEx.PutByte(kind);
  sysEx.WriteLong(static_cast<int32_t>(time));
  sysEx.WriteShort(n);
  sysEx.Write(bytes, n);
}

void TSMFImport::OnSysEx(const uint8_t* bytes, int length) { AddSysEx(0xF0, bytes, length); }

void TSMFImport::OnSysExContinuation(const uint8_t* bytes, int length) {
  AddSysEx(0xF7, bytes, length);
}

void TSMFImport::OnText(int type, const char* raw) {
  if (!raw || !*raw) return;
  TSMFTrackData* track = StoringTrack();
  uint32_t time = 0;
  if (!track || !EventTime(time)) return;
  const std::string text = TextToUtf8(raw);
  TKVMultiField& song = data.GetTexts();
  auto setSong = [&](int field, const std::string& value) {
    song.SetItem(field, CutUtf8(value, kSMFSongTextBytes).c_str());
  };
  switch (type) {
    case 1:
      if (data.GetTrackCount() < 2 && time == 0 && !*song.GetItem(kSMFAuthor) &&
          text.rfind("By ", 0) == 0)
        setSong(kSMFAuthor, text.substr(3));
      break;
    case 2:
      if (!*song.GetItem(kSMFCopyright1)) {
        const size_t cr = text.find('\r');
        setSong(kSMFCopyright1, text.substr(0, cr));
        if (cr != std::string::npos && cr + 1 < text.size())
          setSong(kSMFCopyright2, text.substr(cr + 1));
      } else if (!*song.GetItem(kSMFCopyright2)) {
        setSong(kSMFCopyright2, text);
      }
      break;
    case 3:
      if (!*track->GetName()) track->SetName(text);
      if (data.GetTrackCount() == 0 && !*song.GetItem(kSMFTitle)) setSong(kSMFTitle, text);
      break;
    case 4:
      if (!*track->GetInstrumentName()) track->SetInstrumentName(text);
      break;
    default: break;
  }
  track->AddText(time, type, text);
}

bool ImportSMF(TSMFData& data, TKRVStream& input, TKRVStream* log, const TServices& services) {
  data.Reset(0);
  TSMFImport reader(data, input, log, services);
  return reader.ReadFile();
}

}  // namespace kvt
