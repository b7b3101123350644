#include "utils/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

TEST(MD5Test, Rfc1321TestSuite) {
  const struct {
    const char* text;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) {
    char hex[33];
    MD5TextHex(c.text, hex);
    EXPECT_STREQ(hex, c.digest) << '"' << c.text << '"';
  }
}

TEST(MD5Test, FeedingInPiecesGivesTheSameDigest) {
  // Pieces that straddle the 64-byte block and the 56-byte padding limit.
  std::string text(200, 'q');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  uint8_t whole[16];
  MD5Text(text.c_str(), whole);
  for (size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u}) {
    TMD5Context context;
    MD5Init(context);
    MD5Update(context, text.data(), cut);
    MD5Update(context, text.data() + cut, text.size() - cut);
    uint8_t pieces[16];
    MD5Final(pieces, context);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pieces), 16),
              std::string(reinterpret_cast<char*>(whole), 16))
        << "cut at " << cut;
  }
}

TEST(MD5Test, FinalWipesTheContext) {
  TMD5Context context;
  MD5Init(context);
  MD5Update(context, "abc", 3);
  uint8_t digest[16];
  MD5Final(digest, context);
  EXPECT_EQ(context.state[0], 0u);
  EXPECT_EQ(context.bitCount, 0u);
}

TEST(MD5Test, SixBitEncoderPacksTheLeadingTwoBitsFirst) {
  uint8_t zeros[16] = {};
  uint8_t ones[16];
  for (uint8_t& b : ones) b = 0xFF;
  char buffer[23];
  EncodeDigest64(zeros, buffer);
  EXPECT_STREQ(buffer, std::string(22, '0').c_str());
  EncodeDigest64(ones, buffer);
  EXPECT_STREQ(buffer, ("3" + std::string(21, '_')).c_str());
  // 0x40 in the first byte: the 2-bit group is 01, the next 6-bit group 000000.
  uint8_t first[16] = {0x40};
  EncodeDigest64(first, buffer);
  EXPECT_EQ(std::string(buffer, 2), "10");
}

TEST(MD5Test, TextBase64IsTheEncodedDigest) {
  uint8_t digest[16];
  MD5Text("abc", digest);
  char direct[23];
  EncodeDigest64(digest, direct);
  char viaText[23];
  MD5TextBase64("abc", viaText);
  EXPECT_STREQ(direct, viaText);
  EXPECT_EQ(std::string(viaText).size(), 22u);
}

TEST(MD5Test, HexEncoderWritesTwoDigitsPerByte) {
  uint8_t digest[16] = {0x00, 0x0f, 0xa0, 0xff};
  char hex[33];
  DigestToHex(digest, hex);
  EXPECT_EQ(std::string(hex).substr(0, 8), "000fa0ff");
}

}  // namespace
}  // namespace kvt

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kvt {
namespace {

TEST(MD5FileTest, FileDigestEqualsTextDigestAndMissingFileFails) {
  char folder[] = "/tmp/kvt-md5-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string path = std::string(folder) + "/data.txt";
  std::string content(3000, 'm');  // spans several 1024-byte blocks
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
  char fromFile[33];
  char fromText[33];
  EXPECT_TRUE(MD5FileHex(path.c_str(), fromFile));
  MD5TextHex(content.c_str(), fromText);
  EXPECT_STREQ(fromFile, fromText);
  uint8_t digest[16];
  EXPECT_FALSE(MD5File((std::string(folder) + "/missing").c_str(), digest));
  unlink(path.c_str());
  rmdir(folder);
}

}  // namespace
}  // namespace kvt
