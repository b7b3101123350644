#pragma once
// Splitting a command line into program arguments, so that commands run without a shell.
//
// Blanks (spaces and tabs) separate arguments. Double quotes group blanks into an argument
// and are removed; "" makes an empty argument. A backslash is an ordinary character except
// before a double quote: 2n backslashes and a quote give n backslashes and a grouping quote,
// 2n+1 backslashes and a quote give n backslashes and a literal quote. An unclosed quote runs
// to the end of the line. No other character is special: no variables, globbing or
// redirection.

#include <string>
#include <string_view>
#include <vector>

namespace kvt {

std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace kvt
