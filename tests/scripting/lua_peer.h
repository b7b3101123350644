#pragma once
// Runs the lua5.2 interpreter on a script text (through a file, no shell) and gives its
// standard output and the first line of its standard error.

#include <string>
#include <vector>

#include "tests/utils/process_runner.h"
#include "tests/utils/temp_folder.h"

namespace kvt::test {

struct TLuaPeerResult {
  int exitCode = -1;
  std::string out;
  std::string firstErrorLine;
};

inline TLuaPeerResult RunLuaPeer(const std::string& script, const std::vector<std::string>& args = {}) {
  TTempFolder folder;
  const std::string path = folder / "peer.lua";
  TTempFolder::WriteFile(path, script);
  std::vector<std::string> argv = {"/usr/bin/lua5.2", path};
  argv.insert(argv.end(), args.begin(), args.end());
  const TProcessResult run = RunProcess(argv);
  TLuaPeerResult result;
  result.exitCode = run.exitCode;
  result.out = run.out;
  result.firstErrorLine = run.err.substr(0, run.err.find('\n'));
  return result;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace kvt::test
