#include "tools/shell_link.h"

#include <filesystem>

#include "utils/atomic_file_write.h"
#include "utils/ini_document.h"
#include "utils/ini_file_io.h"
#include "utils/memory_block.h"
#include "utils/process_arguments.h"
#include "utils/stream.h"

namespace kvt {
namespace {

constexpr std::string_view kEntrySection = "Desktop Entry";

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// One argument of the Exec line: in double quotes, with the characters the format reserves
// inside quotes escaped, and "%" doubled so it is not read as a field code.
std::string QuoteExecArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

// The value level of the file format: a backslash in a value is written as two.
std::string EscapeValue(std::string_view value) {
  std::string escaped;
  for (char c : value) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string UnescapeValue(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    const char next = value[++i];
    text += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
  }
  return text;
}

// The program of an Exec line: its first argument, quoted or not.
std::string FirstExecArgument(std::string_view exec) {
  size_t i = exec.find_first_not_of(' ');
  std::string argument;
  if (i == std::string_view::npos) return argument;
  const bool quoted = exec[i] == '"';
  if (quoted) ++i;
  for (; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted && c == '"') break;
    if (!quoted && c == ' ') break;
    if (quoted && c == '\\' && i + 1 < exec.size()) {
      argument += exec[++i];
    } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
      argument += '%';
      ++i;
    } else {
      argument += c;
    }
  }
  return argument;
}

}  // namespace

bool CreateShellLink(const std::string& linkFile, std::string_view target,
                     std::string_view arguments, std::string_view description) {
  if (target.empty() || HasLineBreak(target)) return false;
  std::string exec = QuoteExecArgument(target);
  for (const std::string& argument : SplitCommandLine(arguments)) {
    if (HasLineBreak(argument)) return false;
    exec += ' ' + QuoteExecArgument(argument);
  }
  std::string name(description);
  if (name.empty()) name = std::filesystem::path(std::string(target)).filename().string();
  for (char& c : name)
    if (c == '\r' || c == '\n') c = ' ';

  TIniDocument entry = TIniDocument::Parse("[Desktop Entry]\n");
  if (!entry.Set(kEntrySection, "Type", "Application") ||
      !entry.Set(kEntrySection, "Name", EscapeValue(name)) ||
      !entry.Set(kEntrySection, "Exec", EscapeValue(exec)))
    return false;
  const std::string text = entry.ToText();
  return WriteFileAtomically(linkFile, TSaveBackups{}, [&](TKRVStream& file) {
    file.Write(text.data(), static_cast<int>(text.size()));
    return !file.IsError();
  });
}

bool ResolveShellLink(const std::string& linkFile, TKVMemoryBlock& result) {
  std::string content;
  if (TPosixIniFileIo().Read(linkFile, kIniMaxFileBytes, content) != TIniReadResult::kRead)
    return false;
  const TIniDocument entry = TIniDocument::Parse(content);
  const auto type = entry.Find(kEntrySection, "Type");
  std::string target;
  if (type && *type == "Link") {
    if (const auto url = entry.Find(kEntrySection, "URL")) target = UnescapeValue(*url);
  } else if (const auto exec = entry.Find(kEntrySection, "Exec")) {
    target = FirstExecArgument(UnescapeValue(*exec));
  }
  if (target.empty()) return false;
  result = TKVMemoryBlock(target.c_str());
  return true;
}

}  // namespace kvt
