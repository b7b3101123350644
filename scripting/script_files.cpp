#include "scripting/script_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kvt {

bool ReadProgramScript(const std::string& folder, const char* name, std::string& text) {
  if (folder.empty()) return false;
  const std::filesystem::path path = std::filesystem::path(folder) / name;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxScriptFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  text = std::move(content);
  return true;
}

std::string GetProgramFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !self.is_absolute()) {
    if (argv0 == nullptr || *argv0 == '\0') return std::string();
    self = std::filesystem::absolute(argv0, error);
    if (error) return std::string();
  }
  return self.parent_path().string();
}

}  // namespace kvt
