// The analyses of TMidiFileBuf over its channel messages.
#include <bitset>

#include "midi/events/midi_file_buf.h"

namespace kvt {

namespace {

bool OnChannel(TMidiMsg msg, uint16_t channelMask) {
  return msg.IsChannelMessage() && (channelMask & (1u << msg.GetChannel()));
}

// A note number usable as an index: raw words from files may carry bytes above 127.
bool IsNoteNumber(int note) { return note >= 0 && note < 128; }

}  // namespace

uint16_t TMidiFileBuf::GetChannelsUsed(int commandMask, uint16_t channelMask) const {
  uint16_t used = 0;
  const int count = GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiMsg msg = GetEvent(i).msg;
    if (OnChannel(msg, channelMask) && (commandMask & (1 << msg.GetCommand())))
      used |= static_cast<uint16_t>(1u << msg.GetChannel());
  }
  return used;
}

int TMidiFileBuf::GetLowestNote(uint16_t channelMask) const {
  int lowest = -1;
  const int count = GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiMsg msg = GetEvent(i).msg;
    if (OnChannel(msg, channelMask) && msg.GetCommand() == kMidiNoteOn &&
        IsNoteNumber(msg.GetData1()) && (lowest < 0 || msg.GetData1() < lowest))
      lowest = msg.GetData1();
  }
  return lowest;
}

int TMidiFileBuf::GetHighestNote(uint16_t channelMask) const {
  int highest = -1;
  const int count = GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiMsg msg = GetEvent(i).msg;
    if (OnChannel(msg, channelMask) && msg.GetCommand() == kMidiNoteOn &&
        IsNoteNumber(msg.GetData1()) && msg.GetData1() > highest)
      highest = msg.GetData1();
  }
  return highest;
}

int TMidiFileBuf::GetWidestSpread(uint16_t channelMask) const {
  std::bitset<128> sounding;
  int widest = 0;
  const int count = GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiMsg msg = GetEvent(i).msg;
    if (!OnChannel(msg, channelMask) || !IsNoteNumber(msg.GetData1())) continue;
    const int note = msg.GetData1();
    if (msg.IsNoteOff()) {
      sounding.reset(note);
    } else if (msg.IsNoteOn()) {
      sounding.set(note);
      int low = 0;
      while (!sounding.test(low)) ++low;
      int high = 127;
      while (!sounding.test(high)) --high;
      if (high - low > widest) widest = high - low;
    }
  }
  return widest;
}

void TMidiFileBuf::GetPatchesAndDrumKeys(int port, uint16_t channelMask,
                                         uint16_t drumChannelMask, uint16_t programs[128],
                                         uint16_t drumKeys[128]) const {
  for (int i = 0; i < 128; ++i) programs[i] = drumKeys[i] = 0;
  const int count = GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiMsg msg = GetEvent(i).msg;
    if (!msg.IsChannelMessage() || msg.GetPort() != (port & 15)) continue;
    const int value = msg.GetData1();
    if (!IsNoteNumber(value)) continue;
    const uint16_t bit = static_cast<uint16_t>(1u << msg.GetChannel());
    if (msg.GetCommand() == kMidiProgramChange && (channelMask & bit)) programs[value] |= bit;
    if (msg.IsNoteOn() && (drumChannelMask & bit)) drumKeys[value] |= bit;
  }
}

}  // namespace kvt
