#pragma once
// The command-line tools that take the process over before any window exists.

#include <cstdio>
#include <string>
#include <vector>

namespace kvt {

// arguments: the process's arguments, the program first. Runs the conversion when there are
// at least three arguments and the second is "-convert" (without regard to case): its
// messages, when there are any, go whole to messageOut (standard error; they end with a line
// end there), and the conversion's result becomes exitCode. Returns whether a tool ran; when
// none did, exitCode is untouched.
bool RunCommandLineTool(int& exitCode, const std::vector<std::string>& arguments,
                        std::FILE* messageOut = stderr);

}  // namespace kvt
