#pragma once
// TSMFInStream: the Standard MIDI File parser. It reads an "MThd" header chunk and the "MTrk"
// track chunks from a byte stream and reports what it finds through virtual callbacks, which
// are empty here; TSMFImport (smf_import.h) collects them.
//
// Contract:
// - The input and the log must outlive the reader; neither is owned. The log may be null.
// - Nothing throws on bad input. Problems are reported as numbered lines, "Warning[%lu]: " or
//   "Error[%lu]: " with the input's byte position and the message, each ending in CR LF, into
//   the log; then Warning or Error (TSMFStream) is called with the line's text.
// - Work and memory follow the bytes the file holds, never the lengths or counts it declares:
//   a meta or system-exclusive length past its chunk is cut to what the chunk holds (one
//   warning), variable-length quantities stop after 4 bytes, an unknown chunk is skipped by
//   its length, and the data of one event keeps at most kSMFMaxEventData bytes.
// - Times are kept in 64 bits, saturated far beyond any time a score can hold, so they never
//   wrap.
// - The long-task cancel test of the services is asked before the tracks and at every event; a
//   cancelled read ends (the current track fails).

#include <cstdint>
#include <string>
#include <vector>

#include "midi/smf/smf_stream.h"
#include "notation/services/services.h"

namespace kvt {

class TKRVStream;

// Data bytes of one event that the reader keeps; further bytes overwrite the last one.
inline constexpr int kSMFMaxEventData = 59999;
// The running time saturates here (file ticks), well past the 32-bit tick range of a score.
inline constexpr int64_t kSMFMaxRunningTime = int64_t{1} << 40;

class TSMFInStream : public TSMFStream {
public:
  TSMFInStream(TKRVStream& input, TKRVStream* log, const TServices& services = TServices());

  // Reads the whole file, calling the callbacks. True when no error was reported.
  bool ReadFile();

  // The running time of the current track in file ticks.
  int64_t GetRunningTime() const { return runningTime; }

  // Writes "Warning[pos]: text" (or "Miscellaneous" for an empty text) to the log and calls
  // Warning with the line; LogError likewise with "Error" and Error.
  void LogWarning(const char* text);
  void LogError(const char* text);

protected:
  virtual void OnHeader(int format, int trackCount, int division) {}
  virtual void OnTrackStart() {}
  virtual void OnTrackEnd() {}
  virtual void OnEndOfFile() {}
  // Every channel message; data2 is 0 for one-byte messages.
  virtual void OnChannelMessage(int status, int data1, int data2) {}
  virtual void OnNoteOn(int channel, int note, int velocity) {}
  // 0x8n, and 0x9n with velocity 0.
  virtual void OnNoteOff(int channel, int note) {}
  virtual void OnPolyPressure(int channel, int note, int value) {}
  virtual void OnControlChange(int channel, int controller, int value) {}
  virtual void OnPitchBend(int channel, int lsb, int msb) {}
  virtual void OnProgramChange(int channel, int program) {}
  virtual void OnChannelPressure(int channel, int value) {}
  // Every meta event, before the specific callback.
  virtual void OnMetaEvent(int type, const uint8_t* data, int length) {}
  virtual void OnMetaOther(int type, const uint8_t* data, int length) {}
  virtual void OnPortPrefix(int port) {}
  virtual void OnSequencerSpecific(const uint8_t* data, int length) {}
  virtual void OnSequenceNumber(int number) {}
  // Meta 0x01-0x0F; the text ends at its first zero byte.
  virtual void OnText(int type, const char* text) {}
  virtual void OnEndOfTrack() {}
  virtual void OnTimeSignature(int nn, int dd, int cc, int bb) {}
  virtual void OnSmpteOffset(int hr, int mn, int se, int fr, int ff) {}
  virtual void OnTempo(uint32_t microseconds) {}
  // sf is signed.
  virtual void OnKeySignature(int sf, int mi) {}
  // The data begins with the 0xF0 byte.
  virtual void OnSysEx(const uint8_t* data, int length) {}
  virtual void OnSysExContinuation(const uint8_t* data, int length) {}

  const TServices& GetServices() const { return services; }

private:
  void Report(const char* kind, const char* text, bool error);
  bool Cancelled();
  bool ReadHeader();
  // The next byte of the input outside any chunk; false at its end.
  bool ReadRawByte(int& byte);
  // One byte of the current chunk: 0 with a warning when the chunk is used up, 0 with a
  // warning or error at the end of the input (the chunk then counts as used up).
  int ReadChunkByte();
  uint32_t ReadChunkNumber(int bytes);
  // A variable-length quantity of at most 4 bytes, stopping early at the end of the chunk or
  // the input.
  uint32_t ReadVarLength();
  // Finds the next "MTrk" tag, skipping unknown chunks; false when the track fails.
  bool ReadTrackTag();
  bool SkipUnknownChunk(const uint8_t id[4]);
  bool ReadTrack();
  // Reads `length` bytes of the chunk (cut to what the chunk holds) into the data buffer,
  // after the `lead` bytes already there.
  void ReadEventData(uint32_t length, int lead);
  void PutData(uint8_t byte);
  void HandleChannelMessage(int status, int data1);
  void HandleMeta();

  TKRVStream& input;
  TKRVStream* log;
  TServices services;
  int64_t chunkRemaining = 0;
  int64_t runningTime = 0;
  bool inputEnded = false;
  std::vector<uint8_t> data;
};

}  // namespace kvt
