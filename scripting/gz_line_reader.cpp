#include "scripting/gz_line_reader.h"

#include <unistd.h>

#include <cstring>

namespace kvt {

namespace {
constexpr int kPiece = 512;
}

TGzLineReader::TGzLineReader(int fd, size_t maxLineBytes) : maxLineBytes(maxLineBytes) {
  const int copy = ::dup(fd);
  if (copy < 0) return;
  file = gzdopen(copy, "r");
  if (file == nullptr) ::close(copy);
}

TGzLineReader::~TGzLineReader() {
  if (file != nullptr) gzclose(file);
}

TGzLineReader::TResult TGzLineReader::ReadLine(std::string& line) {
  line.clear();
  if (file == nullptr || finished) return TResult::kEnd;
  char piece[kPiece];
  for (;;) {
    if (gzgets(file, piece, kPiece) == nullptr) {
      int code = Z_OK;
      gzerror(file, &code);
      if (code != Z_OK && code != Z_STREAM_END) {
        finished = true;
        return TResult::kDamaged;
      }
      finished = true;
      return line.empty() ? TResult::kEnd : TResult::kLine;
    }
    // gzgets stops after a line feed or a full piece; zero bytes in the data end the piece's
    // text early, so the length comes from what it read.
    const size_t n = std::strlen(piece);
    line.append(piece, n);
    if (line.size() > maxLineBytes) {
      finished = true;
      return TResult::kTooLong;
    }
    if (n > 0 && piece[n - 1] == '\n') {
      size_t end = line.size();
      while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t' || line[end - 1] == '\r' ||
                         line[end - 1] == '\n'))
        --end;
      line.resize(end);
      return TResult::kLine;
    }
    if (n == 0) {
      // A zero byte in the input: the piece is empty; treat as the end of what is readable.
      int code = Z_OK;
      gzerror(file, &code);
      if (gzeof(file) || code != Z_OK) {
        finished = true;
        return line.empty() ? TResult::kEnd : TResult::kLine;
      }
    }
  }
}

}  // namespace kvt
