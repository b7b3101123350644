#include "utils/zlib_in_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/utils/test_memory_stream.h"
#include "utils/file_stream.h"
#include "tests/utils/zlib_test_support.h"

namespace kvt {
namespace {

using test::Bytes;
using test::TestMemoryStream;
using test::ToBytes;

constexpr int kPlain = TKRVZLibInStream::kModePlain;
constexpr int kTagged = TKRVZLibInStream::kModeTagged;
constexpr int kGzip = TKRVZLibInStream::kModeGzip;

// Reads to the end through Read in pieces of `piece` bytes.
Bytes ReadAll(TKRVZLibInStream& s, int piece) {
  Bytes out;
  std::vector<uint8_t> buffer(static_cast<size_t>(piece));
  for (;;) {
    int n = s.Read(buffer.data(), piece);
    out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    if (n < piece) return out;
  }
}

// Reads to the end through GetByte; the failing call's 0 is not part of the data.
Bytes GetAll(TKRVZLibInStream& s) {
  Bytes out;
  for (;;) {
    int b = s.GetByte();
    if (s.IsError()) return out;
    out.push_back(static_cast<uint8_t>(b));
  }
}

bool IsPrefix(const Bytes& prefix, const Bytes& whole) {
  return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

struct FramingCase {
  const char* name;
  int mode;
  Bytes stored;
  Bytes expected;
  bool compressed;
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }

std::vector<FramingCase> FramingCases() {
  const Bytes text = test::ScoreText(50000);
  const Bytes shortText = ToBytes("|Note|Pos:-3|Dur:4|Tie:0\r\n");
  const Bytes tagged = test::TaggedStream(text);
  const Bytes gzip = test::GzipStream(text);
  const Bytes zlibOnly = test::DeflateWith(text, 15);
  // The tag and four more bytes: 10 in all, too few for the tag test.
  const Bytes tinyTagged = {'[', 'K', 'V', 'Z', ']', 0, 0x78, 0xDA, 0x03, 0x00};
  // Five bytes that begin with the gzip magic: too few for the gzip test.
  const Bytes tinyGzip = {0x1F, 0x8B, 0x08, 0x00, 0x00};
  return {
      {"TaggedInTaggedMode", kTagged, tagged, text, true},
      {"GzipInTaggedMode", kTagged, gzip, text, true},
      {"PlainInTaggedMode", kTagged, text, text, false},
      {"ShortPlainInTaggedMode", kTagged, shortText, shortText, false},
      {"TenByteTaggedIsPlain", kTagged, tinyTagged, tinyTagged, false},
      {"EmptyInTaggedMode", kTagged, {}, {}, false},
      {"GzipInGzipMode", kGzip, gzip, text, true},
      {"TaggedInGzipModeIsPlain", kGzip, tagged, tagged, false},
      {"BareZlibInGzipModeIsPlain", kGzip, zlibOnly, zlibOnly, false},
      {"FiveByteGzipMagicIsPlain", kGzip, tinyGzip, tinyGzip, false},
      {"PlainInGzipMode", kGzip, text, text, false},
      {"GzipInPlainMode", kPlain, gzip, gzip, false},
      {"TaggedInPlainMode", kPlain, tagged, tagged, false},
  };
}

class ZLibInFramingTest : public testing::TestWithParam<FramingCase> {};

TEST_P(ZLibInFramingTest, ReadDeliversTheDecodedData) {
  const FramingCase& c = GetParam();
  // Odd piece sizes cross the 16384-byte blocks at changing places.
  for (int piece : {1, 777, 16384, 100000}) {
    TestMemoryStream inner(c.stored);
    TKRVZLibInStream s(c.mode, &inner, false);
    EXPECT_EQ(ReadAll(s, piece), c.expected) << "piece " << piece;
    EXPECT_FALSE(s.IsError()) << "the end of the data is no error for Read";
    EXPECT_EQ(s.IsCompressed(), c.compressed);
    EXPECT_EQ(s.Tell(), static_cast<int32_t>(c.expected.size()));
  }
}

TEST_P(ZLibInFramingTest, GetByteDeliversTheDecodedData) {
  const FramingCase& c = GetParam();
  TestMemoryStream inner(c.stored);
  TKRVZLibInStream s(c.mode, &inner, false);
  EXPECT_EQ(GetAll(s), c.expected);
  EXPECT_TRUE(s.IsError()) << "reading past the end through GetByte sets the error flag";
  EXPECT_FALSE(s.IsFailed()) << "the end of the data is not a fault";
  EXPECT_EQ(s.GetByte(), 0);
}

TEST_P(ZLibInFramingTest, InnerStreamDeliveringSmallPiecesChangesNothing) {
  const FramingCase& c = GetParam();
  TestMemoryStream inner(c.stored);
  inner.readPiece = 3;
  TKRVZLibInStream s(c.mode, &inner, false);
  EXPECT_EQ(ReadAll(s, 5000), c.expected);
  EXPECT_EQ(s.IsCompressed(), c.compressed);
  EXPECT_FALSE(s.IsFailed());
}

INSTANTIATE_TEST_SUITE_P(Framings, ZLibInFramingTest, testing::ValuesIn(FramingCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Damaged compressed data: every case must report a fault, through Read and through GetByte
// alike. Where the damage is a cut or sits in a header or trailer, what is delivered before it
// is a prefix of the original; damage inside the data can only be caught by the checksum.
struct DamageCase {
  const char* name;
  int mode;
  Bytes stored;
  bool prefixHolds = true;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

std::vector<DamageCase> DamageCases() {
  const Bytes text = test::ScoreText(100000);
  const Bytes noise = test::NoiseBytes(40000);
  const Bytes tagged = test::TaggedStream(text);
  const Bytes gzip = test::GzipStream(text);
  const Bytes taggedNoise = test::TaggedStream(noise);
  auto cut = [](const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + n); };
  auto flip = [](Bytes b, size_t at) {
    b[at] ^= 0x55;
    return b;
  };
  return {
      {"TaggedCutInTheMiddle", kTagged, cut(tagged, tagged.size() / 2)},
      {"TaggedCutBeforeTheChecksum", kTagged, cut(tagged, tagged.size() - 4)},
      {"TaggedCutAfterTheHeader", kTagged, cut(tagged, 11)},
      {"IncompressibleCutInTheMiddle", kTagged, cut(taggedNoise, 20000)},
      {"GzipCutInTheMiddle", kGzip, cut(gzip, gzip.size() / 2)},
      {"GzipCutInTheTrailer", kGzip, cut(gzip, gzip.size() - 3)},
      {"GzipCutInTheHeader", kGzip, cut(gzip, 8)},
      {"GzipInTaggedModeCut", kTagged, cut(gzip, gzip.size() - 1)},
      {"TaggedWrongChecksum", kTagged, flip(tagged, tagged.size() - 1)},
      {"GzipWrongCrc", kGzip, flip(gzip, gzip.size() - 6)},
      {"GzipWrongLength", kGzip, flip(gzip, gzip.size() - 2)},
      {"TaggedBadZlibHeader", kTagged, flip(tagged, 6)},
      {"TaggedCorruptStoredBody", kTagged, flip(taggedNoise, 5000), false},
      {"TaggedCorruptCodedBody", kTagged, flip(tagged, tagged.size() / 3), false},
      {"GzipMagicThenGarbage", kGzip, {0x1F, 0x8B, 0x01, 0x02, 0x03, 0x04, 0x05}},
  };
}

class ZLibInDamageTest : public testing::TestWithParam<DamageCase> {};

TEST_P(ZLibInDamageTest, ReadReportsAFaultAfterTheSoundPrefix) {
  const DamageCase& c = GetParam();
  const Bytes original = test::ScoreText(100000);
  const Bytes noise = test::NoiseBytes(40000);
  TestMemoryStream inner(c.stored);
  TKRVZLibInStream s(c.mode, &inner, false);
  Bytes got = ReadAll(s, 1000);
  if (c.prefixHolds) {
    EXPECT_TRUE(IsPrefix(got, original) || IsPrefix(got, noise));
  }
  EXPECT_TRUE(s.IsError());
  EXPECT_TRUE(s.IsFailed());
  uint8_t more = 0;
  EXPECT_EQ(s.Read(&more, 1), 0);
}

TEST_P(ZLibInDamageTest, GetByteReportsAFaultAfterTheSoundPrefix) {
  const DamageCase& c = GetParam();
  const Bytes original = test::ScoreText(100000);
  const Bytes noise = test::NoiseBytes(40000);
  TestMemoryStream inner(c.stored);
  TKRVZLibInStream s(c.mode, &inner, false);
  Bytes got = GetAll(s);
  if (c.prefixHolds) {
    EXPECT_TRUE(IsPrefix(got, original) || IsPrefix(got, noise));
  }
  EXPECT_TRUE(s.IsFailed());
}

INSTANTIATE_TEST_SUITE_P(Damage, ZLibInDamageTest, testing::ValuesIn(DamageCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZLibInStreamTest, TruncatedStreamDeliversTheDecodedPrefixFirst) {
  const Bytes text = test::ScoreText(200000);
  Bytes tagged = test::TaggedStream(text);
  tagged.resize(tagged.size() * 3 / 4);
  TestMemoryStream inner(tagged);
  TKRVZLibInStream s(kTagged, &inner, false);
  Bytes got = ReadAll(s, 1 << 20);
  EXPECT_GT(got.size(), text.size() / 2) << "what was decoded before the cut is kept";
  EXPECT_TRUE(IsPrefix(got, text));
  EXPECT_TRUE(s.IsFailed());
}

TEST(ZLibInStreamTest, SmallReadsGetEveryDecodedByteBeforeTheFault) {
  const Bytes text = test::ScoreText(60000);
  Bytes tagged = test::TaggedStream(text);
  tagged.resize(tagged.size() - 5);
  TestMemoryStream whole(tagged);
  TKRVZLibInStream oneRead(kTagged, &whole, false);
  Bytes all = ReadAll(oneRead, 1 << 20);

  TestMemoryStream inner(tagged);
  TKRVZLibInStream s(kTagged, &inner, false);
  Bytes got;
  uint8_t buffer[10];
  int n;
  while ((n = s.Read(buffer, sizeof buffer)) > 0) got.insert(got.end(), buffer, buffer + n);
  EXPECT_EQ(got, all);
  EXPECT_TRUE(s.IsFailed());
}

TEST(ZLibInStreamTest, InnerReadFaultIsAFault) {
  const Bytes text = test::ScoreText(100000);
  for (int mode : {kPlain, kTagged}) {
    TestMemoryStream inner(mode == kPlain ? text : test::TaggedStream(test::NoiseBytes(100000)));
    inner.failReadAt = 40000;
    TKRVZLibInStream s(mode, &inner, false);
    ReadAll(s, 4096);
    EXPECT_TRUE(s.IsFailed()) << "mode " << mode;
  }
}

TEST(ZLibInStreamTest, InnerStreamIsReadInWholeBlocks) {
  TestMemoryStream inner(test::TaggedStream(test::NoiseBytes(100000)));
  TKRVZLibInStream s(kTagged, &inner, false);
  for (int i = 0; i < 100000; ++i) s.GetByte();
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(inner.largestRead, TKRVZLibInStream::kBlockSize);
  EXPECT_LE(inner.readCalls, 100100 / TKRVZLibInStream::kBlockSize + 2);
}

TEST(ZLibInStreamTest, TellCountsDecodedBytesAndSizeIsConstant) {
  TestMemoryStream inner(test::TaggedStream(test::ScoreText(5000)));
  TKRVZLibInStream s(kTagged, &inner, false);
  EXPECT_EQ(s.Size(), 0x7FFFFFF0);
  uint8_t buffer[60];
  s.Read(buffer, 60);
  for (int i = 0; i < 40; ++i) s.GetByte();
  EXPECT_EQ(s.Tell(), 100);
  EXPECT_EQ(s.Size(), 0x7FFFFFF0);
  EXPECT_FALSE(s.IsError());
}

TEST(ZLibInStreamTest, SeekForwardAndBackwardLandOnTheDecodedPosition) {
  const Bytes text = test::ScoreText(70000);
  TestMemoryStream inner(test::TaggedStream(text));
  TKRVZLibInStream s(kTagged, &inner, false);
  ASSERT_TRUE(s.Seek(40000));
  EXPECT_EQ(s.GetByte(), text[40000]);
  ASSERT_TRUE(s.Seek(17)) << "backward starts the stream again";
  EXPECT_EQ(s.Tell(), 17);
  EXPECT_EQ(s.GetByte(), text[17]);
  ASSERT_TRUE(s.Seek(70000));
  EXPECT_FALSE(s.IsError());
  EXPECT_FALSE(s.Seek(70001));
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
}

TEST(ZLibInStreamTest, RewindReadsTheStreamAgainAndClearsTheError) {
  const Bytes text = test::ScoreText(30000);
  TestMemoryStream inner(test::GzipStream(text));
  TKRVZLibInStream s(kTagged, &inner, false);
  EXPECT_EQ(GetAll(s), text);
  ASSERT_TRUE(s.IsError());
  s.Rewind();
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(ReadAll(s, 4000), text);
  EXPECT_TRUE(s.IsCompressed());
}

TEST(ZLibInStreamTest, RewindAfterAFaultClearsItAndTheFaultComesBack) {
  Bytes tagged = test::TaggedStream(test::ScoreText(30000));
  tagged.resize(tagged.size() - 2);
  TestMemoryStream inner(tagged);
  TKRVZLibInStream s(kTagged, &inner, false);
  ReadAll(s, 4096);
  ASSERT_TRUE(s.IsFailed());
  s.Rewind();
  EXPECT_FALSE(s.IsFailed());
  ReadAll(s, 4096);
  EXPECT_TRUE(s.IsFailed());
}

TEST(ZLibInStreamTest, WritingToAReaderFails) {
  TestMemoryStream inner(ToBytes("abc"));
  TKRVZLibInStream s(kPlain, &inner, false);
  s.PutByte('x');
  EXPECT_TRUE(s.IsError());
  EXPECT_EQ(inner.Text(), "abc");
}

TEST(ZLibInStreamTest, UnknownModeIsAFault) {
  TestMemoryStream inner(ToBytes("some plain data"));
  TKRVZLibInStream s(7, &inner, false);
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsFailed());
}

TEST(ZLibInStreamTest, OwnedInnerStreamIsDeletedWithTheFilter) {
  bool destroyed = false;
  auto* inner = new TestMemoryStream(test::TaggedStream(test::ScoreText(100)));
  inner->destroyed = &destroyed;
  {
    TKRVZLibInStream s(kTagged, inner, true);
    s.GetByte();  // leaves the decoder open
  }
  EXPECT_TRUE(destroyed);
}

TEST(ZLibInStreamTest, TrailingBytesAfterTheStreamAreIgnored) {
  const Bytes text = test::ScoreText(1000);
  Bytes stored = test::TaggedStream(text);
  for (char c : std::string("trailing")) stored.push_back(static_cast<uint8_t>(c));
  TestMemoryStream inner(stored);
  TKRVZLibInStream s(kTagged, &inner, false);
  EXPECT_EQ(ReadAll(s, 300), text);
  EXPECT_FALSE(s.IsFailed());
}

// Files made by the real gzip program read back through the filter in both compressed modes.
TEST(ZLibInStreamTest, ReadsFilesMadeByGzip) {
  test::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  for (size_t size : {size_t{0}, size_t{1}, size_t{16384}, size_t{300001}}) {
    const Bytes text = test::ScoreText(size);
    ASSERT_TRUE(test::WriteFileBytes(dir.File("in.txt"), text));
    ASSERT_EQ(test::RunProgram({"gzip", "-c", "-n"}, dir.File("in.txt"), dir.File("in.gz")), 0)
        << "the gzip program is needed";
    for (int mode : {kTagged, kGzip}) {
      TKRVFStream file(kFileModeRead | kFileShareRead, dir.File("in.gz").c_str());
      ASSERT_TRUE(file.IsOpen());
      TKRVZLibInStream s(mode, &file, false);
      EXPECT_EQ(ReadAll(s, 10000), text) << "size " << size << " mode " << mode;
      EXPECT_TRUE(s.IsCompressed());
      EXPECT_FALSE(s.IsError());
      s.Rewind();
      EXPECT_EQ(GetAll(s), text) << "again after Rewind";
      EXPECT_FALSE(s.IsFailed());
    }
  }
}

}  // namespace
}  // namespace kvt
