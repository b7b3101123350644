#pragma once
// Test helper: runs a program with an argument vector (no shell) through posix_spawn and
// collects its exit code, standard output and standard error (through files in a private
// folder, so no pipe can fill up). Optional environment settings are added to (or replace
// those of) the test's own environment; standard input comes from stdinPath.

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/utils/temp_folder.h"

extern char** environ;

namespace kvt::test {

struct TProcessResult {
  bool started = false;
  int exitCode = -1;  // the exit status when the program exited normally
  int signal = 0;     // the signal that ended it, else 0
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// env: "NAME=value" settings for the child.
inline TProcessResult RunProcess(const std::vector<std::string>& argv,
                                 const std::vector<std::string>& env = {},
                                 const std::string& stdinPath = "/dev/null") {
  TProcessResult result;
  TTempFolder capture;
  if (!capture.IsValid() || argv.empty()) return result;
  const std::string outPath = capture / "stdout";
  const std::string errPath = capture / "stderr";

  std::vector<std::string> environment;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const std::string& setting : env)
      replaced |= setting.compare(0, name.size() + 1, name + "=") == 0;
    if (!replaced) environment.push_back(entry);
  }
  environment.insert(environment.end(), env.begin(), env.end());

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, stdinPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  result.started = true;

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  return result;
}

}  // namespace kvt::test
