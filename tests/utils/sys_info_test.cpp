#include "utils/sys_info.h"

#include "tests/utils/ini_test_env.h"
#include "utils/stream.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>

#include <unistd.h>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::TScopedEnv;
using testing::WriteWholeFile;

class SysInfoTest : public ::testing::Test {
protected:
  SysInfoTest() { store.SetProfileLocation("Tarlowmede Software", "Test Product"); }

  std::string SettingsPath() const {
    return folder.Path() + "/Tarlowmede Software/Test Product.ini";
  }

  TTempFolder folder;
  TScopedEnv config{"XDG_CONFIG_HOME", folder.Path().c_str()};
  TSysInfo store;
};

TEST_F(SysInfoTest, SettingsLiveInOneFileNamedAfterTheProduct) {
  EXPECT_EQ(store.GetProfilePath(), SettingsPath());
  ASSERT_TRUE(store.WriteProfileInt("Options", "Zoom", 150));
  ASSERT_TRUE(store.WriteProfileString("Folders", "Songs", "/home/u/My Songs"));
  EXPECT_EQ(ReadWholeFile(SettingsPath()),
            "[Options]\nZoom=150\n\n[Folders]\nSongs=/home/u/My Songs\n");
  // A second store on the same names sees the values.
  TSysInfo other;
  other.SetProfileLocation("Tarlowmede Software", "Test Product");
  EXPECT_EQ(other.GetProfileInt("options", "zoom", 0), 150);
  EXPECT_EQ(other.GetProfileString("FOLDERS", "songs", ""), "/home/u/My Songs");
}

TEST_F(SysInfoTest, ConfigHomeFallsBackToHomeDotConfig) {
  TScopedEnv noConfig("XDG_CONFIG_HOME", "relative/ignored");
  TScopedEnv home("HOME", folder.Path().c_str());
  TSysInfo local;
  local.SetProfileLocation("Tarlowmede Software", "P");
  EXPECT_EQ(local.GetProfilePath(), folder.Path() + "/.config/Tarlowmede Software/P.ini");
}

TEST_F(SysInfoTest, NamesThatAreNotSingleFileNamesGiveNoLocation) {
  const char* products[] = {nullptr, "", ".", "..", "../escape", "a/b"};
  for (const char* product : products) {
    TSysInfo bad;
    bad.SetProfileLocation("Tarlowmede Software", product);
    EXPECT_EQ(bad.GetProfilePath(), "") << (product ? product : "(null)");
    EXPECT_EQ(bad.OpenProductKey(), nullptr);
    EXPECT_EQ(bad.GetProfileInt("S", "k", 7), 7);
    EXPECT_EQ(bad.GetProfileString("S", "k", "d"), "d");
    EXPECT_FALSE(bad.WriteProfileInt("S", "k", 1));
  }
  TSysInfo noCompany;
  noCompany.SetProfileLocation(nullptr, "P");
  EXPECT_EQ(noCompany.OpenProductKey(), nullptr);
  EXPECT_EQ(testing::CountEntries(folder.Path()), 0);
}

// A file edited by hand: every value of the wrong kind, too long or badly formed gives the
// caller's default; nothing crashes or writes past a buffer.
TEST_F(SysInfoTest, HandEditedValuesOfTheWrongFormGiveDefaults) {
  WriteWholeFile(SettingsPath(),
                 "[Options]\n"
                 "Text=hello\n"
                 "Trailing=12abc\n"
                 "Hex=0x10\n"
                 "Huge=99999999999\n"
                 "Empty=\n"
                 "Float=1.5\n"
                 "Long=" + std::string(300, 'L') + "\n"
                 "BadHex=0g1b\n"
                 "ShortHex=0a1b\n"
                 "OddHex=0a1\n"
                 "Good=42\n"
                 "Quoted=\"17\"\n");
  for (const char* key : {"Text", "Trailing", "Hex", "Huge", "Empty", "Float", "Long", "BadHex"})
    EXPECT_EQ(store.GetProfileInt("Options", key, -7), -7) << key;
  EXPECT_EQ(store.GetProfileInt("Options", "Good", -7), 42);
  EXPECT_EQ(store.GetProfileInt("Options", "Quoted", -7), 17);

  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(store.GetProfileString("Options", "Long", "dflt", buffer, 10), 4);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(buffer[10], 'x');

  const std::array<uint8_t, 3> def = {1, 2, 3};
  for (const char* key : {"BadHex", "ShortHex", "OddHex", "Text", "Long", "Empty"}) {
    std::array<uint8_t, 3> out = {};
    EXPECT_EQ(store.GetProfileBinary("Options", key, def.data(), out.data(), 3), 3) << key;
    EXPECT_EQ(out, def) << key;
  }
}

