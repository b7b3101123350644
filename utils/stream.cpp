#include "utils/stream.h"

#include <cctype>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "utils/memory_block.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {
constexpr int kCopyChunk = 32000;
}

TKRVStream& TKRVStream::SetError() {
  errorFlag = 1;
  return *this;
}

TKRVStream& TKRVStream::SetFailed() {
  failedFlag = 1;
  return SetError();
}

void TKRVStream::PutByte(int) { SetError(); }

int TKRVStream::GetByte() {
  SetError();
  return 0;
}

bool TKRVStream::Seek(int32_t) {
  SetError();
  return false;
}

int32_t TKRVStream::Tell() {
  SetError();
  return 0;
}

int32_t TKRVStream::Size() {
  SetError();
  return 0;
}

void TKRVStream::Flush() {}

void TKRVStream::Rewind() {
  ClearError();
  Seek(0);
}

void TKRVStream::Clear() { Rewind(); }

void TKRVStream::Reset(int n) {
  Clear();
  for (int i = 0; i < n; ++i) PutByte(0);
  Rewind();
}

void TKRVStream::Write(const void* buffer, int n) {
  auto* bytes = static_cast<const unsigned char*>(buffer);
  for (int i = 0; i < n; ++i) PutByte(bytes[i]);
}

int TKRVStream::Read(void* buffer, int n) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  for (int i = 0; i < n; ++i) {
    int b = GetByte();
    if (IsError()) return i;
    bytes[i] = static_cast<unsigned char>(b);
  }
  return n;
}

void TKRVStream::CopyFrom(TKRVStream& source) {
  source.Rewind();
  std::vector<unsigned char> chunk(kCopyChunk);
  for (;;) {
    int got = source.Read(chunk.data(), kCopyChunk);
    if (got > 0) Write(chunk.data(), got);
    if (got < kCopyChunk || IsError()) break;
  }
}

unsigned TKRVStream::CopyBytesFrom(TKRVStream& source, unsigned n) {
  std::vector<unsigned char> chunk(kCopyChunk);
  unsigned copied = 0;
  while (copied < n && !IsError()) {
    int want = static_cast<int>(std::min<unsigned>(kCopyChunk, n - copied));
    int got = source.Read(chunk.data(), want);
    if (got > 0) {
      Write(chunk.data(), got);
      copied += static_cast<unsigned>(got);
    }
    if (got < want) break;
  }
  return copied;
}

bool TKRVStream::SkipToEnd(size_t maxBytes) {
  char sink[16384];
  size_t skipped = 0;
  while (!IsError() && Read(sink, sizeof sink) == static_cast<int>(sizeof sink)) {
    skipped += sizeof sink;
    if (skipped >= maxBytes) return IsError();
  }
  return true;
}

void TKRVStream::WriteBool(bool value) { PutByte(value ? 1 : 0); }

bool TKRVStream::ReadBool() { return GetByte() != 0; }

void TKRVStream::WriteShort(int value) {
  unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                            static_cast<unsigned char>((value >> 8) & 0xFF)};
  Write(bytes, 2);
}

void TKRVStream::WriteLong(int32_t value) {
  auto v = static_cast<uint32_t>(value);
  unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                            static_cast<unsigned char>(v >> 16),
                            static_cast<unsigned char>(v >> 24)};
  Write(bytes, 4);
}

