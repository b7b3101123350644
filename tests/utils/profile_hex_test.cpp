#include "utils/profile_hex.h"

#include "tests/utils/ini_test_env.h"
#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>
#include <string>

namespace kvt {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

class ProfileHexTest : public ::testing::Test {
protected:
  TTempFolder folder;
  std::string path = folder / "hex.ini";
};

TEST_F(ProfileHexTest, WritesLowerCaseDigitsAndReadsThemBack) {
  const uint8_t bytes[] = {0x00, 0x0A, 0xFF, 0x7b};
  ASSERT_TRUE(WriteProfileHex("S", "v", bytes, 4, path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), "[S]\nv=000aff7b\n");
  uint8_t back[4] = {};
  EXPECT_EQ(ReadProfileHex("S", "v", nullptr, back, 4, path.c_str()), 4);
  EXPECT_EQ(std::memcmp(back, bytes, 4), 0);
}

// Stored texts against a reader of a given size: the bytes, or the default 'DD' bytes.
TEST_F(ProfileHexTest, StoredTextOfWrongFormGivesTheDefault) {
  struct Case {
    const char* stored;  // null: no value
    int32_t size;
    std::vector<uint8_t> expected;
  } cases[] = {
      {"0a1b", 2, {0x0A, 0x1B}},
      {"0A1B", 2, {0x0A, 0x1B}},       // either case
      {"\"0a1b\"", 2, {0x0A, 0x1B}},   // quotes stripped by the reader
      {"0a1b", 3, {0xDD, 0xDD, 0xDD}}, // wrong length
      {"0a1", 2, {0xDD, 0xDD}},
      {"0g1b", 2, {0xDD, 0xDD}},       // bad digit, right length
      {" a1b", 2, {0xDD, 0xDD}},       // what "%x" would have taken
      {"+a1b", 2, {0xDD, 0xDD}},
      {"0x1b", 2, {0xDD, 0xDD}},
      {"", 1, {0xDD}},
      {nullptr, 1, {0xDD}},            // missing: not the reader's "00" stand-in
  };
  for (const Case& c : cases) {
    WriteWholeFile(path, c.stored != nullptr ? std::string("[S]\nv=") + c.stored + "\n" : "");
    std::array<uint8_t, 4> def = {0xDD, 0xDD, 0xDD, 0xDD};
    std::array<uint8_t, 4> buffer = {0x11, 0x11, 0x11, 0x11};
    EXPECT_EQ(ReadProfileHex("S", "v", def.data(), buffer.data(), c.size, path.c_str()), c.size)
        << (c.stored ? c.stored : "(none)");
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + c.size), c.expected)
        << (c.stored ? c.stored : "(none)");
    EXPECT_EQ(buffer[static_cast<size_t>(c.size)], 0x11);  // nothing past size
  }
}

TEST_F(ProfileHexTest, WithoutDefaultBadTextGivesZeroAndLeavesTheBuffer) {
  WriteWholeFile(path, "[S]\nv=zz\n");
  uint8_t buffer[1] = {0x42};
  EXPECT_EQ(ReadProfileHex("S", "v", nullptr, buffer, 1, path.c_str()), 0);
  EXPECT_EQ(buffer[0], 0x42);
}

TEST_F(ProfileHexTest, TextBeyondTheReadersLimitGivesTheDefault) {
  // 64 bytes' worth of digits: longer than the 127 characters the reader takes.
  WriteWholeFile(path, "[S]\nv=" + std::string(128, 'a') + "\n");
  uint8_t buffer[62];
  uint8_t def[62] = {};
  EXPECT_EQ(ReadProfileHex("S", "v", def, buffer, 62, path.c_str()), 62);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(ProfileHexTest, NullKeyNeverDeletesTheSection) {
  WriteWholeFile(path, "[S]\nkeep=1\n");
  const uint8_t byte = 1;
  EXPECT_FALSE(WriteProfileHex("S", nullptr, &byte, 1, path.c_str()));
  EXPECT_EQ(ReadWholeFile(path), "[S]\nkeep=1\n");
}

TEST_F(ProfileHexTest, SizeOf63IsABrokenPrecondition) {
  uint8_t bytes[63] = {};
  EXPECT_THROW(WriteProfileHex("S", "v", bytes, 63, path.c_str()), TPreconditionError);
  EXPECT_THROW(ReadProfileHex("S", "v", nullptr, bytes, 63, path.c_str()), TPreconditionError);
  EXPECT_NO_THROW(WriteProfileHex("S", "v", bytes, 62, path.c_str()));
}

TEST(ProfileHexCodecTest, DecodeLeavesBytesAloneOnAnyFault) {
  uint8_t bytes[2] = {1, 2};
  EXPECT_FALSE(DecodeProfileHex("0a1z", bytes, 2));
  EXPECT_EQ(bytes[0], 1);
  EXPECT_TRUE(DecodeProfileHex("", bytes, 0));
  EXPECT_EQ(EncodeProfileHex(bytes, 2), "0102");
}

}  // namespace
}  // namespace kvt
