#include "notation/files/text/score_text_format.h"

#include "notation/files/text/score_text_numbers.h"

namespace kvt {

namespace {

// The line after "!" and the product word in either spelling; false when neither matches.
bool StripProductWord(std::string_view line, std::string_view& tail) {
  if (line.empty() || line[0] != '!') return false;
  line.remove_prefix(1);
  for (std::string_view word : {std::string_view(kScoreTextProductWord),
                                std::string_view(kScoreTextProductWordAlt)}) {
    if (line.substr(0, word.size()) == word) {
      tail = line.substr(word.size());
      return true;
    }
  }
  return false;
}

}  // namespace

TFrameLine MatchFrameLine(std::string_view line, std::string_view* rest) {
  std::string_view tail;
  if (!StripProductWord(line, tail)) return TFrameLine::kNone;
  TFrameLine kind = TFrameLine::kNone;
  if (tail.substr(0, 1) == "(") {
    kind = TFrameLine::kScoreHeader;
    tail.remove_prefix(1);
  } else if (tail == "-End") {
    return TFrameLine::kScoreEnd;
  } else if (tail.substr(0, 5) == "Clip(") {
    kind = TFrameLine::kClipHeader;
    tail.remove_prefix(5);
  } else if (tail == "Clip-End") {
    return TFrameLine::kClipEnd;
  } else {
    return TFrameLine::kNone;
  }
  if (rest) *rest = tail;
  return kind;
}

bool ParseFrameVersion(std::string_view rest, double& version) {
  return ParseRealValue(rest, version);
}

}  // namespace kvt
