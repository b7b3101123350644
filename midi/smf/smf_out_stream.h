#pragma once
// TSMFOutStream: writes a Standard MIDI File to a seekable TKRVStream.
//
// Layout: "MThd", length 6, format, number of track chunks, division (big-endian), then the
// track chunks. Each chunk is "MTrk", its length, the events with delta times and an
// end-of-track meta event (delta 0, FF 2F 00). The length is patched in after the body: the
// writer seeks back to the chunk start and then to the end, so the stream must support Tell
// and Seek (file and memory streams do). Every event carries its status byte; running status
// is never used.
//
// What goes into the tracks is the derived class's choice: WriteFirstTrackBody writes the
// first chunk (the tempo track of a format 1 file, the only track of a format 0 file) and
// WriteTrackBody(i) the chunk of track i of a format 1 file. Both are empty here.
//
// Errors: when the output stream reports an error after a byte, Error("Error writing MIDI
// data") sets the error flag and writing goes on (the byte still counts in the chunk length).
// A seek that fails is an error too. WriteFile returns success only when no error occurred,
// the final flush of the output included; the caller that owns a file stream must still test
// its Close.
//
// The writer does not own the output stream, which must outlive it.

#include <cstdint>
#include <string_view>

#include "midi/events/midi_file_buf.h"
#include "midi/smf/smf_stream.h"
#include "utils/stream.h"

namespace kvt {

// The largest value a variable-length quantity holds (four bytes of seven bits).
inline constexpr uint32_t kSMFMaxVarLen = 0x0FFFFFFF;
// The longest text WriteTextW writes, in UTF-8 bytes.
inline constexpr size_t kSMFMaxWideTextBytes = 2047;

class TSMFOutStream : public TSMFStream {
public:
  explicit TSMFOutStream(TKRVStream& output) : output(output) {}

  // Stores the three values and writes the header, the first track (WriteFirstTrackBody) and,
  // for format 1, tracks 0 to trackCount - 1 (WriteTrackBody). The header announces the
  // chunks written: trackCount + 1 for format 1, one for any other format. trackCount is
  // bounded to 0..65534; format and division are written as their low 16 bits. Flushes the
  // output; true when the file was written without error.
  virtual bool WriteFile(int format, int trackCount, int division);
  virtual void WriteTrackBody(int index) {}
  virtual void WriteFirstTrackBody() {}

  // Writes the low byte; 1 when written, 0 on an output error. Counts the byte in the track
  // length either way.
  int PutByte(int byte);
  // Variable-length quantity: seven bits per byte, most significant group first, bit 7 set on
  // every byte but the last. A value above kSMFMaxVarLen is written as kSMFMaxVarLen, the
  // most the format can hold.
  void WriteVarLen(uint32_t value);
  // Big-endian, through PutByte (not TKRVStream's little-endian forms).
  void WriteLong(uint32_t value);
  void WriteShort(int value);

  // A meta event: delta, FF, type, the text's length, the text bytes (no terminating zero).
  // A text longer than kSMFMaxVarLen bytes is cut to it on a UTF-8 character boundary.
  void WriteText(uint32_t delta, int type, std::string_view text);
  // WriteText of the text in UTF-8, cut to at most kSMFMaxWideTextBytes bytes on a character
  // boundary.
  void WriteTextW(uint32_t delta, int type, std::u16string_view text);
  // WriteText at an absolute time; the current time becomes `time`. Precondition "delta >= 0":
  // time is not before the current time.
  void WriteTextAt(uint32_t time, int type, std::string_view text);

  // One event with its delta from the current time:
  //   channel message: status, data1 and, for commands with two data bytes, data2; data
  //     bytes are written as their low seven bits;
  //   tempo: FF 51 03 and the 24-bit microseconds per quarter, most significant first;
  //   time signature: FF 58 04 numerator, denominator power, 24, 8;
  //   key signature: FF 59 02 count (low byte), minor flag;
  //   wait, any other kind, and a channel record whose status byte is not a channel status
  //     (80 to EF): nothing, and the current time stays.
  // The current time then becomes the event's time. An event before the current time is
  // written with delta 0 and leaves the current time as it is.
  void WriteEvent(const TMidiSongEvent& event);
  // Every event of the buffer in order, through WriteEvent.
  void WriteEvents(const TMidiFileBuf& buffer);

protected:
  TKRVStream& output;

private:
  void WriteTag(const char* tag);
  // One chunk: the first track for index < 0, else track `index`.
  void WriteTrack(int index);
  // The delta from the current time to `time` (0 when time is earlier); the current time
  // moves to `time` when it is later.
  uint32_t AdvanceTo(uint32_t time);

  uint32_t trackBytes = 0;  // bytes of the chunk being written, after its length field
};

}  // namespace kvt
