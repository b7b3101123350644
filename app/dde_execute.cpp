#include "app/dde_execute.h"

#include "utils/text_case.h"

namespace kvt {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr size_t kVerbLength = 5;  // "Open(" and "Null("

}  // namespace

bool ParseDdeExecute(std::string_view text, int& command, std::string& path) {
  if (text.size() > kMaxDdeCommandBytes) return false;
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;

  const std::string verb(text.substr(1, kVerbLength));
  int found;
  if (CompareTextIgnoreCase(verb.c_str(), "Open(") == 0) {
    found = kDdeOpen;
  } else if (CompareTextIgnoreCase(verb.c_str(), "Null(") == 0) {
    found = kDdeNull;
  } else {
    return false;
  }
  size_t start = 1 + kVerbLength;
  const size_t close = text.rfind(')');
  // The ')' that opens the argument is part of the verb, so a lone "(" has none after it.
  if (close == std::string_view::npos || close < start) return false;
  if (start < close && text[start] == '"') ++start;
  size_t end = close;
  if (end > start && text[end - 1] == '"') --end;
  command = found;
  path.assign(text.substr(start, end - start));
  return true;
}

}  // namespace kvt
