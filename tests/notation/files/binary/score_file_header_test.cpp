#include "notation/files/binary/score_file_header.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/notation/layout_bytes.h"
#include "tests/utils/byte_vector_stream.h"
#include "tests/utils/temp_folder.h"

namespace kvt {
namespace {

using test::TLayoutBytes;

struct HeaderCase {
  const char* name;
  std::string bytes;
  bool readable;
  TLoadStatus status;
};
void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

std::string WithHeader(int version, const char* signature = "[Tarlowmede Sorbyle]", int reserved = 0,
                       const char* product = "[Tarlowmede Razadove]") {
  return TLayoutBytes().Header(version, signature, reserved, product).Bytes();
}

class HeaderChecks : public testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderChecks, StatusFollowsTheFields) {
  const HeaderCase& c = GetParam();
  TByteVectorStream stream(c.bytes);
  TScoreFileHeader header;
  EXPECT_EQ(ReadScoreHeader(stream, header), c.readable);
  EXPECT_EQ(header.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HeaderChecks,
    testing::Values(
        HeaderCase{"Current", WithHeader(36), true, TLoadStatus::kLoaded},
        HeaderCase{"FirstTextVersion", WithHeader(35), true, TLoadStatus::kLoaded},
        HeaderCase{"Version33", WithHeader(33), true, TLoadStatus::kLoaded},
        HeaderCase{"Version32IsOlder", WithHeader(32), true, TLoadStatus::kOlder},
        HeaderCase{"Version16IsOlder", WithHeader(16), true, TLoadStatus::kOlder},
        HeaderCase{"Version37TooNew", WithHeader(37), false, TLoadStatus::kTooNew},
        HeaderCase{"Version500TooNew", WithHeader(500), false, TLoadStatus::kTooNew},
        HeaderCase{"OtherSignatureAnyCase", WithHeader(36, "[TARLOWMEDE SOFTWARE]"), true,
                   TLoadStatus::kLoaded},
        HeaderCase{"OtherSignature", WithHeader(36, "[Tarlowmede Software]"), true, TLoadStatus::kLoaded},
        HeaderCase{"SignatureCaseCounts", WithHeader(36, "[tarlowmede sorbyle]"), false,
                   TLoadStatus::kNotScore},
        HeaderCase{"ForeignSignature", WithHeader(36, "[KVZ]"), false, TLoadStatus::kNotScore},
        HeaderCase{"ReservedAboveZero", WithHeader(36, "[Tarlowmede Sorbyle]", 1), false,
                   TLoadStatus::kNewerApp},
        HeaderCase{"ReservedNegativeIsFine", WithHeader(36, "[Tarlowmede Sorbyle]", 0xFFFF), true,
                   TLoadStatus::kLoaded},
        HeaderCase{"ProductWithoutBrackets",
                   WithHeader(36, "[Tarlowmede Sorbyle]", 0, "Tarlowmede Razadove"), false,
                   TLoadStatus::kNotScore},
        HeaderCase{"ProductTooLong",
                   WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[Tarlowmede Razadove and more...]"),
                   false, TLoadStatus::kNotScore},
        HeaderCase{"ProductTooShort", WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[]"), false,
                   TLoadStatus::kNotScore},
        HeaderCase{"ProductShortName", WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[Tarlowmede]"),
                   true, TLoadStatus::kLoaded},
        HeaderCase{"ProductOtherSpelling",
                   WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[Tarlowmede Vezeroza]"), true,
                   TLoadStatus::kLoaded},
        HeaderCase{"ProductCaseCounts",
                   WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[tarlowmede razadove]"), false,
                   TLoadStatus::kRefused},
        HeaderCase{"ProductForeign", WithHeader(36, "[Tarlowmede Sorbyle]", 0, "[Other Maker]"),
                   false, TLoadStatus::kRefused},
        HeaderCase{"Empty", std::string(), false, TLoadStatus::kNotScore},
        HeaderCase{"CutInTheFields", WithHeader(36).substr(0, 60), false, TLoadStatus::kNotScore}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(ScoreFileHeader, KeepsTheFieldsOfAReadableHeader) {
  std::string bytes = TLayoutBytes()
                          .Str("[Tarlowmede Sorbyle]")
                          .U16(0)
                          .Str("[Tarlowmede Razadove]")
                          .U16(0x024B)
                          .U16(1)
                          .U16(0)
                          .Str("N/A")
                          .Str(std::string(100, 'c'))
                          .U16(0x3A21)
                          .U32(65001)
                          .U16(0)
                          .U16(36)
                          .Bytes();
  TByteVectorStream stream(bytes);
  TScoreFileHeader header;
  ASSERT_TRUE(ReadScoreHeader(stream, header));
  EXPECT_EQ(header.productName, "Tarlowmede Razadove");
  EXPECT_EQ(header.writerVersion, 0x024B);
  EXPECT_EQ(header.releaseKind, 1);
  EXPECT_EQ(header.fileCode, std::string(63, 'c'));
  EXPECT_EQ(header.date, 0x3A21);
  EXPECT_EQ(header.codePage, 65001);
  EXPECT_EQ(header.formatVersion, 36);
}

TEST(ScoreFileHeader, CodePageBeforeVersion25IsTheAnsiOne) {
  std::string bytes = TLayoutBytes().Header(24).Bytes();
  // The header helper writes 1252; put another code page into field 10.
  std::string changed = bytes;
  const size_t codePageAt = changed.size() - 8;
  changed[codePageAt] = static_cast<char>(0xE9);
  changed[codePageAt + 1] = static_cast<char>(0xFD);
  TByteVectorStream stream(changed);
  TScoreFileHeader header;
  ASSERT_TRUE(ReadScoreHeader(stream, header));
  EXPECT_EQ(header.codePage, kAnsiCodePage);
}

TEST(ScoreFileHeader, TooNewShowsTheWriterVersion) {
  TByteVectorStream stream(WithHeader(37));
  TScoreFileHeader header;
  EXPECT_FALSE(ReadScoreHeader(stream, header));
  EXPECT_EQ(header.status, TLoadStatus::kTooNew);
  EXPECT_EQ(header.GetWriterVersionText(), "2.75");
}

TEST(ScoreFileHeader, WrittenHeaderReadsBack) {
  TByteVectorStream stream;
  TScoreHeaderFields fields;
  fields.fileCode = "abcdefghijklmnopqrstuv";
  fields.date = 0x5A42;
  WriteScoreHeader(stream, fields);
  EXPECT_EQ(stream.Text().substr(0, 21), std::string("[Tarlowmede Sorbyle]") + '\0');
  stream.Rewind();
  TScoreFileHeader header;
  ASSERT_TRUE(ReadScoreHeader(stream, header));
  EXPECT_EQ(header.formatVersion, kScoreFormatVersion);
  EXPECT_EQ(header.fileCode, fields.fileCode);
  EXPECT_EQ(header.date, 0x5A42);
  EXPECT_EQ(stream.Tell(), stream.Size());
}

struct SignatureCase {
  std::string first;
  bool binary;
};

TEST(ScoreFileHeader, IsBinaryScoreFileByTheFirstString) {
  TTempFolder folder;
  const SignatureCase cases[] = {
      {std::string("[Tarlowmede Sorbyle]") + '\0' + "rest", true},
      {std::string("[Tarlowmede Software]") + '\0', true},
      {std::string("[Tarlowmede]") + '\0', true},
      {std::string("[KVZ]") + '\0' + "x\x9c", true},
      {std::string("[TARLOWMEDE SORBYLE]") + '\0', false},
      {"!TarlowmedeRazadove(2.75)\r\n", false},
      {std::string(300, 'x'), false},
      {"", false},
  };
  for (const SignatureCase& c : cases) {
    const std::string path = folder / "file.kvt";
    TTempFolder::WriteFile(path, c.first);
    EXPECT_EQ(IsBinaryScoreFile(path.c_str()), c.binary) << c.first.substr(0, 24);
  }
  EXPECT_FALSE(IsBinaryScoreFile((folder / "missing.kvt").c_str()));
}

}  // namespace
}  // namespace kvt
