#pragma once
// A fixture for the file-stream tests: a fresh folder from mkdtemp, removed after each test,
// with helpers to make and inspect files in it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kvt {

class FileStreamFixture : public testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kvt-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string PathOf(const std::string& name) const { return folder + "/" + name; }

  std::string MakeFile(const std::string& name, const std::string& bytes) const {
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string folder;
};

}  // namespace kvt
