#include "midi/smf/smf_out_stream.h"

#include <algorithm>
#include <string>

#include "utils/precondition.h"
#include "utils/text_encoding.h"

namespace kvt {

int TSMFOutStream::PutByte(int byte) {
  ++trackBytes;
  output.PutByte(byte & 0xFF);
  if (!output.IsError()) return 1;
  // One report is enough: the flag stays set and the caller tests it at the end.
  if (!IsError()) Error("Error writing MIDI data");
  return 0;
}

void TSMFOutStream::WriteVarLen(uint32_t value) {
  value = std::min(value, kSMFMaxVarLen);
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) PutByte(groups[--n] | 0x80);
  PutByte(groups[0]);
}

void TSMFOutStream::WriteLong(uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) PutByte(static_cast<int>(value >> shift));
}

void TSMFOutStream::WriteShort(int value) {
  PutByte(value >> 8);
  PutByte(value);
}

void TSMFOutStream::WriteTag(const char* tag) {
  for (int i = 0; i < 4; ++i) PutByte(tag[i]);
}

bool TSMFOutStream::WriteFile(int format, int trackCount, int division) {
  this->format = format;
  this->trackCount = std::clamp(trackCount, 0, 65534);
  this->division = division;
  // Only format 1 has chunks beyond the first; announcing more than are written would make
  // readers look for chunks that never come.
  const int chunks = format == 1 ? this->trackCount + 1 : 1;

  WriteTag("MThd");
  WriteLong(6);
  WriteShort(format);
  WriteShort(chunks);
  WriteShort(division);
  WriteTrack(-1);
  if (format == 1) {
    for (int i = 0; i < this->trackCount; ++i) WriteTrack(i);
  }
  output.Flush();
  if (output.IsError() && !IsError()) Error("Error writing MIDI data");
  return !IsError();
}

void TSMFOutStream::WriteTrack(int index) {
  const int32_t start = output.Tell();
  WriteTag("MTrk");
  WriteLong(0);
  trackBytes = 0;
  currentTime = 0;
  if (index < 0) {
    WriteFirstTrackBody();
  } else {
    WriteTrackBody(index);
  }
  PutByte(0);
  PutByte(0xFF);
  PutByte(kSMFMetaEndOfTrack);
  PutByte(0);

  const uint32_t length = trackBytes;
  const int32_t end = output.Tell();
  if (!output.Seek(start)) {
    Error("Error writing MIDI data");
    return;
  }
  WriteTag("MTrk");
  WriteLong(length);
  if (!output.Seek(end)) Error("Error writing MIDI data");
}

void TSMFOutStream::WriteText(uint32_t delta, int type, std::string_view text) {
  const size_t length = Utf8PrefixLength(text, kSMFMaxVarLen);
  WriteVarLen(delta);
  PutByte(0xFF);
  PutByte(type);
  WriteVarLen(static_cast<uint32_t>(length));
  for (size_t i = 0; i < length; ++i) PutByte(static_cast<unsigned char>(text[i]));
}

void TSMFOutStream::WriteTextW(uint32_t delta, int type, std::u16string_view text) {
  const std::string utf8 = Utf16ToUtf8(text);
  WriteText(delta, type,
            std::string_view(utf8).substr(0, Utf8PrefixLength(utf8, kSMFMaxWideTextBytes)));
}

void TSMFOutStream::WriteTextAt(uint32_t time, int type, std::string_view text) {
  const int64_t delta = static_cast<int64_t>(time) - static_cast<int64_t>(currentTime);
  KVT_PRECONDITION(delta >= 0);
  WriteText(static_cast<uint32_t>(delta), type, text);
  currentTime = time;
}

uint32_t TSMFOutStream::AdvanceTo(uint32_t time) {
  if (time <= currentTime) return 0;
  const uint32_t delta = time - currentTime;
  currentTime = time;
  return delta;
}

void TSMFOutStream::WriteEvent(const TMidiSongEvent& event) {
  const TMidiMsg msg = event.msg;
  switch (msg.GetKind()) {
    case kMidiKindChannel: {
      const int status = msg.GetStatus();
      // A system status here would start a system-exclusive or meta event and garble the
      // rest of the track; such a record is not a channel message and is left out.
      if (status < 0x80 || status >= 0xF0) return;
      WriteVarLen(AdvanceTo(event.time));
      PutByte(status);
      PutByte(msg.GetData1() & 0x7F);
      if (msg.GetDataByteCount() == 2) PutByte(msg.GetData2() & 0x7F);
      return;
    }
    case kMidiKindTempo: {
      const uint32_t micros = msg.GetTempoMicros();
      WriteVarLen(AdvanceTo(event.time));
      PutByte(0xFF);
      PutByte(kSMFMetaTempo);
      PutByte(3);
      PutByte(static_cast<int>(micros >> 16));
      PutByte(static_cast<int>(micros >> 8));
      PutByte(static_cast<int>(micros));
      return;
    }
    case kMidiKindTimeSig:
      WriteVarLen(AdvanceTo(event.time));
      PutByte(0xFF);
      PutByte(kSMFMetaTimeSignature);
      PutByte(4);
      PutByte(msg.GetTimeSigNumerator());
      PutByte(msg.GetTimeSigDenominatorPower());
      PutByte(24);  // MIDI clocks per metronome click
      PutByte(8);   // thirty-second notes per quarter
      return;
    case kMidiKindKeySig:
      WriteVarLen(AdvanceTo(event.time));
      PutByte(0xFF);
      PutByte(kSMFMetaKeySignature);
      PutByte(2);
      PutByte(msg.GetKeySigCount());
      PutByte(msg.IsKeySigMinor() ? 1 : 0);
      return;
    default:
      return;  // waits and unknown kinds write nothing
  }
}

void TSMFOutStream::WriteEvents(const TMidiFileBuf& buffer) {
  const int count = buffer.GetEventCount();
  for (int i = 0; i < count; ++i) WriteEvent(buffer.GetEvent(i));
}

}  // namespace kvt
