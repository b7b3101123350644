#pragma once
// TMidiMsg: one packed MIDI record of 4 bytes, also handled as one 32-bit word whose low byte
// is byte 0.
//
//   byte 0: status (bit 7 set; bits 4-6 command index; bits 0-3 channel)
//   byte 1: first data byte (note, controller, program)
//   byte 2: second data byte (velocity, value)
//   byte 3: bits 0-3 output port 0-15, bits 4-7 record kind (TMidiRecordKind)
//
// For a channel message the low three bytes are exactly the short message a MIDI output takes;
// byte 3 never reaches the device. The other record kinds use bytes 0-2 as described at their
// makers.
//
// The setters never build an invalid message: data bytes are clamped to 0..127, channels and
// ports masked to 4 bits, and a note-on built through them never carries velocity 0 (which a
// device would take for a note off); a zero velocity becomes 1. Raw words from outside are
// taken as they are by the word constructor; readers of such messages bound what they index.

#include <cstdint>

namespace kvt {

// Command indexes (bits 4-6 of the status byte).
enum TMidiCommand : int {
  kMidiNoteOff = 0,          // 0x80
  kMidiNoteOn = 1,           // 0x90
  kMidiPolyPressure = 2,     // 0xA0
  kMidiControlChange = 3,    // 0xB0
  kMidiProgramChange = 4,    // 0xC0
  kMidiChannelPressure = 5,  // 0xD0
  kMidiPitchBend = 6,        // 0xE0
  kMidiSystem = 7,           // 0xF0
};

// Record kinds (high nibble of byte 3).
enum TMidiRecordKind : int {
  kMidiKindChannel = 0,   // channel message
  kMidiKindTempo = 1,     // bytes 0-2: microseconds per quarter note, 24-bit little-endian
  kMidiKindTimeSig = 2,   // byte 0 numerator, byte 1 denominator as a power of two
  kMidiKindKeySig = 3,    // bytes 0-1 signed count (sharps positive, flats negative), byte 2 minor
  kMidiKindWait = 4,      // bytes 0-1 unsigned length in steps of 48 ticks
};

inline constexpr int kMidiControllerSustain = 64;
// Length of one wait step in ticks.
inline constexpr int kMidiWaitStepTicks = 48;
// Largest tempo a record can hold (24 bits of microseconds per quarter).
inline constexpr uint32_t kMidiMaxTempoMicros = 0xFFFFFF;

class TMidiMsg {
public:
  TMidiMsg() = default;
  // A raw word, taken as it is (for data read back from a file or a device).
  explicit constexpr TMidiMsg(uint32_t word) : word(word) {}

  uint32_t GetWord() const { return word; }
  void SetWord(uint32_t value) { word = value; }
  // Byte i (0-3) of the word; other i give 0.
  int GetByte(int i) const;

  // --- reading ---
  int GetKind() const { return static_cast<int>((word >> 28) & 15); }
  bool IsChannelMessage() const { return GetKind() == kMidiKindChannel; }
  int GetStatus() const { return static_cast<int>(word & 0xFF); }
  int GetCommand() const { return static_cast<int>((word >> 4) & 7); }
  int GetChannel() const { return static_cast<int>(word & 15); }
  int GetData1() const { return static_cast<int>((word >> 8) & 0xFF); }
  int GetData2() const { return static_cast<int>((word >> 16) & 0xFF); }
  int GetPort() const { return static_cast<int>((word >> 24) & 15); }
  // The low three bytes: the short message for an output device.
  uint32_t GetShortMessage() const { return word & 0xFFFFFF; }
  // A channel note-on with velocity above 0.
  bool IsNoteOn() const;
  // A channel note off, or a note-on with velocity 0.
  bool IsNoteOff() const;
  // Number of data bytes of the command: 2, 2, 2, 2, 1, 1, 2, 0 for commands 0-7.
  int GetDataByteCount() const { return DataByteCount(GetCommand()); }
  static int DataByteCount(int command);

  // Sort rank among records of the same time (lower first): note off and note-on with
  // velocity 0: 0; sustain (controller 64) below 65: 1; every other record: 2; sustain 65
  // and above: 3; note-on with velocity: 4.
  int GetSortPriority() const;

  // Tempo record: microseconds per quarter; 0 for other kinds.
  uint32_t GetTempoMicros() const;
  // Beats per minute: 60,000,000 / microseconds, at least 8, for a tempo record (a record of
  // 0 microseconds gives the largest value); 45 for any other record.
  int GetTempoBpm() const;
  int GetTimeSigNumerator() const { return GetByte(0); }
  int GetTimeSigDenominatorPower() const { return GetByte(1); }
  int GetKeySigCount() const { return static_cast<int16_t>(word & 0xFFFF); }
  bool IsKeySigMinor() const { return GetByte(2) == 1; }
  int GetWaitLength() const { return static_cast<int>(word & 0xFFFF); }

  // --- building (channel messages) ---
  // Status 0x80 | command << 4 keeping the channel; the kind becomes channel message (the port
  // is kept). Command is masked to 0-7.
  void SetCommand(int command);
  void SetChannel(int channel);  // masked to 0-15
  void SetPort(int port);        // masked to 0-15: all 16 ports stay distinct
  void SetData(int data1, int data2);
  void SetData1(int data1);
  void SetData2(int data2);
  void Set(int command, int port, int channel, int data1, int data2);

  // --- makers ---
  static TMidiMsg Channel(int command, int port, int channel, int data1, int data2);
  // Tempo of 60,000,000 / max(bpm, 4) microseconds per quarter.
  static TMidiMsg TempoFromBpm(int bpm);
  // Tempo in microseconds per quarter, clamped to 1..kMidiMaxTempoMicros.
  static TMidiMsg Tempo(uint32_t micros);
  // Numerator and power clamped to a byte.
  static TMidiMsg TimeSignature(int numerator, int denominatorPower);
  // Count clamped to a signed 16-bit value.
  static TMidiMsg KeySignature(int count, bool minor);
  // Length in 48-tick steps, clamped to 0..65535.
  static TMidiMsg Wait(int length);

  friend bool operator==(TMidiMsg a, TMidiMsg b) { return a.word == b.word; }

private:
  void SetByte(int i, int value);
  void SetKindAndPort(int kind, int port);
  // A note-on may not carry velocity 0.
  void FixNoteOnVelocity();

  uint32_t word = 0;
};

}  // namespace kvt
