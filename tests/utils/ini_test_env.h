#pragma once
// Test helpers for the ini store beside TTempFolder: an environment variable set for one test
// and put back after it, a whole-file write that makes the folders above the file, and a count
// of a folder's entries (to see that no temporary file was left).

#include "tests/utils/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace kvt::testing {

class TScopedEnv {
public:
  TScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) saved = old;
    if (value != nullptr)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TScopedEnv() {
    if (saved)
      ::setenv(name.c_str(), saved->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
  std::string name;
  std::optional<std::string> saved;
};

inline std::string ReadWholeFile(const std::string& path) { return TTempFolder::ReadFile(path); }

inline void WriteWholeFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline int CountEntries(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

}  // namespace kvt::testing
