#pragma once
// Test helper: a private Xvfb server and xdotool driving it, for the few tests that run a
// program under a real display. Xvfb picks a free display itself (-displayfd), so parallel
// runs never share one. The server stops when the object goes.
//
// IsAvailable() is false when Xvfb or xdotool is not installed (the caller skips); Start()
// answers false when the server did not come up.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/utils/process_runner.h"

namespace kvt::test {

class TVirtualDisplay {
public:
  TVirtualDisplay() = default;
  TVirtualDisplay(const TVirtualDisplay&) = delete;
  TVirtualDisplay& operator=(const TVirtualDisplay&) = delete;
  ~TVirtualDisplay() {
    if (server == 0) return;
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
  }

  static bool IsAvailable() {
    return access("/usr/bin/Xvfb", X_OK) == 0 && access("/usr/bin/xdotool", X_OK) == 0;
  }

  // Starts the server and waits until it answers.
  bool Start() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    std::vector<std::string> args = {"/usr/bin/Xvfb", "-displayfd", "3",  "-screen", "0",
                                     "800x600x24",    "-nolisten",  "tcp"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // The read end first: when it is fd 3 itself, closing it after the dup2 would close the
    // display-number fd again.
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 3);
    const int spawned = posix_spawn(&server, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) server = 0;
    std::string number;
    char c;
    while (spawned == 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (server == 0 || number.empty()) return false;
    display = ":" + number;
    for (int i = 0; i < 100; ++i) {
      if (Xdotool({"getdisplaygeometry"}).exitCode == 0) return true;
      Pause();
    }
    return false;
  }

  // "DISPLAY=:N", for the environment of a program run on this display.
  std::string DisplaySetting() const { return "DISPLAY=" + display; }

  TProcessResult Xdotool(std::vector<std::string> args) const {
    args.insert(args.begin(), "/usr/bin/xdotool");
    return RunProcess(args, {DisplaySetting()});
  }

  // The first window whose name matches the pattern, waiting for one to appear; empty when
  // none does.
  std::string WaitForWindow(const std::string& namePattern, int tries = 100) const {
    for (int i = 0; i < tries; ++i) {
      const TProcessResult found = Xdotool({"search", "--name", namePattern});
      if (found.exitCode == 0 && !found.out.empty())
        return found.out.substr(0, found.out.find('\n'));
      Pause();
    }
    return {};
  }

  static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

private:
  std::string display;
  pid_t server = 0;
};

}  // namespace kvt::test
