#include "utils/command_line.h"

#include <string>

namespace kvt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TCommandLine::TCommandLine(const char* commandLine, char optionChar)
    : TKVStringList(kMaxArguments, true), optionChar(optionChar) {
  const char* p = commandLine ? commandLine : "";
  std::string argument;
  while (*p && !IsFull()) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    argument.clear();
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') argument.push_back(*p++);
      if (*p == '"') ++p;
    } else {
      while (*p && !IsBlank(*p) && *p != '"') argument.push_back(*p++);
    }
    if (!argument.empty()) Insert(GetCount(), argument.c_str());
  }
}

const char* TCommandLine::GetFirstNonOption() const {
  for (int i = 0; i < GetCount(); ++i) {
    const char* argument = GetItem(i);
    if (argument[0] != optionChar) return argument;
  }
  return nullptr;
}

}  // namespace kvt
