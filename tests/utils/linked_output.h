#pragma once
// TLinkedOutput: an output path that is a chain of symbolic links, for the test that a writer
// replaces the file at the chain's end and leaves the links alone.
//
//   <folder>/links/<name>     -> "hop-<name>"            (relative, same folder)
//   <folder>/links/hop-<name> -> "../real/<name>"        (relative to the links folder)
//   <folder>/real/<name>         old contents, mode 0640
//
// The writer gets LinkPath(); ExpectWrittenThroughLinks then checks that both links are still
// the same links, the real file has new contents and its old mode, and neither folder holds
// anything else (no temporary file left behind). RealContents() gives the new contents for
// the caller's own check of the format.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/utils/temp_folder.h"

namespace kvt {

class TLinkedOutput {
public:
  static constexpr mode_t kRealMode = 0640;
  static constexpr const char* kOldContents = "old contents";

  TLinkedOutput(const TTempFolder& folder, const std::string& name)
      : name(name), links(folder / "links"), real(folder / "real") {
    namespace fs = std::filesystem;
    fs::create_directory(links);
    fs::create_directory(real);
    TTempFolder::WriteFile(RealPath(), kOldContents);
    EXPECT_EQ(::chmod(RealPath().c_str(), kRealMode), 0);
    fs::create_symlink("hop-" + name, LinkPath());
    fs::create_symlink("../real/" + name, links + "/hop-" + name);
  }

  std::string LinkPath() const { return links + "/" + name; }
  std::string RealPath() const { return real + "/" + name; }
  std::string RealContents() const { return TTempFolder::ReadFile(RealPath()); }

  void ExpectWrittenThroughLinks() const {
    namespace fs = std::filesystem;
    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(LinkPath()))) << "the link became a file";
    EXPECT_EQ(fs::read_symlink(LinkPath()).string(), "hop-" + name);
    EXPECT_EQ(fs::read_symlink(links + "/hop-" + name).string(), "../real/" + name);
    EXPECT_NE(RealContents(), kOldContents) << "the file at the links' end was not written";
    struct stat info;
    ASSERT_EQ(::stat(RealPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, kRealMode) << "the permissions were not kept";
    std::vector<std::string> linkNames = {"hop-" + name, name};
    std::sort(linkNames.begin(), linkNames.end());
    EXPECT_EQ(TTempFolder::ListNames(links), linkNames);
    EXPECT_EQ(TTempFolder::ListNames(real), std::vector<std::string>{name});
  }

private:
  std::string name;
  std::string links;
  std::string real;
};

}  // namespace kvt
