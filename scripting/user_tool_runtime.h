#pragma once
// The headless user-tool runtime: "kvt2 -kvtut tool.lua args < in.kvttxt > out.kvttxt".
//
// The runtime makes a full Lua state of its own (every standard library, plus utf8string,
// kvtut and kvt as globals, the long-running functions checked against the deadline), reads
// standard input through zlib's gzip reader (gzip and plain alike), runs the four built-in
// chunks kvttxt.lua, kvtut.lua, kvtut_shim.lua and kvtut_sandbox.lua (a file of that name in
// the program folder replaces the built-in text; the current folder is never looked at), and
// ends with the tool's status.
//
// Limits: the state holds at most 1 GiB. Every 10 seconds of script time the user is asked
// whether to cancel ("Script Execution"); without a display the answer is Yes.
//
// Status: kvtut.status cut to a whole number when it lies in 0..255 (0 when it is not a
// number); 1 for a status outside that range or not finite, for a chunk error (its text and a
// line end on standard error), for damaged compressed input or input that ends before its
// ending line, and for output that could not be written.

#include <cstdio>
#include <string>
#include <vector>

namespace kvt {

class TScriptDialogs;

inline constexpr size_t kRuntimeMemoryCap = size_t{1} << 30;
inline constexpr int64_t kRuntimeQuestionMilliseconds = 10000;

struct TUserToolRun {
  std::string programFolder;            // where chunk overrides may lie; empty for none
  std::string scriptPath;               // arg[0]
  std::vector<std::string> arguments;   // arg[1], arg[2], ...
  int inputFd = 0;                      // the score text (read from its current position)
  std::FILE* errorOut = stderr;         // chunk errors
  TScriptDialogs* dialogs = nullptr;    // null: no display (every box cancels)
  size_t memoryCap = kRuntimeMemoryCap;
  int64_t questionMilliseconds = kRuntimeQuestionMilliseconds;
};

// Runs the tool; returns the process exit status (0..255).
int RunUserToolRuntime(const TUserToolRun& run);

}  // namespace kvt
