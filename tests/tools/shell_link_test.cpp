#include "tools/shell_link.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/utils/temp_folder.h"
#include "utils/memory_block.h"

namespace kvt {
namespace {

std::string Resolved(const std::string& linkFile) {
  TKVMemoryBlock block;
  if (!ResolveShellLink(linkFile, block)) return "<none>";
  return block.Text();
}

// Targets with the characters the launcher format reserves come back as they went in.
TEST(ShellLink, TargetsReadBackAsWritten) {
  TTempFolder folder;
  const std::string link = folder / "kvt2.desktop";
  for (const std::string target :
       {"/usr/bin/kvt2", "/opt/My Music/kvt2", "/opt/a\"b`c$d\\e/kvt2", "/opt/100%/kvt2"}) {
    ASSERT_TRUE(CreateShellLink(link, target, "", "")) << target;
    EXPECT_EQ(Resolved(link), target);
  }
}

// A menu or file manager reads the Exec line: the target and every argument quoted, the
// description as the name, and backslashes doubled at the value level.
TEST(ShellLink, WritesALauncherEntry) {
  TTempFolder folder;
  const std::string link = folder / "song.desktop";
  ASSERT_TRUE(CreateShellLink(link, "/usr/bin/kvt2", "\"my song.kvt\" /play 50%", "Play\nmy song"));
  EXPECT_EQ(TTempFolder::ReadFile(link),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Play my song\n"
            "Exec=\"/usr/bin/kvt2\" \"my song.kvt\" \"/play\" \"50%%\"\n");
  ASSERT_TRUE(CreateShellLink(link, "/opt/a\\b/kvt2", "", ""));
  EXPECT_NE(TTempFolder::ReadFile(link).find("Exec=\"/opt/a\\\\\\\\b/kvt2\""), std::string::npos);
  EXPECT_NE(TTempFolder::ReadFile(link).find("Name=kvt2\n"), std::string::npos);
}

TEST(ShellLink, RefusesWhatALauncherCannotHold) {
  TTempFolder folder;
  const std::string link = folder / "bad.desktop";
  EXPECT_FALSE(CreateShellLink(link, "", "", "x"));
  EXPECT_FALSE(CreateShellLink(link, "/usr/bin/a\nb", "", "x"));
  EXPECT_FALSE(CreateShellLink(link, "/usr/bin/kvt2", "\"a\nb\"", "x"));
  EXPECT_FALSE(CreateShellLink(folder / "no/such/folder/x.desktop", "/usr/bin/kvt2", "", ""));
}

TEST(ShellLink, ResolvesLaunchersAndLinkEntries) {
  TTempFolder folder;
  const struct {
    const char* text;
    const char* target;
  } cases[] = {
      {"[Desktop Entry]\nType=Application\nExec=/usr/bin/kvt2 %F\n", "/usr/bin/kvt2"},
      {"[Desktop Entry]\nExec=\"/opt/My Music/kvt2\" --x\n", "/opt/My Music/kvt2"},
      {"[Desktop Entry]\nType=Link\nURL=https://example.org/a\n", "https://example.org/a"},
      {"[Desktop Entry]\nType=Application\nName=No program\n", "<none>"},
      {"[Other]\nExec=/usr/bin/kvt2\n", "<none>"},
      {"", "<none>"},
  };
  for (const auto& c : cases) {
    const std::string link = folder / "entry.desktop";
    TTempFolder::WriteFile(link, c.text);
    EXPECT_EQ(Resolved(link), c.target) << c.text;
  }
  EXPECT_EQ(Resolved(folder / "missing.desktop"), "<none>");
}

}  // namespace
}  // namespace kvt
