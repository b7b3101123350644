#include "midi/events/midi_msg.h"

#include <algorithm>

namespace kvt {

namespace {

int ClampData(int value) { return std::clamp(value, 0, 127); }

}  // namespace

int TMidiMsg::GetByte(int i) const {
  if (i < 0 || i > 3) return 0;
  return static_cast<int>((word >> (8 * i)) & 0xFF);
}

void TMidiMsg::SetByte(int i, int value) {
  const unsigned shift = 8u * static_cast<unsigned>(i);
  word = (word & ~(0xFFu << shift)) | ((static_cast<uint32_t>(value) & 0xFFu) << shift);
}

void TMidiMsg::SetKindAndPort(int kind, int port) {
  SetByte(3, ((kind & 15) << 4) | (port & 15));
}

bool TMidiMsg::IsNoteOn() const {
  return IsChannelMessage() && GetCommand() == kMidiNoteOn && GetData2() > 0;
}

bool TMidiMsg::IsNoteOff() const {
  if (!IsChannelMessage()) return false;
  return GetCommand() == kMidiNoteOff || (GetCommand() == kMidiNoteOn && GetData2() == 0);
}

int TMidiMsg::DataByteCount(int command) {
  static constexpr int kCounts[8] = {2, 2, 2, 2, 1, 1, 2, 0};
  return kCounts[command & 7];
}

int TMidiMsg::GetSortPriority() const {
  if (!IsChannelMessage()) return 2;
  switch (GetCommand()) {
    case kMidiNoteOff:
      return 0;
    case kMidiNoteOn:
      return GetData2() == 0 ? 0 : 4;
    case kMidiControlChange:
      if (GetData1() == kMidiControllerSustain) return GetData2() < 65 ? 1 : 3;
      return 2;
    default:
      return 2;
  }
}

uint32_t TMidiMsg::GetTempoMicros() const {
  return GetKind() == kMidiKindTempo ? (word & 0xFFFFFF) : 0;
}

int TMidiMsg::GetTempoBpm() const {
  if (GetKind() != kMidiKindTempo) return 45;
  const uint32_t micros = GetTempoMicros();
  // A record of 0 microseconds (possible in a damaged file) must not divide by zero.
  if (micros == 0) return 60000000;
  return std::max(static_cast<int>(60000000u / micros), 8);
}

void TMidiMsg::FixNoteOnVelocity() {
  if (IsChannelMessage() && GetCommand() == kMidiNoteOn && GetData2() == 0) SetByte(2, 1);
}

void TMidiMsg::SetCommand(int command) {
  SetByte(0, 0x80 | ((command & 7) << 4) | GetChannel());
  SetKindAndPort(kMidiKindChannel, GetPort());
  FixNoteOnVelocity();
}

void TMidiMsg::SetChannel(int channel) { SetByte(0, (GetStatus() & 0xF0) | (channel & 15)); }

void TMidiMsg::SetPort(int port) { SetKindAndPort(GetKind(), port); }

void TMidiMsg::SetData(int data1, int data2) {
  SetByte(1, ClampData(data1));
  SetByte(2, ClampData(data2));
  FixNoteOnVelocity();
}

void TMidiMsg::SetData1(int data1) { SetByte(1, ClampData(data1)); }

void TMidiMsg::SetData2(int data2) {
  SetByte(2, ClampData(data2));
  FixNoteOnVelocity();
}

void TMidiMsg::Set(int command, int port, int channel, int data1, int data2) {
  word = 0;
  SetByte(0, 0x80 | ((command & 7) << 4) | (channel & 15));
  SetKindAndPort(kMidiKindChannel, port);
  SetData(data1, data2);
}

TMidiMsg TMidiMsg::Channel(int command, int port, int channel, int data1, int data2) {
  TMidiMsg msg;
  msg.Set(command, port, channel, data1, data2);
  return msg;
}

TMidiMsg TMidiMsg::TempoFromBpm(int bpm) {
  return Tempo(60000000u / static_cast<uint32_t>(std::max(bpm, 4)));
}

TMidiMsg TMidiMsg::Tempo(uint32_t micros) {
  TMidiMsg msg(std::clamp<uint32_t>(micros, 1, kMidiMaxTempoMicros));
  msg.SetKindAndPort(kMidiKindTempo, 0);
  return msg;
}

TMidiMsg TMidiMsg::TimeSignature(int numerator, int denominatorPower) {
  TMidiMsg msg;
  msg.SetByte(0, std::clamp(numerator, 0, 255));
  msg.SetByte(1, std::clamp(denominatorPower, 0, 255));
  msg.SetKindAndPort(kMidiKindTimeSig, 0);
  return msg;
}

TMidiMsg TMidiMsg::KeySignature(int count, bool minor) {
  const int clamped = std::clamp(count, -32768, 32767);
  TMidiMsg msg(static_cast<uint32_t>(static_cast<uint16_t>(clamped)));
  msg.SetByte(2, minor ? 1 : 0);
  msg.SetKindAndPort(kMidiKindKeySig, 0);
  return msg;
}

TMidiMsg TMidiMsg::Wait(int length) {
  TMidiMsg msg(static_cast<uint32_t>(std::clamp(length, 0, 65535)));
  msg.SetKindAndPort(kMidiKindWait, 0);
  return msg;
}

}  // namespace kvt
