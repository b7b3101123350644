#pragma once
// The command-line tools that take the process over before any window exists.

#include <cstdio>
#include <string>
#include <vector>

namespace kvt {

class TScriptDialogs;

// What the user-tool runtime needs of the program: the folder of built-in script overrides,
// and the dialogs of tools (null without a display: every box and prompt cancels).
struct TToolServices {
  std::string programFolder;
  TScriptDialogs* dialogs = nullptr;
};

// arguments: the process's arguments, the program first. Runs the conversion when there are
// at least three arguments and the second is "-convert" (without regard to case): its
// messages, when there are any, go whole to messageOut (standard error; they end with a line
// end there), and the conversion's result becomes exitCode. Returns whether a tool ran; when
// none did, exitCode is untouched.
//
// Otherwise, when an argument after the program is "-kvtut" (without regard to case; the
// first such) and the argument after it is there and not empty, runs that script as a user
// tool (user_tool_runtime.h) with the arguments after it; its status becomes exitCode.
bool RunCommandLineTool(int& exitCode, const std::vector<std::string>& arguments,
                        std::FILE* messageOut = stderr, const TToolServices& tools = {});

}  // namespace kvt
