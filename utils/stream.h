#pragma once
// TKRVStream: the one byte-stream abstraction. Derived streams supply the byte source or
// sink; the base supplies the error discipline and all typed reading and writing.
//
// Streams never throw. A failing operation sets the error flag and returns a neutral value;
// callers test IsError() after a sequence of operations. Every failing GetByte returns 0, which
// ends strings and lines at the end of the data.
//
// The error flag covers both a normal end of data and real faults. IsFailed() tells the two
// apart: it is set only for a fault (corrupt or truncated compressed data, a failed write,
// flush or close), never for reading past the end, so a damaged file is never taken for a
// whole one. Rewind clears both.
//
// All multi-byte numbers are little-endian.

#include <cstddef>
#include <cstdint>

namespace kvt {

class TKRVStream {
public:
  TKRVStream() = default;
  TKRVStream(const TKRVStream&) = delete;
  TKRVStream& operator=(const TKRVStream&) = delete;
  virtual ~TKRVStream() = default;

  // Sets the error flag; every failing operation of every stream calls it.
  virtual TKRVStream& SetError();
  virtual void PutByte(int byte);
  virtual int GetByte();
  // Absolute positions only; true on success.
  virtual bool Seek(int32_t position);
  virtual int32_t Tell();
  virtual int32_t Size();
  virtual void Flush();
  // Clears the error flags, then Seek(0).
  virtual void Rewind();
  // Rewind (memory streams also empty themselves; file streams do not truncate).
  virtual void Clear();
  // A zero-filled stream of n bytes positioned at its start.
  virtual void Reset(int n);
  virtual void Write(const void* buffer, int n);
  // Returns the number of bytes stored before the first failing one.
  virtual int Read(void* buffer, int n);

  bool IsError() const { return errorFlag != 0; }
  // A fault other than the end of the data.
  bool IsFailed() const { return failedFlag != 0; }
  // Sets the error flag and marks it as a fault.
  TKRVStream& SetFailed();

  // Rewinds the source and copies it whole in chunks of 32000 bytes.
  void CopyFrom(TKRVStream& source);
  // Copies at most n bytes from the source's current position; returns the count copied.
  unsigned CopyBytesFrom(TKRVStream& source, unsigned n);
  // Reads and drops the rest of the data, at most maxBytes of it (a decompressing stream finds
  // a damaged tail only this way); false when the data went on past maxBytes.
  bool SkipToEnd(size_t maxBytes);

  void WriteBool(bool value);
  bool ReadBool();
  void WriteShort(int value);
  void WriteLong(int32_t value);
  // Unsigned 16-bit value; callers cast where the field is signed.
  uint16_t ReadShort();
  uint32_t ReadLong();

  // The text and one zero byte; a null text writes only the zero byte.
  void WriteString(const char* text);
  // Consumes up to and including the next zero byte; stores at most size-1 bytes and always a
  // terminator (nothing at all when size <= 0).
  void ReadString(char* buffer, int size);
  void WriteWideString(int codePage, const char16_t* text);
  // ReadString into the scratch buffer, convert from the code page, cut to maxChars-1
  // characters when maxChars is positive. With maxChars <= 0 the result is bounded by the
  // scratch: `out` must hold scratchSize characters.
  void ReadWideString(int codePage, char* scratch, int scratchSize, char16_t* out, int maxChars);
  // "%01.*f" in the C locale, zero-terminated.
  void WriteRealText(float value, int decimals);
  float ReadRealText();
  // Reads up to a line feed or a zero byte (consumed); carriage returns are skipped. Stores the
  // first size-1 other bytes and a terminator; returns the line's length without carriage
  // returns, which can exceed size-1.
  int ReadLine(char* buffer, int size);
  // The text without terminator; with crlf, a carriage return before every line feed.
  void WriteText(const char* text, bool crlf);
  void WriteWideText(int codePage, const char16_t* text, bool crlf);
  // Each text of the null-terminated list with WriteText, no line-feed translation.
  void WriteTexts(const char* first, ...);
  void WriteWideTexts(int codePage, const char16_t* first, ...);
  // Each 16-bit unit as 2 bytes, least significant first, without the terminator.
  void WriteWideChars(const char16_t* text);
  // Formats into 4096 bytes (cut to 4095) and writes a carriage return before each line feed.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Letters and digits as they are, white space as "+", other bytes as "%xx" (lower case).
  void WriteUrlEncoded(const char* text);

  TKRVStream& operator>>(char& c);
  TKRVStream& operator>>(signed char& c);
  TKRVStream& operator>>(unsigned char& c);
  TKRVStream& operator>>(int16_t& v);
  TKRVStream& operator>>(uint16_t& v);
  TKRVStream& operator>>(int32_t& v);
  TKRVStream& operator>>(uint32_t& v);
  TKRVStream& operator<<(char c);
  TKRVStream& operator<<(signed char c);
  TKRVStream& operator<<(unsigned char c);
  TKRVStream& operator<<(int16_t v);
  TKRVStream& operator<<(uint16_t v);
  TKRVStream& operator<<(int32_t v);
  TKRVStream& operator<<(uint32_t v);
  TKRVStream& operator<<(const char* text);

protected:
  // For derived streams that reopen themselves.
  void ClearError() { errorFlag = 0; failedFlag = 0; }

private:
  int32_t errorFlag = 0;
  int32_t failedFlag = 0;
};

}  // namespace kvt
