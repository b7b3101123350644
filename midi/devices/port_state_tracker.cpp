#include "midi/devices/port_state_tracker.h"

namespace kvt {

namespace {

constexpr int kCcDataEntryMsb = 6;
constexpr int kCcDataEntryLsb = 38;
constexpr int kCcNrpnLsb = 98;
constexpr int kCcNrpnMsb = 99;
constexpr int kCcRpnLsb = 100;
constexpr int kCcRpnMsb = 101;

int Field(uint32_t word, int shift) { return static_cast<int>((word >> shift) & 0x7F); }

TMidiMsg Control(TMidiMsg like, int controller, int value) {
  return TMidiMsg::Channel(kMidiControlChange, like.GetPort(), like.GetChannel(), controller,
                           value);
}

}  // namespace

void TPortStateTracker::Clear() {
  noteCount = 0;
  controlCount = 0;
  paramCount = 0;
  selection.fill(0);
}

void TPortStateTracker::Track(TMidiMsg msg) {
  if (!msg.IsChannelMessage()) return;
  switch (msg.GetCommand()) {
    case kMidiNoteOn:
      if (msg.GetData2() > 0) {
        TrackNoteOn(msg);
        return;
      }
      TrackNoteOff(msg);
      return;
    case kMidiNoteOff:
      TrackNoteOff(msg);
      return;
    case kMidiControlChange: {
      const int controller = msg.GetData1();
      if (controller >= kCcNrpnLsb && controller <= kCcRpnMsb) {
        TrackSelection(msg);
      } else if (controller == kCcDataEntryMsb || controller == kCcDataEntryLsb) {
        TrackDataEntry(msg);
      } else {
        TrackControl(msg);
      }
      return;
    }
    case kMidiSystem:
      return;
    default:
      TrackControl(msg);
  }
}

void TPortStateTracker::TrackNoteOn(TMidiMsg msg) {
  if (noteCount < kMaxNotes) notes[noteCount++] = msg;
}

void TPortStateTracker::TrackNoteOff(TMidiMsg msg) {
  for (int i = 0; i < noteCount; ++i) {
    if (notes[i].GetChannel() == msg.GetChannel() && notes[i].GetData1() == msg.GetData1()) {
      notes[i] = notes[--noteCount];
      return;
    }
  }
}

void TPortStateTracker::TrackSelection(TMidiMsg msg) {
  uint32_t& word = selection[msg.GetChannel()];
  const uint32_t value = static_cast<uint32_t>(msg.GetData2() & 0x7F);
  int shift = 1;
  switch (msg.GetData1()) {
    case kCcNrpnLsb: shift = 1; break;
    case kCcNrpnMsb: shift = 8; break;
    case kCcRpnMsb: shift = 15; break;
    default: shift = 22; break;  // kCcRpnLsb
  }
  const bool nonRegistered = msg.GetData1() == kCcNrpnLsb || msg.GetData1() == kCcNrpnMsb;
  word = (word & ~(0x7Fu << shift)) | (value << shift);
  word = (word & ~1u) | (nonRegistered ? 1u : 0u);
}

void TPortStateTracker::TrackDataEntry(TMidiMsg msg) {
  const int channel = msg.GetChannel();
  const uint32_t word = selection[channel];
  const bool nonRegistered = (word & 1) != 0;
  const int msb = nonRegistered ? Field(word, 8) : Field(word, 15);
  const int lsb = nonRegistered ? Field(word, 1) : Field(word, 22);
  TParam* entry = nullptr;
  for (int i = 0; i < paramCount; ++i) {
    TParam& p = params[i];
    if (p.nonRegistered == nonRegistered && p.channel == channel && p.msb == msb &&
        p.lsb == lsb) {
      entry = &p;
      break;
    }
  }
  if (!entry) {
    if (paramCount >= kMaxParams) return;
    entry = &params[paramCount++];
    *entry = TParam{nonRegistered, channel, msb, lsb, -1, -1};
  }
  (msg.GetData1() == kCcDataEntryMsb ? entry->dataMsb : entry->dataLsb) = msg.GetData2() & 0x7F;
}

void TPortStateTracker::TrackControl(TMidiMsg msg) {
  const int command = msg.GetCommand();
  const bool keyed = command == kMidiControlChange;
  for (int i = 0; i < controlCount; ++i) {
    const TMidiMsg old = controls[i];
    if (old.GetCommand() != command || old.GetChannel() != msg.GetChannel()) continue;
    if (keyed && old.GetData1() != msg.GetData1()) continue;
    if (command != kMidiProgramChange) {
      controls[i] = msg;
      return;
    }
    // A program change moves to the end, after the bank selects that must precede it.
    for (int j = i + 1; j < controlCount; ++j) controls[j - 1] = controls[j];
    controls[controlCount - 1] = msg;
    return;
  }
  if (controlCount < kMaxControls) controls[controlCount++] = msg;
}

void TPortStateTracker::AppendSilence(std::vector<TMidiMsg>& out) const {
  for (int i = 0; i < controlCount; ++i) {
    const TMidiMsg c = controls[i];
    if (c.GetCommand() == kMidiControlChange && c.GetData1() == kMidiControllerSustain &&
        c.GetData2() != 0)
      out.push_back(Control(c, kMidiControllerSustain, 0));
  }
  for (int i = 0; i < noteCount; ++i) {
    TMidiMsg off = notes[i];
    // A note-on of velocity 0: the setters refuse to build one, so the word is set directly.
    off.SetWord(off.GetWord() & 0xFF00FFFFu);
    out.push_back(off);
  }
}

void TPortStateTracker::AppendRestore(std::vector<TMidiMsg>& out) const {
  for (int i = 0; i < paramCount; ++i) {
    const TParam& p = params[i];
    const TMidiMsg like = TMidiMsg::Channel(kMidiControlChange, 0, p.channel, 0, 0);
    out.push_back(Control(like, p.nonRegistered ? kCcNrpnMsb : kCcRpnMsb, p.msb));
    out.push_back(Control(like, p.nonRegistered ? kCcNrpnLsb : kCcRpnLsb, p.lsb));
    if (p.dataMsb >= 0) out.push_back(Control(like, kCcDataEntryMsb, p.dataMsb));
    if (p.dataLsb >= 0) out.push_back(Control(like, kCcDataEntryLsb, p.dataLsb));
  }
  for (int i = 0; i < controlCount; ++i) out.push_back(controls[i]);
  for (int i = 0; i < noteCount; ++i) out.push_back(notes[i]);
}

}  // namespace kvt
