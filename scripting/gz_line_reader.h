#pragma once
// TGzLineReader: lines of a file descriptor read through zlib's gzip reader, so compressed and
// plain input read alike. Lines may be of any length (up to a bound); they are read in
// 512-byte pieces.
//
// A line that ended in a line feed comes back without its trailing blanks, tabs, CR and LF;
// the last line of the input, without a line feed, comes back as it is. Damaged or cut-off
// compressed data is an error, never an early end: the reader reports it and reads no more.

#include <zlib.h>

#include <string>

namespace kvt {

class TGzLineReader {
public:
  enum class TResult { kLine, kEnd, kDamaged, kTooLong };

  // Reads from a duplicate of fd (the caller keeps fd), from its current position.
  explicit TGzLineReader(int fd, size_t maxLineBytes);
  ~TGzLineReader();
  TGzLineReader(const TGzLineReader&) = delete;
  TGzLineReader& operator=(const TGzLineReader&) = delete;

  TResult ReadLine(std::string& line);

private:
  gzFile file = nullptr;
  size_t maxLineBytes;
  bool finished = false;
};

}  // namespace kvt
