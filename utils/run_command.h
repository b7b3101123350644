#pragma once
// RunCommand: runs an external program with its standard input, output and error on files,
// bounded in time or cancellable, and reports its exit code.
//
// The command line is split into arguments by SplitCommandLine (utils/process_arguments.h) and the
// program (the first argument; searched in PATH when it has no "/") is started directly,
// never through a shell. The child runs in a process group of its own; aborting it kills that
// group.

#include <functional>
#include <string>

namespace kvt {

// Called about every 50 ms while the command runs, with the child's process id. Returning
// false aborts the command. It must not throw.
using TCommandCancelCallback = std::function<bool(int processId)>;

// How long a command without a cancel callback may run.
inline constexpr int kRunCommandTimeoutMs = 10000;

// The failure texts RunCommand writes, without terminator, at the end of the error file.
inline constexpr const char* kRunOutputFailedText = "Std Output could not be started";
inline constexpr const char* kRunInputFailedText = "Std Input could not be started";
inline constexpr const char* kRunStartFailedText = "Command process failed\n";
inline constexpr const char* kRunAbortedText = "Operation aborted by request.";
inline constexpr const char* kRunTimedOutText = "The command took too long, so it was aborted.";

// Runs the command with standard input read from `inputFile` (which must exist) and standard
// output and error written to `outputFile` and `errorFile` (each created anew).
// - When the error file cannot be created, returns false at once and starts nothing.
// - When the output or input file cannot be opened or the program cannot be started (also for
//   an empty command line), the matching failure text goes into the error file.
// - With a cancel callback the command may run as long as the callback allows; a false answer
//   kills it with exit code 1 and records kRunAbortedText.
// - Without one, a command still running after timeoutMs is killed with exit code 1 and
//   kRunTimedOutText is recorded.
// - The exit code is stored in *exitCode (when not null) once the program has started: its
//   own exit status, 1 when it was killed here, 128 + the signal number when a signal from
//   elsewhere ended it.
// True when the command ran to its end with no failure text recorded, whatever its exit code.
bool RunCommand(const std::string& commandLine, const std::string& inputFile,
                const std::string& outputFile, const std::string& errorFile, int* exitCode,
                const TCommandCancelCallback& cancel = nullptr,
                int timeoutMs = kRunCommandTimeoutMs);

}  // namespace kvt
