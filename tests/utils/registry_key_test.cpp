#include "utils/registry_key.h"

#include "tests/utils/ini_test_env.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

class RegistryKeyTest : public ::testing::Test {
protected:
  std::shared_ptr<TIniProfile> Profile() {
    return std::make_shared<TIniProfile>(path, DefaultIniFileIo(), true);
  }

  TTempFolder folder;
  std::string path = folder / "Company/Product.ini";
};

TEST_F(RegistryKeyTest, KeyThatIsNotOpenFailsQuietly) {
  TKey key;
  char buffer[8] = "xxxxxxx";
  uint8_t bytes[2] = {};
  const uint8_t def[2] = {7, 8};
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.QueryDword(42, "v"), 42);
  EXPECT_EQ(key.QueryString(buffer, sizeof buffer, "dflt", "v"), 4);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(key.QueryBinary(bytes, 2, def, "v"), 2);
  EXPECT_EQ(bytes[1], 8);
  EXPECT_EQ(key.QueryBinary(bytes, 2, nullptr, "v"), 0);
  EXPECT_FALSE(key.SetDword("v", 1));
  EXPECT_FALSE(key.SetString("v", "x"));
  EXPECT_FALSE(key.SetBinary("v", def, 2));
  EXPECT_FALSE(key.DeleteValue("v"));
  EXPECT_FALSE(key.DeleteSubKey("v"));
  EXPECT_FALSE(TKey(key, "Sub", TKey::kCreate).IsOpen());
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RegistryKeyTest, ReadOnlyOpenNeedsTheSectionAndRefusesWrites) {
  TKey product(Profile(), TKey::kCreate);
  EXPECT_FALSE(TKey(product, "Options").IsOpen());
  TKey options(product, "Options", TKey::kCreate);
  ASSERT_TRUE(options.SetDword("Zoom", 3));
  TKey reader(product, "OPTIONS");
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.QueryDword(0, "zoom"), 3);
  EXPECT_FALSE(reader.SetDword("Zoom", 4));
  EXPECT_FALSE(reader.DeleteValue("Zoom"));
  EXPECT_EQ(options.QueryDword(0, "Zoom"), 3);
  // Sections have no subkeys.
  EXPECT_FALSE(TKey(options, "Deeper", TKey::kCreate).IsOpen());
}

TEST_F(RegistryKeyTest, ValuesRoundTripByType) {
  TKey key(TKey(Profile(), TKey::kCreate), "Types", TKey::kCreate);
  const int32_t dwords[] = {0, 1, -1, INT32_MAX, INT32_MIN};
  for (int32_t value : dwords) {
    ASSERT_TRUE(key.SetDword("d", value));
    EXPECT_EQ(key.QueryDword(12345, "d"), value);
  }
  const char* texts[] = {"", "plain", " padded ", "\"quoted\"", "'single'", "a=b;c", "[x]",
                         "\xC3\xA9t\xC3\xA9"};
  for (const char* text : texts) {
    ASSERT_TRUE(key.SetString("s", text)) << text;
    EXPECT_EQ(key.QueryString("dflt", "s"), text);
  }
  const uint8_t bytes[] = {0xDE, 0xAD, 0x00, 0x01, 0xFF};
  ASSERT_TRUE(key.SetBinary("b", bytes, 5));
  uint8_t back[5] = {};
  EXPECT_EQ(key.QueryBinary(back, 5, nullptr, "b"), 5);
  EXPECT_EQ(std::memcmp(back, bytes, 5), 0);
  EXPECT_EQ(ReadWholeFile(path), "[Types]\nd=-2147483648\ns=\xC3\xA9t\xC3\xA9\nb=dead0001ff\n");
}

TEST_F(RegistryKeyTest, BinaryOfAnotherSizeGivesTheDefault) {
  TKey key(TKey(Profile(), TKey::kCreate), "B", TKey::kCreate);
  const uint8_t four[] = {1, 2, 3, 4};
  ASSERT_TRUE(key.SetBinary("v", four, 4));
  uint8_t buffer[8] = {};
  const uint8_t def[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(key.QueryBinary(buffer, 8, def, "v"), 8);
  EXPECT_EQ(buffer[0], 9);
  EXPECT_EQ(key.QueryBinary(buffer, 2, nullptr, "v"), 0);
}

TEST_F(RegistryKeyTest, StringThatDoesNotFitGivesTheDefault) {
  TKey key(TKey(Profile(), TKey::kCreate), "S", TKey::kCreate);
  ASSERT_TRUE(key.SetString("v", "0123456789"));
  char buffer[11];
  EXPECT_EQ(key.QueryString(buffer, sizeof buffer, "d", "v"), 10);
  EXPECT_STREQ(buffer, "0123456789");
  char small[10];
  EXPECT_EQ(key.QueryString(small, sizeof small, "d", "v"), 1);
  EXPECT_STREQ(small, "d");
}

TEST_F(RegistryKeyTest, TextWithLineBreaksIsRefused) {
  TKey key(TKey(Profile(), TKey::kCreate), "S", TKey::kCreate);
  ASSERT_TRUE(key.SetString("v", "kept"));
  EXPECT_FALSE(key.SetString("v", "two\nlines"));
  EXPECT_EQ(key.QueryString("", "v"), "kept");
}

TEST_F(RegistryKeyTest, DeleteSubKeyOnlyFromTheProductKey) {
  TKey product(Profile(), TKey::kCreate);
  TKey a(product, "A", TKey::kCreate);
  ASSERT_TRUE(a.SetDword("x", 1));
  ASSERT_TRUE(a.SetDword("y", 2));
  EXPECT_FALSE(a.DeleteSubKey("A"));
  ASSERT_TRUE(a.DeleteValue("x"));
  EXPECT_FALSE(a.HasValue("x"));
  EXPECT_TRUE(a.HasValue("y"));
  ASSERT_TRUE(product.DeleteSubKey("a"));
  EXPECT_FALSE(TKey(product, "A").IsOpen());
  EXPECT_EQ(a.QueryDword(-1, "y"), -1);
}

}  // namespace
}  // namespace kvt
