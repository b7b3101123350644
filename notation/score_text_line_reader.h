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
// WasCut reports it. Bytes are taken one at a time, so the stream is left right after the
// line's terminator and the caller may go on reading it by other means.

#include <cstddef>
#include <string>
#include <string_view>

namespace kvt {

class TKRVStream;

class TScoreTextLineReader {
public:
  static constexpr size_t kMaxLineBytes = size_t{64} << 20;

  explicit TScoreTextLineReader(TKRVStream& stream) : stream(stream) {}

  // Reads the next line. False when the stream ended before any byte of a line (nothing read).
  bool Next();

  // The trimmed line; the buffer is the reader's and is overwritten by the next call. The
  // mutable form is zero-terminated and may be split in place.
  std::string_view Line() const { return std::string_view(buffer.data() + begin, end - begin); }
  char* MutableLine() { return buffer.data() + begin; }

  // The last line ended at the end of the data, not at a line feed or zero byte.
  bool EndedWithoutTerminator() const { return unterminated; }
  // The last line was longer than kMaxLineBytes and was cut.
  bool WasCut() const { return cut; }
  // A fault of the stream (corrupt or truncated compressed data, a failed read), as opposed
  // to the normal end of the data.
  bool StreamFailed() const;

private:
  TKRVStream& stream;
  std::string buffer;
  size_t begin = 0;
  size_t end = 0;
  bool unterminated = false;
  bool cut = false;
};

}  // namespace kvt
