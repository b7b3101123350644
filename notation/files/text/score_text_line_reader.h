#pragma once
// TScoreTextLineReader: the lines of score text and clips from a byte stream, as the readers of
// the format see them.
//
// A line ends at a line feed or a zero byte (consumed); carriage returns are dropped wherever
// they stand, so LF and CR LF files read alike. A UTF-8 byte-order mark at the start of a line
// is dropped, then blanks, tabs, CR and LF are trimmed from both ends.
//
// Lines have no length limit short of kMaxLineBytes (64 MiB), far beyond anything a writer of
// the format produces; the bytes of a longer line past the limit are consumed and dropped, and
// WasCut reports it. The buffered reader takes at most kMaxTextBytes (256 MiB) from the stream,
// about twice the largest score the format can hold; at that point it reads no further and
// TooLarge reports it. Each line costs time in proportion to its own length only.
//
// Two ways of taking bytes from the stream:
// - buffered (the default): blocks are read ahead with TKRVStream::Read, so the stream ends up
//   past the last line returned. For readers that consume the whole stream (score texts,
//   clips).
// - exact: one byte at a time, so the stream stands right after the line's terminator and the
//   caller may go on reading it by other means (item snapshots inside other data).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class TKRVStream;

class TScoreTextLineReader {
public:
  static constexpr size_t kMaxLineBytes = size_t{64} << 20;
  static constexpr size_t kMaxTextBytes = size_t{256} << 20;
  // Bytes that may be read (not used) past the start of a line: MutableLine() + kLineSlack
  // stays inside the reader's memory whatever the line's length, so a caller can copy a fixed
  // prefix without first measuring it.
  static constexpr size_t kLineSlack = 128;

  explicit TScoreTextLineReader(TKRVStream& stream, bool exact = false);

  // Reads the next line. False when the stream ended before any byte of a line (nothing read).
  bool Next();

  // The trimmed line, valid until the next call of Next. The mutable form is zero-terminated
  // and may be split in place.
  std::string_view Line() const { return std::string_view(begin, static_cast<size_t>(end - begin)); }
  char* MutableLine() { return begin; }

  // The last line ended at the end of the data, not at a line feed or zero byte.
  bool EndedWithoutTerminator() const { return unterminated; }
  // The last line was longer than kMaxLineBytes and was cut.
  bool WasCut() const { return cut; }
  // A fault of the stream (corrupt or truncated compressed data, a failed read), as opposed
  // to the normal end of the data.
  bool StreamFailed() const;
  // The buffered reader stopped at kMaxTextBytes: the stream held more.
  bool TooLarge() const { return tooLarge; }

private:
  bool NextExact();
  bool NextBuffered();
  // Reads more bytes after the unread ones (moved to the front first); false at the end.
  bool Refill();
  // The first line feed or zero byte in [p, last) of the buffer; last when there is none. Sets
  // *cr when a carriage return stands before it.
  char* FindTerminator(char* p, char* last, bool* cr);
  // Adds bytes to the gathered long line, up to kMaxLineBytes (the rest marks it cut).
  void AppendLong(const char* first, const char* last);
  // Drops CRs (when mayHoldCr), a byte-order mark and the trimmed characters of [first, last),
  // writes the terminating zero and sets begin and end.
  void Finish(char* first, char* last, bool mayHoldCr);

  TKRVStream& stream;
  const bool exact;
  std::vector<char> buffer;  // buffered: the data read ahead; exact: the line
  size_t pos = 0;            // buffered: first unread byte
  size_t fill = 0;           // buffered: bytes held
  bool atEnd = false;        // buffered: the stream has no more bytes
  size_t total = 0;          // buffered: bytes taken from the stream
  bool tooLarge = false;
  // buffered: the first line feed at or after lfSearchFrom is at lfOffset (fill: none before
  // lfSearchEnd, the fill when searched); valid while lfKnown.
  bool lfKnown = false;
  size_t lfSearchFrom = 0;
  size_t lfOffset = 0;
  size_t lfSearchEnd = 0;
  std::string longLine;      // a line past the buffer's growth limit
  char* begin = nullptr;
  char* end = nullptr;
  bool unterminated = false;
  bool cut = false;
};

}  // namespace kvt
