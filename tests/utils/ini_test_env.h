#pragma once
// Test helpers for the ini store beside TTempFolder: TScopedEnv (scoped_env.h), a whole-file
// write that makes the folders above the file, and a count of a folder's entries (to see that
// no temporary file was left).

#include "tests/utils/scoped_env.h"
#include "tests/utils/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace kvt::testing {

using ::kvt::TScopedEnv;

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
