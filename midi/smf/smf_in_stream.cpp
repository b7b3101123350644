#include "midi/smf/smf_in_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "midi/events/midi_msg.h"
#include "notation/services/long_task_cancel.h"
#include "utils/stream.h"

namespace kvt {

namespace {

constexpr char kTrackTag[] = "MTrk";

bool IsChunkIdByte(uint8_t b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == ' ';
}

// Whether the window ends with the start of "MTrk" (a stray byte before the tag), so the
// window is no chunk id of its own.
bool EndsWithTagStart(const uint8_t w[4]) {
  for (int start = 1; start < 4; ++start)
    if (std::memcmp(w + start, kTrackTag, static_cast<size_t>(4 - start)) == 0) return true;
  return false;
}

}  // namespace

TSMFInStream::TSMFInStream(TKRVStream& input, TKRVStream* log, const TServices& services)
    : input(input), log(log), services(services) {}

void TSMFInStream::Report(const char* kind, const char* text, bool error) {
  char line[512];
  std::snprintf(line, sizeof line, "%s[%lu]: %s", kind,
                static_cast<unsigned long>(std::max<int32_t>(input.Tell(), 0)),
                text && *text ? text : "Miscellaneous");
  if (log) {
    log->WriteText(line, false);
    log->Printf("\n");
  }
  if (error)
    Error(line);
  else
    Warning(line);
}

void TSMFInStream::LogWarning(const char* text) { Report("Warning", text, false); }
void TSMFInStream::LogError(const char* text) { Report("Error", text, true); }

bool TSMFInStream::Cancelled() { return LongTaskCancelOf(services).CheckCancel(); }

bool TSMFInStream::ReadRawByte(int& byte) {
  if (inputEnded) return false;
  byte = input.GetByte();
  if (input.IsError()) {
    inputEnded = true;
    return false;
  }
  return true;
}

int TSMFInStream::ReadChunkByte() {
  if (chunkRemaining <= 0) {
    LogWarning("Attempt to read past end of record");
    return 0;
  }
  int byte = 0;
  if (!ReadRawByte(byte)) {
    const bool severe = chunkRemaining > 1;
    chunkRemaining = 0;
    if (severe)
      LogError("Premature error detected");
    else
      LogWarning("Premature error detected");
    return 0;
  }
  --chunkRemaining;
  return byte;
}

uint32_t TSMFInStream::ReadChunkNumber(int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | static_cast<uint32_t>(ReadChunkByte());
  return value;
}

uint32_t TSMFInStream::ReadVarLength() {
  uint32_t value = 0;
  // Four bytes hold the 28 bits the format allows; a fifth continuation byte is not read.
  for (int i = 0; i < 4; ++i) {
    if (chunkRemaining <= 0 || inputEnded || IsError()) break;
    const int byte = ReadChunkByte();
    value = (value << 7) | static_cast<uint32_t>(byte & 0x7F);
    if ((byte & 0x80) == 0) break;
  }
  return value;
}

bool TSMFInStream::ReadHeader() {
  uint8_t window[4] = {};
  int got = 0;
  int byte = 0;
  while (got < 4 && ReadRawByte(byte)) window[got++] = static_cast<uint8_t>(byte);
  // Leading bytes (a wrapper around the file) are skipped up to the header.
  while (got == 4 && std::memcmp(window, "MThd", 4) != 0) {
    if (!ReadRawByte(byte)) break;
    std::memmove(window, window + 1, 3);
    window[3] = static_cast<uint8_t>(byte);
  }
  if (got < 4 || std::memcmp(window, "MThd", 4) != 0) {
    LogError("This is not a MIDI file.");
    return false;
  }
  chunkRemaining = 4;
  chunkRemaining = ReadChunkNumber(4);
  format = static_cast<int>(ReadChunkNumber(2));
  trackCount = static_cast<int>(ReadChunkNumber(2));
  division = static_cast<int16_t>(ReadChunkNumber(2));
  OnHeader(format, trackCount, division);
  while (chunkRemaining > 0 && ReadRawByte(byte)) --chunkRemaining;
  return true;
}

bool TSMFInStream::SkipUnknownChunk(const uint8_t id[4]) {
  char text[80];
  std::snprintf(text, sizeof text, "Unknown chunk [%c%c%c%c] skipped", id[0], id[1], id[2], id[3]);
  LogWarning(text);
  chunkRemaining = 4;
  int64_t length = ReadChunkNumber(4);
  int byte = 0;
  while (length > 0 && ReadRawByte(byte)) --length;
  chunkRemaining = 0;
  return !inputEnded;
}

bool TSMFInStream::ReadTrackTag() {
  for (;;) {
    uint8_t window[4] = {};
    int got = 0;
    int byte = 0;
    while (got < 4 && ReadRawByte(byte)) window[got++] = static_cast<uint8_t>(byte);
    if (got == 4 && std::memcmp(window, kTrackTag, 4) == 0) return true;
    if (got == 4 && std::all_of(window, window + 4, IsChunkIdByte) && !EndsWithTagStart(window)) {
      // Another kind of chunk: its length says where the next one starts.
      if (!SkipUnknownChunk(window)) break;
      continue;
    }
    // Stray bytes: look for the tag's first letter, then the rest of the tag.
    int at = 0;
    while (at < got && window[at] != kTrackTag[0]) ++at;
    bool skipped = at > 0;
    int have = got - at;
    std::memmove(window, window + at, static_cast<size_t>(have));
    if (have == 0) {
      while (ReadRawByte(byte) && byte != kTrackTag[0]) skipped = true;
      if (inputEnded) break;
      window[0] = static_cast<uint8_t>(byte);
      have = 1;
    }
    if (skipped) {
      LogWarning("Expected string [MTrk] not found in proper place");
    }
    while (have < 4 && ReadRawByte(byte)) window[have++] = static_cast<uint8_t>(byte);
    if (have == 4 && std::memcmp(window, kTrackTag, 4) == 0) return true;
    break;
  }
  LogError("Expected string [MTrk] not found");
  return false;
}

void TSMFInStream::PutData(uint8_t byte) {
  if (static_cast<int>(data.size()) < kSMFMaxEventData)
    data.push_back(byte);
  else
    data.back() = byte;
}

void TSMFInStream::ReadEventData(uint32_t length, int lead) {
  data.resize(static_cast<size_t>(lead));
  int64_t n = length;
  if (n > chunkRemaining) {
    // One warning for the whole shortfall, not one per missing byte.
    LogWarning("Attempt to read past end of record");
    n = chunkRemaining;
  }
  for (int64_t i = 0; i < n && !inputEnded; ++i) PutData(static_cast<uint8_t>(ReadChunkByte()));
}

void TSMFInStream::HandleChannelMessage(int status, int data1) {
  const int command = (status >> 4) & 7;
  const int channel = status & 15;
  const int data2 = TMidiMsg::DataByteCount(command) > 1 ? ReadChunkByte() & 0x7F : 0;
  data1 &= 0x7F;
  // An event the input ended in is not reported.
  if (inputEnded) return;
  OnChannelMessage(status, data1, data2);
  switch (command) {
    case kMidiNoteOff: OnNoteOff(channel, data1); break;
    case kMidiNoteOn:
      if (data2 > 0)
        OnNoteOn(channel, data1, data2);
      else
        OnNoteOff(channel, data1);
      break;
    case kMidiPolyPressure: OnPolyPressure(channel, data1, data2); break;
    case kMidiControlChange: OnControlChange(channel, data1, data2); break;
    case kMidiPitchBend: OnPitchBend(channel, data1, data2); break;
    case kMidiProgramChange: OnProgramChange(channel, data1); break;
    case kMidiChannelPressure: OnChannelPressure(channel, data1); break;
    default: break;
  }
}

void TSMFInStream::HandleMeta() {
  const int type = ReadChunkByte();
  ReadEventData(ReadVarLength(), 0);
  if (inputEnded) return;
  const int length = static_cast<int>(data.size());
  const bool isText = type >= 0x01 && type <= 0x0F;
  if (isText) data.push_back(0);
  const uint8_t* d = data.data();
  OnMetaEvent(type, d, length);
  auto at = [&](int i) { return i < length ? static_cast<int>(d[i]) : 0; };
  if (isText) {
    OnText(type, reinterpret_cast<const char*>(d));
    return;
  }
  switch (type) {
    case 0x00: OnSequenceNumber((at(0) << 8) | at(1)); break;
    case kSMFMetaPort: OnPortPrefix(at(0)); break;
    case kSMFMetaEndOfTrack: OnEndOfTrack(); break;
    case kSMFMetaTempo: OnTempo(static_cast<uint32_t>((at(0) << 16) | (at(1) << 8) | at(2))); break;
    case 0x54: OnSmpteOffset(at(0), at(1), at(2), at(3), at(4)); break;
    case kSMFMetaTimeSignature: OnTimeSignature(at(0), at(1), at(2), at(3)); break;
    case kSMFMetaKeySignature: OnKeySignature(static_cast<int8_t>(at(0)), at(1)); break;
    case 0x7F: OnSequencerSpecific(d, length); break;
    default: OnMetaOther(type, d, length); break;
  }
}

bool TSMFInStream::ReadTrack() {
  if (!ReadTrackTag()) return false;
  chunkRemaining = 4;
  chunkRemaining = ReadChunkNumber(4);
  runningTime = 0;
  OnTrackStart();
  int runningStatus = 0;
  int savedStatus = 0;
  bool failed = false;
  while (chunkRemaining > 0 && !inputEnded && !IsError()) {
    runningTime = std::min<int64_t>(runningTime + ReadVarLength(), kSMFMaxRunningTime);
    if (Cancelled()) {
      failed = true;
      break;
    }
    if (chunkRemaining <= 0) break;
    int status = ReadChunkByte();
    if (inputEnded) break;
    int firstData = -1;
    if (status < 0x80) {
      firstData = status;
      if (runningStatus == 0) {
        LogWarning("Unexpected running status");
        runningStatus = savedStatus;
      }
      status = runningStatus;
      if (status == 0) continue;  // no status to fall back on: the byte is skipped
    } else if (status >= 0xF8 && status <= 0xFE) {
      continue;  // real-time bytes carry nothing for the file
    } else if (status >= 0xF0) {
      if (runningStatus != 0) savedStatus = runningStatus;
      runningStatus = 0;
    } else {
      runningStatus = status;
    }
    if (status < 0xF0) {
      HandleChannelMessage(status, firstData >= 0 ? firstData : ReadChunkByte());
    } else if (status == 0xF0) {
      data.assign(1, 0xF0);
      ReadEventData(ReadVarLength(), 1);
      if (!inputEnded) OnSysEx(data.data(), static_cast<int>(data.size()));
    } else if (status == 0xF7) {
      ReadEventData(ReadVarLength(), 0);
      if (!inputEnded) OnSysExContinuation(data.data(), static_cast<int>(data.size()));
    } else if (status == 0xFF) {
      HandleMeta();
    } else {
      char text[64];
      std::snprintf(text, sizeof text, "Unexpected status byte (%d)", status);
      LogWarning(text);
    }
  }
  OnTrackEnd();
  return !failed && !IsError();
}

bool TSMFInStream::ReadFile() {
  inputEnded = false;
  data.reserve(8192);
  if (ReadHeader() && !Cancelled()) {
    for (int i = 0; i < trackCount; ++i)
      if (!ReadTrack()) break;
  }
  OnEndOfFile();
  return !IsError();
}

}  // namespace kvt