uint16_t TKRVStream::ReadShort() {
  unsigned char bytes[2] = {0, 0};
  Read(bytes, 2);
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t TKRVStream::ReadLong() {
  unsigned char bytes[4] = {0, 0, 0, 0};
  Read(bytes, 4);
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void TKRVStream::WriteString(const char* text) {
  if (text != nullptr) Write(text, static_cast<int>(std::strlen(text)));
  PutByte(0);
}

void TKRVStream::ReadString(char* buffer, int size) {
  int stored = 0;
  for (;;) {
    int b = GetByte();
    if (b == 0) break;  // the terminator, or the end of the data
    if (stored < size - 1) buffer[stored++] = static_cast<char>(b);
  }
  if (size > 0) buffer[stored] = 0;
}

void TKRVStream::WriteWideString(int codePage, const char16_t* text) {
  WriteString(ConvertFromWide(codePage, text ? text : u""));
}

void TKRVStream::ReadWideString(int codePage, char* scratch, int scratchSize, char16_t* out,
                                int maxChars) {
  if (scratchSize <= 0) {
    // Nothing can be kept, but the string still has to be consumed.
    char dummy[1];
    ReadString(dummy, 1);
    if (out != nullptr) out[0] = 0;
    return;
  }
  ReadString(scratch, scratchSize);
  // A converted text never has more units than the bytes it came from, so the scratch size
  // bounds the copy when the caller gives no limit.
  int limit = maxChars > 0 ? maxChars : scratchSize;
  const char16_t* wide = ConvertToWide(codePage, scratch, limit);
  int i = 0;
  for (; wide[i] != 0 && i < limit - 1; ++i) out[i] = wide[i];
  out[i] = 0;
}

void TKRVStream::WriteRealText(float value, int decimals) {
  // A float has at most 39 integer digits; 40 decimals are more than it can carry.
  char buffer[128];
  int precision = decimals < 0 ? 0 : (decimals > 40 ? 40 : decimals);
  auto result = std::to_chars(buffer, buffer + sizeof buffer - 1, static_cast<double>(value),
                              std::chars_format::fixed, precision);
  *(result.ec == std::errc() ? result.ptr : buffer) = 0;
  WriteString(buffer);
}

float TKRVStream::ReadRealText() {
  char buffer[40];
  ReadString(buffer, sizeof buffer);
  const char* p = buffer;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '+') ++p;
  float value = 0;
  std::from_chars(p, buffer + std::strlen(buffer), value);
  return value;
}

int TKRVStream::ReadLine(char* buffer, int size) {
  int length = 0;
  int stored = 0;
  for (;;) {
    int b = GetByte();
    if (b == '\n' || b == 0) break;
    if (b == '\r') continue;
    if (stored < size - 1) buffer[stored++] = static_cast<char>(b);
    ++length;
  }
  if (size > 0) buffer[stored] = 0;
  return length;
}

void TKRVStream::WriteText(const char* text, bool crlf) {
  if (text == nullptr) return;
  if (!crlf) {
    Write(text, static_cast<int>(std::strlen(text)));
    return;
  }
  const char* start = text;
  for (const char* p = text; *p; ++p) {
    if (*p != '\n') continue;
    Write(start, static_cast<int>(p - start));
    PutByte('\r');
    start = p;  // the line feed goes out with the next run
  }
  Write(start, static_cast<int>(std::strlen(start)));
}

void TKRVStream::WriteWideText(int codePage, const char16_t* text, bool crlf) {
  WriteText(ConvertFromWide(codePage, text ? text : u""), crlf);
}

void TKRVStream::WriteTexts(const char* first, ...) {
  va_list args;
  va_start(args, first);
  for (const char* text = first; text != nullptr; text = va_arg(args, const char*)) {
    WriteText(text, false);
  }
  va_end(args);
}

void TKRVStream::WriteWideTexts(int codePage, const char16_t* first, ...) {
  va_list args;
  va_start(args, first);
  for (const char16_t* text = first; text != nullptr; text = va_arg(args, const char16_t*)) {
    WriteWideText(codePage, text, false);
  }
  va_end(args);
}

void TKRVStream::WriteWideChars(const char16_t* text) {
  if (text == nullptr) return;
  for (; *text; ++text) {
    PutByte(*text & 0xFF);
    PutByte(*text >> 8);
  }
}

void TKRVStream::Printf(const char* format, ...) {
  char buffer[4096];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return;
  if (n > static_cast<int>(sizeof buffer) - 1) {
    // Cut on a character boundary so a long text never ends in half a UTF-8 sequence.
    n = static_cast<int>(Utf8CompleteLength(std::string_view(buffer, sizeof buffer - 1)));
  }
  for (int i = 0; i < n; ++i) {
    if (buffer[i] == '\n') PutByte('\r');
    PutByte(static_cast<unsigned char>(buffer[i]));
  }
}

void TKRVStream::WriteUrlEncoded(const char* text) {
  static const char kHex[] = "0123456789abcdef";
  for (; text && *text; ++text) {
    auto c = static_cast<unsigned char>(*text);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      PutByte(c);
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
      PutByte('+');
    } else {
      PutByte('%');
      PutByte(kHex[c >> 4]);
      PutByte(kHex[c & 0xF]);
    }
  }
}

TKRVStream& TKRVStream::operator>>(char& c) {
  c = static_cast<char>(GetByte());
  return *this;
}
TKRVStream& TKRVStream::operator>>(signed char& c) {
  c = static_cast<signed char>(GetByte());
  return *this;
}
TKRVStream& TKRVStream::operator>>(unsigned char& c) {
  c = static_cast<unsigned char>(GetByte());
  return *this;
}
TKRVStream& TKRVStream::operator>>(int16_t& v) {
  v = static_cast<int16_t>(ReadShort());
  return *this;
}
TKRVStream& TKRVStream::operator>>(uint16_t& v) {
  v = ReadShort();
  return *this;
}
TKRVStream& TKRVStream::operator>>(int32_t& v) {
  v = static_cast<int32_t>(ReadLong());
  return *this;
}
TKRVStream& TKRVStream::operator>>(uint32_t& v) {
  v = ReadLong();
  return *this;
}
TKRVStream& TKRVStream::operator<<(char c) {
  PutByte(static_cast<unsigned char>(c));
  return *this;
}
TKRVStream& TKRVStream::operator<<(signed char c) {
  PutByte(static_cast<unsigned char>(c));
  return *this;
}
TKRVStream& TKRVStream::operator<<(unsigned char c) {
  PutByte(c);
  return *this;
}
TKRVStream& TKRVStream::operator<<(int16_t v) {
  WriteShort(v);
  return *this;
}
TKRVStream& TKRVStream::operator<<(uint16_t v) {
  WriteShort(v);
  return *this;
}
TKRVStream& TKRVStream::operator<<(int32_t v) {
  WriteLong(v);
  return *this;
}
TKRVStream& TKRVStream::operator<<(uint32_t v) {
  WriteLong(static_cast<int32_t>(v));
  return *this;
}
TKRVStream& TKRVStream::operator<<(const char* text) {
  WriteString(text);
  return *this;
}

}  // namespace kvt
