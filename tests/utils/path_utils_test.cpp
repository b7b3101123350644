#include "utils/path_utils.h"

#include "utils/file_utils.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kvt {
namespace {

struct SplitCase {
  const char* path;
  size_t nameOffset;
  size_t extensionOffset;
};

TEST(PathUtilsTest, FileNameAndExtensionOffsets) {
  const SplitCase cases[] = {
      {"/home/a/song.kvt", 8, 12},
      {"song.kvt", 0, 4},
      {"song", 0, 4},
      {"/dir.x/name", 7, 11},  // the only dot is in a folder name: no extension
      {"/a/b.c.d", 3, 6},      // the last dot counts
      {"/a/b/", 5, 5},
      {"", 0, 0},
      {"/", 1, 1},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(GetFileNameOffset(c.path), c.nameOffset);
    EXPECT_EQ(GetExtensionOffset(c.path), c.extensionOffset);
  }
  EXPECT_EQ(GetFileNamePart("/x/y/song.kvt"), "song.kvt");
  EXPECT_EQ(GetExtensionPart("/x/y/song.kvt"), ".kvt");
  EXPECT_EQ(GetExtensionPart("/x.d/song"), "");
}

TEST(PathUtilsTest, ExtensionsCompareWithoutCaseAndOptionalDot) {
  EXPECT_TRUE(HasExtension("/a/Song.KVT", ".kvt"));
  EXPECT_TRUE(HasExtension("/a/song.kar", "KAR"));
  EXPECT_FALSE(HasExtension("/a/song.kvtx", ".kvt"));
  EXPECT_FALSE(HasExtension("/a.kvt/song", ".kvt"));
  EXPECT_TRUE(HasExtension("/a/song", ""));
}

struct EditCase {
  const char* path;
  const char* extension;
  const char* added;     // AddDefaultExtension
  const char* replaced;  // ReplaceExtension
};

TEST(PathUtilsTest, AddDefaultAndReplaceExtension) {
  const EditCase cases[] = {
      {"/a/song", "kvt", "/a/song.kvt", "/a/song.kvt"},
      {"/a/song", ".kvt", "/a/song.kvt", "/a/song.kvt"},
      {"/a/song.mid", "kvt", "/a/song.mid", "/a/song.kvt"},
      {"/a/song.mid", "", "/a/song.mid", "/a/song"},
      {"/a/song", "", "/a/song", "/a/song"},
      {"/a.b/song", ".kvt", "/a.b/song.kvt", "/a.b/song.kvt"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " + " + c.extension);
    std::string added = c.path;
    AddDefaultExtension(added, c.extension);
    EXPECT_EQ(added, c.added);
    std::string replaced = c.path;
    ReplaceExtension(replaced, c.extension);
    EXPECT_EQ(replaced, c.replaced);
  }
}

struct NormalizeCase {
  const char* path;
  bool cutFileName;
  const char* expected;
};

TEST(PathUtilsTest, NormalizeDirPathKeepsOnlyTheRootsSlash) {
  const NormalizeCase cases[] = {
      {"/", false, "/"},
      {"/", true, "/"},
      {"/a/b/", false, "/a/b"},
      {"/a/b//", false, "/a/b"},
      {"//", false, "/"},
      {"/a/b/song.kvt", true, "/a/b"},
      {"/song.kvt", true, "/"},
      {"song.kvt", true, "song.kvt"},  // no folder to cut back to
      {"a/", false, "a"},
      {"", false, ""},
  };
  for (const NormalizeCase& c : cases) {
    SCOPED_TRACE(c.path);
    std::string path = c.path;
    NormalizeDirPath(path, c.cutFileName);
    EXPECT_EQ(path, c.expected);
  }
}

TEST(PathUtilsTest, AppendPathComponentAddsOneSeparator) {
  std::string path = "/a";
  AppendPathComponent(path, "b");
  EXPECT_EQ(path, "/a/b");
  path = "/a/";
  AppendPathComponent(path, "b");
  EXPECT_EQ(path, "/a/b");
  path = "";
  AppendPathComponent(path, "b");
  EXPECT_EQ(path, "b");
}

TEST(PathUtilsTest, MakeAbsolutePathPrefixesEveryRelativePath) {
  std::string current = GetCurrentDir();
  ASSERT_FALSE(current.empty());
  std::string path = "/already/absolute";
  EXPECT_TRUE(MakeAbsolutePath(path));
  EXPECT_EQ(path, "/already/absolute");
  path = "song.kvt";
  EXPECT_TRUE(MakeAbsolutePath(path));
  EXPECT_EQ(path, current == "/" ? "/song.kvt" : current + "/song.kvt");
  path = "sub/song.kvt";
  EXPECT_TRUE(MakeAbsolutePath(path));
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(GetPathUnderFolder(path, current), std::optional<std::string_view>("sub/song.kvt"));
}

struct PartsCase {
  const char* path;
  int parts;
  const char* expected;
};

TEST(PathUtilsTest, ExtractPathParts) {
  const PartsCase cases[] = {
      {"/a/b/song.kvt", kPathPartFolder, "/a/b/"},
      {"/a/b/song.kvt", kPathPartName, "song"},
      {"/a/b/song.kvt", kPathPartExtension, ".kvt"},
      {"/a/b/song.kvt", kPathPartFolder | kPathPartName, "/a/b/song"},
      {"/a/b/song.kvt", 7, "/a/b/song.kvt"},
      {"/a/b/song", kPathPartName | kPathPartExtension, "song."},  // a lone dot
      {"song.kvt", kPathPartFolder, ""},
      {"/a/b/song.kvt", 0, ""},
  };
  for (const PartsCase& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " parts " + std::to_string(c.parts));
    EXPECT_EQ(ExtractPathParts(c.path, c.parts), c.expected);
  }
}

struct UnderCase {
  const char* path;
  const char* folder;
  std::optional<std::string_view> rest;
};

TEST(PathUtilsTest, GetPathUnderFolderComparesWholeComponents) {
  const UnderCase cases[] = {
      {"/a/b/x", "/a/b", "x"},
      {"/a/b/x", "/a/b/", "x"},
      {"/a/b/c/x", "/a/b", "c/x"},
      {"/a/bc/x", "/a/b", std::nullopt},  // a longer component is not the folder
      {"/a/bc/x", "/a/b/", std::nullopt},
      {"/a/b", "/a/b", std::nullopt},   // nothing follows
      {"/a/b/", "/a/b", std::nullopt},
      {"/A/b/x", "/a/b", std::nullopt},  // names compare with case
      {"/x", "/", "x"},
      {"relative/x", "/", std::nullopt},
      {"/a/b/x", "", std::nullopt},
  };
  for (const UnderCase& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " under " + c.folder);
    EXPECT_EQ(GetPathUnderFolder(c.path, c.folder), c.rest);
  }
}

TEST(PathUtilsTest, LongPathsAreNeverCut) {
  std::string path = "/" + std::string(600, 'd') + "/" + std::string(300, 'n');
  AddDefaultExtension(path, "kvt");
  EXPECT_EQ(path.size(), 1 + 600 + 1 + 300 + 4u);
  EXPECT_EQ(ExtractPathParts(path, kPathPartName).size(), 300u);
  EXPECT_EQ(GetShortPath(path), path);
}

}  // namespace
}  // namespace kvt
