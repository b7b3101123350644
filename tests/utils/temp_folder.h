#pragma once
// TTempFolder: a fresh folder from mkdtemp under /tmp (or another parent), removed with its
// contents when the object goes out of scope. Helpers read and write whole files in it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvt {

class TTempFolder {
public:
  explicit TTempFolder(const std::string& parent = "/tmp") {
    std::string pattern = parent + "/kvt-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~TTempFolder() {
    if (path.empty()) return;
    std::error_code ignored;
    // Read-only files and folders made by a test must not block the clean-up.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  bool IsValid() const { return !path.empty(); }
  const std::string& Path() const { return path; }
  std::string operator/(const std::string& name) const { return path + "/" + name; }

  static void WriteFile(const std::string& file, const std::string& contents) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << contents;
    ASSERT_TRUE(out.good()) << file;
  }
  static std::string ReadFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The names in a folder, sorted (a test sees any file left behind).
  static std::vector<std::string> ListNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Sets the last-write time to `seconds` after the epoch.
  static void SetWriteTime(const std::string& file, time_t seconds) {
    struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0) << file;
  }

private:
  std::string path;
};

}  // namespace kvt
