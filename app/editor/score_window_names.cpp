#include "app/editor/score_window_names.h"

#include <charconv>

#include <cstdio>
#include <cstdlib>

#include "utils/path_utils.h"

namespace kvt {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithIgnoreCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  std::string_view end = text.substr(text.size() - tail.size());
  for (size_t i = 0; i < tail.size(); ++i) {
    if (LowerAscii(end[i]) != LowerAscii(tail[i])) return false;
  }
  return true;
}

// "x.<inner>.bak" with at least minOffset bytes before the last dot becomes "x.bak".
bool NameBackup(const std::string& path, std::string_view innerAndBak, size_t minOffset,
                std::string& name) {
  const size_t dot = GetExtensionOffset(path);
  if (dot == path.size() || dot < minOffset || !EndsWithIgnoreCase(path, innerAndBak)) return false;
  name = path.substr(0, path.size() - innerAndBak.size()) + ".bak";
  return true;
}

}  // namespace

TOpenedName InterpretOpenedPath(const std::string& path, int openMode) {
  TOpenedName result;
  result.fileName = path;
  if (HasExtension(path, ".asv")) {
    result.autosave = true;
    return result;
  }
  if (NameBackup(path, ".kvt.bak", 6, result.fileName)) return result;
  if (NameBackup(path, ".kvttxt.bak", 9, result.fileName)) {
    result.textFormat = true;
    return result;
  }
  result.textFormat = HasExtension(path, ".kvttxt");
  if (openMode == kOpenModeReadOnly) ReplaceExtension(result.fileName, ".read-only");
  return result;
}

std::string RecoveredFileName(int number) {
  char text[40];
  std::snprintf(text, sizeof text, "Recovered File %d", number);
  return text;
}

bool IsSelectorName(std::string_view fileName) { return !fileName.empty() && fileName[0] == ':'; }

int SelectorNumberOf(std::string_view fileName) {
  // from_chars would take a sign: only digits count.
  if (!IsSelectorName(fileName) || fileName.size() < 4 || fileName[1] == '-') return -1;
  int number = 0;
  const char* first = fileName.data() + 1;
  const auto [end, error] = std::from_chars(first, first + 3, number, 16);
  return error == std::errc() && end == first + 3 ? number : -1;
}

std::string DisplayNameOf(std::string_view fileName) {
  if (IsSelectorName(fileName)) {
    const std::string digits(fileName.substr(1, 3));
    const long number = std::strtol(digits.c_str(), nullptr, 16);
    char text[40];
    std::snprintf(text, sizeof text, "<Selector %ld>", number - 255);
    return text;
  }
  const std::string_view name = GetFileNamePart(fileName);
  const std::string_view extension = GetExtensionPart(name);
  const std::string_view stem = name.substr(0, name.size() - extension.size());
  if (extension.empty()) return "<" + std::string(stem) + ">";
  std::string display(stem);
  if (!HasExtension(extension, ".kvt")) {
    display += " (";
    for (char c : extension.substr(1)) display += LowerAscii(c);
    display += ")";
  }
  return display;
}

}  // namespace kvt
