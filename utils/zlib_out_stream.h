#pragma once
// TKRVZLibOutStream: a compressing filter over an inner TKRVStream. The first byte written
// clears the inner stream and begins one stream in the requested framing:
//
//   mode 0 plain        | the data as it is
//   mode 1 tagged zlib  | "[KVZ]", one zero byte, then a zlib stream (level 9, window bits 15)
//   mode 2 gzip         | a gzip stream (level 9, window bits 31, memory level 8)
//
// End must be called once after the last byte: it completes the compressed data, flushes the
// inner stream and returns true only when every layer succeeded. Destruction alone releases the
// compressor without completing the data. With no byte written, End leaves the inner stream
// untouched.
//
// Errors: any fault (an inner stream that reports an error on a write or a flush, a zlib
// failure, a byte written after End) sets the error and failed flags and stops the filter:
// later bytes are dropped and End returns false. The flags stay until Rewind or Clear.
//
// Reading and seeking a compressing filter have no use: Rewind, Clear and Reset abandon the
// stream without writing anything and clear the error flags; GetByte and Read abandon it and
// set the error flag; Seek abandons it and succeeds only for position 0. The next byte written
// after any of them begins a new framed stream on a cleared inner stream.

#include "utils/zlib_in_stream.h"

namespace kvt {

class TKRVZLibOutStream : public TKRVZLibInStream {
public:
  // Precondition: inner is not null. With ownsInner the filter deletes the inner stream.
  TKRVZLibOutStream(int mode, TKRVStream* inner, bool ownsInner = false);

  void PutByte(int byte) override final {
    if (state == kRunning && !IsError()) {
      inBuf[inFill] = static_cast<uint8_t>(byte);
      if (++inFill == kBlockSize) Drain();
      return;
    }
    PutByteSlow(byte);
  }
  void Write(const void* buffer, int n) override;
  // Flushes the inner stream only; compressed data still in the filter stays there.
  void Flush() override;
  void Rewind() override;
  void Clear() override;
  void Reset(int n) override;

  // Clears the inner stream, writes the tag (mode 1) and starts the compressor; called by the
  // first byte written. Does nothing unless idle.
  void Begin() override;
  // Compresses what is pending, finishes the stream and flushes the inner stream. True when all
  // of it, and everything written before, succeeded; also true when no byte was written.
  bool End() override;

private:
  void PutByteSlow(int byte);
  // Begins when idle; false (dropping the data) when the filter cannot take bytes.
  bool Accepting();
  // Compresses the pending input and writes what it gives to the inner stream.
  void Drain();
  void WriteOut(const uint8_t* data, int n);
  void Abandon();
};

}  // namespace kvt
