#pragma once
// TKRVZLibInStream: a decompressing filter over an inner TKRVStream. It reads one stream from
// the inner stream's current position to its end and recognises the framing by itself:
//
//   requested mode | accepted data
//   0 plain        | the data as it is
//   1 tagged zlib  | "[KVZ]", one zero byte, then a zlib stream; else whatever mode 2 accepts
//   2 gzip         | data beginning 1F 8B as gzip or zlib (window bits 47); else as plain
//
// The tag is tested only when more than 10 bytes are available, the gzip magic bytes only when
// more than 5 are. Data that matches neither is delivered unchanged: an unrecognised format is
// never an error.
//
// Errors: reading past the end sets the error flag (GetByte) or gives a short count (Read).
// Corrupt or truncated compressed data, and a fault of the inner stream, end the stream after
// the bytes decoded before the fault, and set the error and failed flags (IsFailed) through
// both GetByte and Read, so a damaged stream is never taken for a whole one.
//
// Data moves through two 16384-byte buffers; single bytes are served from them without calls
// into zlib. The filter does not own the inner stream unless told so; the inner stream must
// outlive it otherwise.
//
// TKRVZLibOutStream (zlib_out_stream.h) derives from this class and shares its fields.

#include <cstdint>
#include <memory>

#include <zlib.h>

#include "utils/stream.h"

namespace kvt {

class TKRVZLibInStream : public TKRVStream {
public:
  enum : int { kModePlain = 0, kModeTagged = 1, kModeGzip = 2 };
  // Bytes moved per block in either direction.
  static constexpr int kBlockSize = 16384;
  // What Size reports: the length of the decoded data is unknown until it has been read.
  static constexpr int32_t kUnknownSize = 0x7FFFFFF0;

  // Precondition: inner is not null. With ownsInner the filter deletes the inner stream.
  TKRVZLibInStream(int mode, TKRVStream* inner, bool ownsInner = false);
  ~TKRVZLibInStream() override;

  // The next decoded byte; at the end or after a fault: the error flag (and the failed flag
  // for a fault) and 0.
  int GetByte() override final {
    if (next < end && !IsError()) return *next++;
    return GetByteSlow();
  }
  // Up to n decoded bytes; a short count at the end of the data leaves the error flag clear,
  // a fault sets the error and failed flags.
  int Read(void* buffer, int n) override;
  // Forward by decoding; a position below Tell rewinds the inner stream and decodes again from
  // its start. False (with the error flag) when the data ends first.
  bool Seek(int32_t position) override;
  // Decoded bytes delivered since the stream began.
  int32_t Tell() override;
  int32_t Size() override;
  void Flush() override;
  // Rewinds the inner stream, ends the decoder, clears the error flags: the next read begins
  // the stream again.
  void Rewind() override;
  void Clear() override;

  // Starts decoding (reads the first block and settles the framing); called by the first read.
  // Does nothing when already running.
  virtual void Begin();
  // Releases the decoder and returns to idle. Always true for a reader; a writer reports
  // whether its data was completed (see TKRVZLibOutStream).
  virtual bool End();

  // True when the framing in force is not plain. For a reader, settled by Begin from the data.
  bool IsCompressed() const { return effectiveMode != kModePlain; }

protected:
  enum : int { kIdle = 0, kRunning = 1, kDraining = 2, kAtEnd = 3, kFaulted = 4 };

  TKRVZLibInStream(int mode, TKRVStream* inner, bool ownsInner, bool reader);

  // Ends the zlib state, if open, without finishing anything.
  void ReleaseCodec();
  // Releases the codec, empties both buffers and returns to idle; Count is kept.
  void ReturnToIdle();
  // Marks a fault: error and failed flags, state faulted.
  void Fail();

  const bool isReader;
  const int requestedMode;
  int effectiveMode;
  int state = kIdle;
  // Bytes delivered (reader) or accepted (writer) since the stream began.
  int64_t Count() const { return isReader ? countBase - (end - next) : countBase + inFill; }

  // Reader: the bytes ready to deliver, from `next` to `end`, in the output buffer (or in the
  // input buffer itself for plain data).
  const uint8_t* next = nullptr;
  const uint8_t* end = nullptr;
  // Reader: bytes made ready since the stream began, delivered or not. Writer: bytes handed to
  // the compressor since the stream began. Count derives from it, so that the single-byte
  // paths update one field only.
  int64_t countBase = 0;
  // Writer: bytes pending in the input buffer. The reader keeps its input in zs.
  int inFill = 0;
  std::unique_ptr<uint8_t[]> inBuf;
  std::unique_ptr<uint8_t[]> outBuf;
  z_stream zs{};
  bool codecOpen = false;
  TKRVStream* const inner;
  const bool ownsInner;

private:
  int GetByteSlow();
  // Makes at least one decoded byte available; false at the end of the data or after a fault.
  bool Fill();
  // Reads the inner stream into the input buffer from `offset` up to its end; the count read
  // (0 at the end of the data). A fault of the inner stream faults the filter and gives 0.
  int ReadInner(int offset);
  // The error flag for a read that found nothing: failed when the stream is faulted.
  void SetReadError();
};

}  // namespace kvt
