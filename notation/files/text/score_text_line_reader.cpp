#include "notation/files/text/score_text_line_reader.h"

#include <algorithm>
#include <cstring>

#include "utils/stream.h"

namespace kvt {

namespace {

// Bytes read from the stream at a time, and the most the look-ahead buffer grows to for one
// line; a longer line is gathered apart.
constexpr size_t kBlockBytes = 64 * 1024;
constexpr size_t kMaxBufferBytes = 16 * 1024 * 1024;

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

char* TScoreTextLineReader::FindTerminator(char* p, char* last, bool* cr) {
  // The next line feed is searched for once and remembered until the bytes move: lines that
  // end in zero bytes would otherwise search the rest of the buffer again for every line.
  const size_t from = static_cast<size_t>(p - buffer.data());
  if (!lfKnown || from < lfSearchFrom || from > lfOffset || lfSearchEnd != fill) {
    const void* lf = std::memchr(p, '\n', static_cast<size_t>(last - p));
    lfOffset = lf ? static_cast<size_t>(static_cast<const char*>(lf) - buffer.data()) : fill;
    lfSearchFrom = from;
    lfSearchEnd = fill;
    lfKnown = true;
  }
  char* limit = buffer.data() + lfOffset;
  // Lines are short: one pass over the line for the rarer bytes.
  for (char* q = p; q < limit; ++q) {
    const char c = *q;
    if (c == 0) return q;
    // A CR right before the line feed goes with the trimming; others must be dropped.
    if (c == '\r' && q + 1 < limit) *cr = true;
  }
  return limit;
}

TScoreTextLineReader::TScoreTextLineReader(TKRVStream& stream, bool exact) : stream(stream), exact(exact) {
  buffer.resize((exact ? 256 : kBlockBytes + 1) + kLineSlack);
  begin = end = buffer.data();
  *begin = 0;
}

bool TScoreTextLineReader::StreamFailed() const { return stream.IsFailed(); }

bool TScoreTextLineReader::Next() {
  unterminated = false;
  cut = false;
  return exact ? NextExact() : NextBuffered();
}

void TScoreTextLineReader::Finish(char* first, char* last, bool mayHoldCr) {
  // Carriage returns inside the line are dropped (the ones at its end go with the trimming).
  char* cr = mayHoldCr ? static_cast<char*>(std::memchr(first, '\r', static_cast<size_t>(last - first))) : nullptr;
  if (cr) {
    char* out = cr;
    for (char* p = cr; p < last; ++p)
      if (*p != '\r') *out++ = *p;
    last = out;
  }
  if (last - first >= 3 && static_cast<unsigned char>(first[0]) == 0xEF &&
      static_cast<unsigned char>(first[1]) == 0xBB && static_cast<unsigned char>(first[2]) == 0xBF)
    first += 3;
  while (first < last && IsTrimmed(*first)) ++first;
  while (last > first && IsTrimmed(last[-1])) --last;
  *last = 0;
  begin = first;
  end = last;
}

bool TScoreTextLineReader::NextExact() {
  size_t length = 0;
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
    if (length >= kMaxLineBytes) {
      cut = true;
      continue;
    }
    if (length + 1 + kLineSlack >= buffer.size()) buffer.resize(buffer.size() * 2);
    buffer[length++] = static_cast<char>(b);
  }
  Finish(buffer.data(), buffer.data() + length, false);
  return any;
}

bool TScoreTextLineReader::Refill() {
  if (atEnd) return false;
  lfKnown = false;
  if (total >= kMaxTextBytes) {
    // Far past any score: what follows is not read (a decompression bomb stops here).
    tooLarge = true;
    atEnd = true;
    return false;
  }
  if (pos > 0) {
    std::memmove(buffer.data(), buffer.data() + pos, fill - pos);
    fill -= pos;
    pos = 0;
  }
  // One byte after the data for a terminating zero, and the slack after that.
  const size_t reserved = 1 + kLineSlack;
  if (buffer.size() - reserved - fill < kBlockBytes / 2 && buffer.size() < kMaxBufferBytes + reserved)
    buffer.resize(std::min(buffer.size() * 2, kMaxBufferBytes + reserved));
  const size_t room = std::min(buffer.size() - reserved - fill, kMaxTextBytes - total);
  if (room == 0) return false;
  const int asked = static_cast<int>(std::min<size_t>(room, 1u << 30));
  const int got = stream.Read(buffer.data() + fill, asked);
  if (got > 0) {
    fill += static_cast<size_t>(got);
    total += static_cast<size_t>(got);
  }
  if (got < asked || stream.IsError()) atEnd = true;
  return got > 0;
}

void TScoreTextLineReader::AppendLong(const char* first, const char* last) {
  size_t n = static_cast<size_t>(last - first);
  const size_t room = kMaxLineBytes - std::min(kMaxLineBytes, longLine.size());
  if (n > room) {
    cut = true;
    n = room;
  }
  longLine.append(first, n);
}

bool TScoreTextLineReader::NextBuffered() {
  longLine.clear();
  bool inLong = false;  // the line's first bytes are in longLine
  size_t scanned = 0;   // bytes of the line at pos already searched for a terminator
  bool cr = false;      // a carriage return was seen in the line
  for (;;) {
    char* start = buffer.data() + pos;
    char* last = buffer.data() + fill;
    char* term = FindTerminator(start + scanned, last, &cr);
    if (term < last) {
      pos = static_cast<size_t>(term - buffer.data()) + 1;
      if (!inLong) {
        Finish(start, term, cr);
        return true;
      }
      AppendLong(start, term);
      break;
    }
    scanned = static_cast<size_t>(last - start);
    // A CR that ended the bytes searched so far is no CR before the line feed.
    if (scanned > 0 && last[-1] == '\r') cr = true;
    if (scanned >= kMaxBufferBytes) {
      // The look-ahead buffer grows no further: the line is gathered apart.
      AppendLong(start, last);
      inLong = true;
      pos = fill;
      scanned = 0;
    }
    if (!Refill()) {
      // Refill may have moved the unread bytes to the front.
      if (scanned == 0 && !inLong) return false;
      unterminated = true;
      start = buffer.data() + pos;
      last = buffer.data() + fill;
      pos = fill;
      if (!inLong) {
        Finish(start, last, cr);
        return true;
      }
      AppendLong(start, last);
      break;
    }
  }
  const size_t length = longLine.size();
  longLine.resize(length + kLineSlack);
  Finish(longLine.data(), longLine.data() + length, true);
  return true;
}

}  // namespace kvt
