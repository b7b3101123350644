#pragma once
// TCommandLine: a command line split into at most 128 arguments, kept in a case-insensitive
// TKVStringList. Blanks (spaces and tabs) separate arguments; an argument that starts with a
// double quote runs to the next double quote (or the end) and may hold blanks, the quotes
// dropped; an unquoted argument ends at a blank or a double quote; empty arguments are
// dropped; arguments past the 128th are ignored.

#include "utils/string_list.h"

namespace kvt {

class TCommandLine : public TKVStringList {
public:
  static constexpr int kMaxArguments = 128;

  TCommandLine(const char* commandLine, char optionChar = '-');

  char GetOptionChar() const { return optionChar; }
  // The first argument that does not start with the option character, or null.
  const char* GetFirstNonOption() const;

private:
  char optionChar;
};

}  // namespace kvt
