#pragma once
// The shell tests' private folder (settings, runtime and state folders live in it).

#include <string>

namespace kvt::test {

inline std::string& ShellTestFolder() {
  static std::string folder;
  return folder;
}

}  // namespace kvt::test