TEST_F(SysInfoTest, IntegerOfATextValueIsTheDefaultButEveryValueReadsAsText) {
  ASSERT_TRUE(store.WriteProfileString("S", "name", "Piano"));
  ASSERT_TRUE(store.WriteProfileInt("S", "count", -12));
  EXPECT_EQ(store.GetProfileInt("S", "name", 5), 5);
  EXPECT_EQ(store.GetProfileString("S", "count", ""), "-12");
}

TEST_F(SysInfoTest, TextsRoundTripExactly) {
  const char* texts[] = {"", " lead and trail ", "\"in quotes\"", "'single'", "a;b=c",
                         "RGB(1,2,3)"};
  for (const char* text : texts) {
    ASSERT_TRUE(store.WriteProfileString("T", "v", text));
    char buffer[64];
    EXPECT_EQ(store.GetProfileString("T", "v", "dflt", buffer, sizeof buffer),
              static_cast<int32_t>(std::strlen(text)));
    EXPECT_STREQ(buffer, text);
  }
  EXPECT_FALSE(store.WriteProfileString("T", "v", "two\nlines"));
}

TEST_F(SysInfoTest, BinaryRoundTripAndSizeCheck) {
  const uint8_t placement[44] = {1, 2, 3, 250, 0, 0, 7};
  ASSERT_TRUE(store.WriteProfileBinary("Placement", "Main", placement, sizeof placement));
  uint8_t back[44] = {};
  EXPECT_EQ(store.GetProfileBinary("Placement", "Main", nullptr, back, 44), 44);
  EXPECT_EQ(std::memcmp(back, placement, 44), 0);
  uint8_t other[40] = {};
  EXPECT_EQ(store.GetProfileBinary("Placement", "Main", nullptr, other, 40), 0);
  // Larger values than the ini-file hex calls allow are fine in the settings file.
  uint8_t big[200] = {9};
  ASSERT_TRUE(store.WriteProfileBinary("Toolbars", "State", big, sizeof big));
  uint8_t bigBack[200] = {};
  EXPECT_EQ(store.GetProfileBinary("Toolbars", "State", nullptr, bigBack, 200), 200);
  EXPECT_EQ(bigBack[0], 9);
}

TEST_F(SysInfoTest, NullTextDeletesValueAndNullKeyDeletesSection) {
  ASSERT_TRUE(store.WriteProfileInt("Queue", "a", 1));
  ASSERT_TRUE(store.WriteProfileInt("Queue", "b", 2));
  ASSERT_TRUE(store.WriteProfileInt("Keep", "c", 3));
  ASSERT_TRUE(store.WriteProfileString("Queue", "a", nullptr));
  EXPECT_EQ(store.GetProfileInt("Queue", "a", -1), -1);
  EXPECT_EQ(store.GetProfileInt("Queue", "b", -1), 2);
  ASSERT_TRUE(store.WriteProfileString("QUEUE", nullptr, nullptr));
  EXPECT_EQ(store.GetProfileInt("Queue", "b", -1), -1);
  EXPECT_EQ(ReadWholeFile(SettingsPath()), "[Keep]\nc=3\n");
  // The product key's own values cannot go through a missing section name.
  EXPECT_FALSE(store.WriteProfileString(nullptr, nullptr, nullptr));
  EXPECT_FALSE(store.WriteProfileString("", nullptr, nullptr));
}

