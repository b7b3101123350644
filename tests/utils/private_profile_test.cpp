#include "utils/private_profile.h"

#include "tests/utils/ini_test_env.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// A file of the kind the program ships and people edit: keys with blanks, quoted values,
// comments.
const char kToolsFile[] =
    "; user tools\n"
    "[Default]\n"
    "Transpose Up = 21,\"Transpose Up.lua\"\n"
    "Quoted Tool='\"a b\"'\n"
    "Padded=  \"  kept  \"  \n"
    "[Config]\n"
    "Count=12 items\n"
    "Negative=-4\n"
    "Word=many\n"
    "Blank=\n";

class PrivateProfileTest : public ::testing::Test {
protected:
  void SetUp() override { WriteWholeFile(path, kToolsFile); }

  std::string Get(const char* section, const char* key, const char* def = "DEF") {
    char buffer[64];
    GetPrivateProfileString(section, key, def, buffer, sizeof buffer, path.c_str());
    return buffer;
  }

  TTempFolder folder;
  std::string path = folder / "kvt2UserTools.ini";
};

TEST_F(PrivateProfileTest, ReadsStripQuotesAndMatchWithoutCase) {
  EXPECT_EQ(Get("default", "TRANSPOSE UP"), "21,\"Transpose Up.lua\"");
  EXPECT_EQ(Get("Default", "Quoted Tool"), "\"a b\"");  // single quotes guard double ones
  EXPECT_EQ(Get("Default", "Padded"), "  kept  ");
  EXPECT_EQ(Get("Config", "Blank"), "");
  EXPECT_EQ(Get("Config", "Missing"), "DEF");
  EXPECT_EQ(Get("Missing", "Count"), "DEF");
  EXPECT_EQ(Get("Config", "Missing", nullptr), "");
  EXPECT_EQ(Get(nullptr, "Count"), "DEF");
  EXPECT_EQ(Get("Config", nullptr), "DEF");
}

TEST_F(PrivateProfileTest, MissingFileGivesDefaults) {
  char buffer[16];
  EXPECT_EQ(GetPrivateProfileString("S", "k", "dflt", buffer, sizeof buffer,
                                    (folder / "none.ini").c_str()),
            4);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(GetPrivateProfileInt("S", "k", 9, (folder / "none.ini").c_str()), 9);
}

TEST_F(PrivateProfileTest, LongValueIsCutToTheBuffer) {
  char buffer[8];
  EXPECT_EQ(GetPrivateProfileString("Default", "Transpose Up", "", buffer, sizeof buffer,
                                    path.c_str()),
            7);
  EXPECT_STREQ(buffer, "21,\"Tra");
}

TEST_F(PrivateProfileTest, IntegersReadTheLeadingNumber) {
  struct Case {
    const char* key;
    int32_t value;
  } cases[] = {{"Count", 12}, {"Negative", -4}, {"Word", 0}, {"Blank", 5}, {"Missing", 5}};
  for (const Case& c : cases)
    EXPECT_EQ(GetPrivateProfileInt("Config", c.key, 5, path.c_str()), c.value) << c.key;
}

TEST_F(PrivateProfileTest, WritesStoreTheTextAsGiven) {
  ASSERT_TRUE(WritePrivateProfileString("Default", "New Tool", "'\"x.lua\"'", path.c_str()));
  EXPECT_EQ(Get("Default", "new tool"), "\"x.lua\"");
  EXPECT_NE(ReadWholeFile(path).find("New Tool='\"x.lua\"'\n"), std::string::npos);
  EXPECT_NE(ReadWholeFile(path).find("; user tools\n"), std::string::npos);
}

TEST_F(PrivateProfileTest, NullTextDeletesKeyAndNullKeyDeletesSection) {
  ASSERT_TRUE(WritePrivateProfileString("Config", "Word", nullptr, path.c_str()));
  EXPECT_EQ(Get("Config", "Word"), "DEF");
  EXPECT_EQ(Get("Config", "Count"), "12 items");
  ASSERT_TRUE(WritePrivateProfileString("config", nullptr, nullptr, path.c_str()));
  EXPECT_EQ(GetPrivateProfileSectionNames(path.c_str()), std::vector<std::string>{"Default"});
  // The flush call succeeds without touching the file; a null section otherwise fails.
  std::string before = ReadWholeFile(path);
  EXPECT_TRUE(WritePrivateProfileString(nullptr, nullptr, nullptr, path.c_str()));
  EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(PrivateProfileTest, ListsSectionsAndKeys) {
  EXPECT_EQ(GetPrivateProfileSectionNames(path.c_str()),
            (std::vector<std::string>{"Default", "Config"}));
  auto entries = GetPrivateProfileSection("DEFAULT", path.c_str());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].first, "Transpose Up");
  EXPECT_EQ(entries[1].second, "\"a b\"");
  EXPECT_TRUE(GetPrivateProfileSection("Missing", path.c_str()).empty());
}

TEST_F(PrivateProfileTest, UnwritableTextFailsAndKeepsTheFile) {
  EXPECT_FALSE(WritePrivateProfileString("Config", "k", "line\n[Injected]\nx=1", path.c_str()));
  EXPECT_FALSE(WritePrivateProfileString("Config", "a=b", "v", path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), kToolsFile);
}

}  // namespace
}  // namespace kvt
