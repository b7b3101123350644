#include "utils/run_command.h"

#include "utils/process_arguments.h"
#include "utils/unique_fd.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace kvt {

namespace {

constexpr int kPollMs = 50;

// Opens a file on a descriptor above 2, so that placing the three files on 0, 1 and 2 in the
// child can never overwrite one of them with another.
int OpenAboveStandard(const std::string& path, int flags) {
  if (path.empty()) return -1;
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0 || fd > 2) return fd;
  int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  ::close(fd);
  return moved;
}

int OpenForWriting(const std::string& path) {
  return OpenAboveStandard(path, O_WRONLY | O_CREAT | O_TRUNC);
}

int OpenForReading(const std::string& path) {
  int fd = OpenAboveStandard(path, O_RDONLY);
  struct stat info;
  if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Starts the program with the three descriptors as its standard handles; -1 on failure.
pid_t StartProcess(const std::vector<std::string>& arguments, int input, int output, int error) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  // The child starts with no blocked signals and the usual handlers, whatever this process
  // (or the calling thread) has set up, and in a process group of its own.
  sigset_t noSignals;
  sigemptyset(&noSignals);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD}) {
    sigaddset(&defaults, signal);
  }
  bool ready =
      posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO) == 0 &&
      posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO) == 0 &&
      posix_spawn_file_actions_adddup2(&actions, error, STDERR_FILENO) == 0 &&
      posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                POSIX_SPAWN_SETSIGDEF) == 0 &&
      posix_spawnattr_setpgroup(&attributes, 0) == 0 &&
      posix_spawnattr_setsigmask(&attributes, &noSignals) == 0 &&
      posix_spawnattr_setsigdefault(&attributes, &defaults) == 0;
  pid_t pid = -1;
  if (ready && posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits for the child to end; returns its exit code.
int Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return 1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

// Kills the child's process group (and the child itself, should it have left the group) and
// collects it. The group still exists until the child is collected, so the id names no other.
void Kill(pid_t pid) {
  ::kill(-pid, SIGKILL);
  ::kill(pid, SIGKILL);
  Reap(pid);
}

// Waits for the started child under the cancel callback or the time-out. Returns the exit
// code and sets `failure` when the child had to be killed.
int Wait(pid_t pid, const TCommandCancelCallback& cancel, int timeoutMs, const char*& failure) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  // Short naps first, so a quick command is not held up for a whole poll period.
  int napMs = 1;
  for (;;) {
    int status = 0;
    pid_t ended = ::waitpid(pid, &status, WNOHANG);
    if (ended == pid) {
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    } else if (ended < 0 && errno != EINTR) {
      // Someone else collected the child (SIGCHLD ignored): it has ended, its status is lost.
      return 1;
    }
    if (cancel) {
      if (!cancel(static_cast<int>(pid))) {
        Kill(pid);
        failure = kRunAbortedText;
        return 1;
      }
    } else if (Clock::now() >= deadline) {
      Kill(pid);
      failure = kRunTimedOutText;
      return 1;
    }
    Clock::duration nap = std::chrono::milliseconds(napMs);
    if (!cancel) {
      nap = std::clamp<Clock::duration>(deadline - Clock::now(), Clock::duration::zero(), nap);
    }
    std::this_thread::sleep_for(nap);
    napMs = std::min(napMs * 2, kPollMs);
  }
}

}  // namespace

bool RunCommand(const std::string& commandLine, const std::string& inputFile,
                const std::string& outputFile, const std::string& errorFile, int* exitCode,
                const TCommandCancelCallback& cancel, int timeoutMs) {
  TUniqueFd error(OpenForWriting(errorFile));
  if (!error.IsValid()) return false;

  const char* failure = nullptr;
  TUniqueFd output(OpenForWriting(outputFile));
  TUniqueFd input;
  if (!output.IsValid()) {
    failure = kRunOutputFailedText;
  } else {
    input.Reset(OpenForReading(inputFile));
    if (!input.IsValid()) failure = kRunInputFailedText;
  }

  if (failure == nullptr) {
    std::vector<std::string> arguments = SplitCommandLine(commandLine);
    pid_t pid =
        arguments.empty() ? -1 : StartProcess(arguments, input.Get(), output.Get(), error.Get());
    input.Close();
    output.Close();
    if (pid < 0) {
      failure = kRunStartFailedText;
    } else {
      int code = Wait(pid, cancel, timeoutMs, failure);
      if (exitCode != nullptr) *exitCode = code;
    }
  }

  if (failure != nullptr) {
    // After whatever the command wrote itself.
    ::lseek(error.Get(), 0, SEEK_END);
    const char* text = failure;
    size_t left = std::strlen(text);
    while (left > 0) {
      ssize_t written = ::write(error.Get(), text, left);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) break;
      text += written;
      left -= static_cast<size_t>(written);
    }
  }
  return failure == nullptr;
}

}  // namespace kvt
