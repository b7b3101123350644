#include "notation/score_text_line_reader.h"

#include "utils/stream.h"

namespace kvt {

namespace {

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool TScoreTextLineReader::Next() {
  buffer.clear();
  unterminated = false;
  cut = false;
  bool any = false;
  for (;;) {
    const int b = stream.GetByte();
    if (b == 0 && stream.IsError()) {
      unterminated = true;
      break;
    }
    any = true;
    if (b == '\n' || b == 0) break;
    if (b == '\r') continue;
    if (buffer.size() < kMaxLineBytes)
      buffer.push_back(static_cast<char>(b));
    else
      cut = true;
  }
  begin = 0;
  if (buffer.size() >= 3 && static_cast<unsigned char>(buffer[0]) == 0xEF &&
      static_cast<unsigned char>(buffer[1]) == 0xBB && static_cast<unsigned char>(buffer[2]) == 0xBF)
    begin = 3;
  end = buffer.size();
  while (begin < end && IsTrimmed(buffer[begin])) ++begin;
  while (end > begin && IsTrimmed(buffer[end - 1])) --end;
  buffer.resize(end);  // zero-terminates the trimmed line for in-place splitting
  return any;
}

bool TScoreTextLineReader::StreamFailed() const { return stream.IsFailed(); }

}  // namespace kvt