TEST_F(SysInfoTest, NullOrEmptySectionIsTheProductKey) {
  std::unique_ptr<TKey> key = store.OpenSectionKey(nullptr);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->IsProductKey());
  ASSERT_TRUE(store.WriteProfileInt("", "Top", 5));
  ASSERT_TRUE(store.WriteProfileInt("Options", "Top", 6));
  EXPECT_EQ(store.GetProfileInt(nullptr, "top", 0), 5);
  EXPECT_EQ(ReadWholeFile(SettingsPath()), "Top=5\n\n[Options]\nTop=6\n");
}

TEST_F(SysInfoTest, ReadsNeverCreateTheFile) {
  EXPECT_EQ(store.GetProfileInt("Options", "Zoom", 3), 3);
  ASSERT_NE(store.OpenSectionKey("Options"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(SysInfoTest, IniModeUsesThePrivateProfileRules) {
  std::string ini = folder / "kvt2.ini";
  WriteWholeFile(ini, "[Options]\nCount=12 items\nName=\"x\"\nHex=0a1b\n");
  store.SetRegistryMode(false);
  store.SetProfileLocation("Tarlowmede Software", ini.c_str());
  EXPECT_FALSE(store.IsRegistryMode());
  EXPECT_EQ(store.GetProfilePath(), ini);
  EXPECT_EQ(store.OpenProductKey(), nullptr);
  EXPECT_EQ(store.OpenSectionKey("Options"), nullptr);
  EXPECT_EQ(store.GetProfileInt("Options", "Count", 0), 12);  // leading number
  EXPECT_EQ(store.GetProfileString("Options", "Name", ""), "x");
  uint8_t bytes[2] = {};
  EXPECT_EQ(store.GetProfileBinary("Options", "Hex", nullptr, bytes, 2), 2);
  EXPECT_EQ(bytes[1], 0x1B);
  ASSERT_TRUE(store.WriteProfileString("Options", "Name", "'y'"));  // stored as given
  EXPECT_EQ(store.GetProfileString("Options", "Name", ""), "y");
  ASSERT_TRUE(store.WriteProfileInt("Options", "N", -3));
  EXPECT_TRUE(store.WriteProfileString(nullptr, nullptr, nullptr));  // the flush
  EXPECT_EQ(ReadWholeFile(ini), "[Options]\nCount=12 items\nName='y'\nHex=0a1b\nN=-3\n");
}

// The real file operations with the file's final flush failing on request.
class TFlushFailingIo : public TPosixIniFileIo {
public:
  bool fail = false;

protected:
  bool WriteContent(TKRVStream& file, std::string_view content) override {
    const bool written = TPosixIniFileIo::WriteContent(file, content);
    if (fail) file.SetFailed();
    return written;
  }
};

TEST_F(SysInfoTest, FailedWriteKeepsTheOldSettingsFile) {
  TFlushFailingIo io;
  TSysInfo failing(&io);
  failing.SetProfileLocation("Tarlowmede Software", "Test Product");
  ASSERT_TRUE(failing.WriteProfileInt("Options", "Zoom", 100));
  std::string before = ReadWholeFile(SettingsPath());
  io.fail = true;
  EXPECT_FALSE(failing.WriteProfileInt("Options", "Zoom", 200));
  EXPECT_FALSE(failing.WriteProfileString("Options", nullptr, nullptr));
  EXPECT_EQ(ReadWholeFile(SettingsPath()), before);
  EXPECT_EQ(failing.GetProfileInt("Options", "Zoom", 0), 100);
  EXPECT_EQ(testing::CountEntries(folder.Path() + "/Tarlowmede Software"), 1);
}

TEST_F(SysInfoTest, SystemQueriesAnswerForThisPlatform) {
  EXPECT_TRUE(store.IsNT());
  EXPECT_TRUE(store.IsWin4OrLater());
  EXPECT_TRUE(store.HasNewShell());
  EXPECT_TRUE(store.IsWin2000OrLater());
  EXPECT_TRUE(store.IsVistaOrLater());
  EXPECT_FALSE(store.IsWin95Family());
  EXPECT_FALSE(store.IsWin98OrLater());
  EXPECT_FALSE(store.IsWin32s());
  EXPECT_FALSE(store.IsElevationLimited());
  EXPECT_EQ(store.IsAdminUser(), ::geteuid() == 0);
}

}  // namespace
}  // namespace kvt
