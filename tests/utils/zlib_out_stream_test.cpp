#include "utils/zlib_out_stream.h"

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
constexpr int kBlock = TKRVZLibInStream::kBlockSize;

const Bytes kTag = {'[', 'K', 'V', 'Z', ']', 0};

// Decodes what a writer stored, with zlib directly, by its framing; false when it is not a
// complete stream of that framing.
bool DecodeStored(int mode, const Bytes& stored, Bytes& out) {
  switch (mode) {
    case kPlain:
      out = stored;
      return true;
    case kTagged:
      if (stored.size() < kTag.size() || !std::equal(kTag.begin(), kTag.end(), stored.begin())) {
        return false;
      }
      return test::InflateWith(Bytes(stored.begin() + 6, stored.end()), 15, out);
    case kGzip:
      return test::InflateWith(stored, 31, out);
  }
  return false;
}

Bytes ReadBack(const Bytes& stored) {
  TestMemoryStream inner(stored);
  TKRVZLibInStream in(kTagged, &inner, false);
  Bytes out;
  uint8_t buffer[5000];
  int n;
  while ((n = in.Read(buffer, sizeof buffer)) > 0) out.insert(out.end(), buffer, buffer + n);
  EXPECT_FALSE(in.IsError());
  return out;
}

struct RoundTripCase {
  int mode;
  size_t size;
  bool noise;
  bool byteByByte;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << "mode " << c.mode << ", " << c.size << " bytes";
}

std::string RoundTripName(const testing::TestParamInfo<RoundTripCase>& info) {
  const RoundTripCase& c = info.param;
  static const char* const kModeNames[] = {"Plain", "Tagged", "Gzip"};
  return std::string(kModeNames[c.mode]) + std::to_string(c.size) + (c.noise ? "Noise" : "Text") +
         (c.byteByByte ? "PutByte" : "Write");
}

std::vector<RoundTripCase> RoundTripCases() {
  std::vector<RoundTripCase> cases;
  for (int mode : {kPlain, kTagged, kGzip}) {
    for (size_t size : {size_t{1}, size_t{kBlock - 1}, size_t{kBlock}, size_t{kBlock + 1},
                        size_t{3 * kBlock + 5}, size_t{250000}}) {
      for (bool byteByByte : {false, true}) {
        cases.push_back({mode, size, false, byteByByte});
      }
    }
    cases.push_back({mode, 100000, true, false});
  }
  return cases;
}

class ZLibOutRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ZLibOutRoundTripTest, StoredDataDecodesToWhatWasWritten) {
  const RoundTripCase& c = GetParam();
  const Bytes data = c.noise ? test::NoiseBytes(c.size) : test::ScoreText(c.size);
  TestMemoryStream inner;
  {
    TKRVZLibOutStream out(c.mode, &inner, false);
    if (c.byteByByte) {
      for (uint8_t b : data) out.PutByte(b);
    } else {
      // Uneven pieces so that a Write crosses the block boundary.
      for (size_t at = 0; at < data.size(); at += 10007) {
        out.Write(data.data() + at, static_cast<int>(std::min<size_t>(10007, data.size() - at)));
      }
    }
    EXPECT_EQ(out.Tell(), static_cast<int32_t>(data.size()));
    EXPECT_TRUE(out.End());
    EXPECT_FALSE(out.IsError());
    EXPECT_EQ(out.IsCompressed(), c.mode != kPlain);
  }
  Bytes decoded;
  ASSERT_TRUE(DecodeStored(c.mode, inner.bytes, decoded));
  EXPECT_EQ(decoded, data);
  EXPECT_EQ(ReadBack(inner.bytes), data);
  EXPECT_LE(inner.largestWrite, kBlock) << "data moves in blocks";
  EXPECT_EQ(inner.flushCalls, 1) << "End flushes the inner stream";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZLibOutRoundTripTest, testing::ValuesIn(RoundTripCases()),
                         RoundTripName);

TEST(ZLibOutStreamTest, NoBytesLeaveTheInnerStreamUntouched) {
  for (int mode : {kPlain, kTagged, kGzip}) {
    TestMemoryStream inner(ToBytes("old"));
    TKRVZLibOutStream out(mode, &inner, false);
    EXPECT_TRUE(out.End());
    EXPECT_EQ(inner.Text(), "old") << "mode " << mode;
    EXPECT_EQ(out.Tell(), 0);
  }
}

TEST(ZLibOutStreamTest, OneByteTaggedBeginsWithTheTagAndTheLevel9Header) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kTagged, &inner, false);
  out.PutByte('x');
  ASSERT_TRUE(out.End());
  ASSERT_GE(inner.bytes.size(), 8u);
  EXPECT_EQ(Bytes(inner.bytes.begin(), inner.bytes.begin() + 8),
            (Bytes{'[', 'K', 'V', 'Z', ']', 0, 0x78, 0xDA}));
  EXPECT_EQ(ReadBack(inner.bytes), ToBytes("x"));
}

TEST(ZLibOutStreamTest, GzipBeginsWithTheGzipHeader) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kGzip, &inner, false);
  out.PutByte('x');
  ASSERT_TRUE(out.End());
  ASSERT_GE(inner.bytes.size(), 10u);
  EXPECT_EQ(Bytes(inner.bytes.begin(), inner.bytes.begin() + 3), (Bytes{0x1F, 0x8B, 0x08}));
  EXPECT_EQ(inner.bytes[8], 2) << "the extra-flags byte of level 9";
}

TEST(ZLibOutStreamTest, FirstByteClearsTheInnerStream) {
  TestMemoryStream inner(ToBytes("an older and much longer content"));
  TKRVZLibOutStream out(kPlain, &inner, false);
  out.Write("new", 3);
  ASSERT_TRUE(out.End());
  EXPECT_EQ(inner.Text(), "new");
}

TEST(ZLibOutStreamTest, SingleBytesStayInTheBufferUntilABlockIsFull) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kPlain, &inner, false);
  for (int i = 0; i < kBlock - 1; ++i) out.PutByte('a');
  EXPECT_EQ(inner.writeCalls, 0);
  out.PutByte('a');
  EXPECT_EQ(inner.writeCalls, 1);
  EXPECT_EQ(inner.largestWrite, kBlock);
}

TEST(ZLibOutStreamTest, SizeIsConstant) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kTagged, &inner, false);
  EXPECT_EQ(out.Size(), 0x7FFFFFF0);
  out.Write("abc", 3);
  EXPECT_EQ(out.Size(), 0x7FFFFFF0);
  EXPECT_EQ(out.Tell(), 3);
}

// An inner stream that fails while the compressed data goes out: the writer must stop, report
// the fault and never claim success.
struct InnerFaultCase {
  const char* name;
  int mode;
  size_t capacity;
  bool failFlush;
};

void PrintTo(const InnerFaultCase& c, std::ostream* os) { *os << c.name; }

class ZLibOutInnerFaultTest : public testing::TestWithParam<InnerFaultCase> {};

TEST_P(ZLibOutInnerFaultTest, EndReportsTheFault) {
  const InnerFaultCase& c = GetParam();
  TestMemoryStream inner;
  inner.writeCapacity = c.capacity;
  inner.failFlush = c.failFlush;
  TKRVZLibOutStream out(c.mode, &inner, false);
  const Bytes data = test::NoiseBytes(100000);
  out.Write(data.data(), static_cast<int>(data.size()));
  const int writesBeforeEnd = inner.writeCalls;
  EXPECT_FALSE(out.End());
  EXPECT_TRUE(out.IsError());
  EXPECT_TRUE(out.IsFailed());
  if (out.IsFailed() && c.capacity < 50000) {
    EXPECT_LE(inner.writeCalls, writesBeforeEnd) << "a failed filter writes nothing more";
  }
  out.PutByte('x');
  EXPECT_TRUE(out.IsFailed());
  EXPECT_FALSE(out.End()) << "a second End does not turn the fault into success";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ZLibOutInnerFaultTest,
    testing::Values(InnerFaultCase{"TagDoesNotFit", kTagged, 3, false},
                    InnerFaultCase{"DiskFullInTheMiddleTagged", kTagged, 20000, false},
                    InnerFaultCase{"DiskFullInTheMiddleGzip", kGzip, 20000, false},
                    InnerFaultCase{"DiskFullInTheMiddlePlain", kPlain, 20000, false},
                    InnerFaultCase{"DiskFullAtTheVeryEnd", kTagged, 100020, false},
                    InnerFaultCase{"FinalFlushFailsTagged", kTagged, SIZE_MAX, true},
                    InnerFaultCase{"FinalFlushFailsPlain", kPlain, SIZE_MAX, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZLibOutStreamTest, DiskFullStopsTheFilterBeforeEnd) {
  TestMemoryStream inner;
  inner.writeCapacity = 1000;
  TKRVZLibOutStream out(kPlain, &inner, false);
  const Bytes data = test::ScoreText(3 * kBlock);
  out.Write(data.data(), static_cast<int>(data.size()));
  EXPECT_TRUE(out.IsFailed());
  EXPECT_EQ(inner.writeCalls, 1) << "no write after the failing one";
}

TEST(ZLibOutStreamTest, ByteAfterEndIsAFault) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kTagged, &inner, false);
  out.Write("abc", 3);
  ASSERT_TRUE(out.End());
  const Bytes stored = inner.bytes;
  out.PutByte('d');
  EXPECT_TRUE(out.IsFailed());
  EXPECT_FALSE(out.End());
  EXPECT_EQ(inner.bytes, stored);
}

TEST(ZLibOutStreamTest, UnknownModeIsAFault) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(5, &inner, false);
  out.Write("abc", 3);
  EXPECT_TRUE(out.IsFailed());
  EXPECT_FALSE(out.End());
}

TEST(ZLibOutStreamTest, ErrorSetFromOutsideKeepsEndFromClaimingSuccess) {
  TestMemoryStream inner;
  TKRVZLibOutStream out(kTagged, &inner, false);
  out.Write("abc", 3);
  out.SetError();
  out.PutByte('d');
  EXPECT_FALSE(out.End());
  EXPECT_TRUE(out.IsFailed());
}

// Reading, seeking or rewinding a writer abandons its stream without writing over the start of
// the inner stream; the next byte then begins a new framed stream from a cleared inner stream.
struct AbandonCase {
  const char* name;
  void (*act)(TKRVZLibOutStream&);
  bool leavesError;
};

void PrintTo(const AbandonCase& c, std::ostream* os) { *os << c.name; }

class ZLibOutAbandonTest : public testing::TestWithParam<AbandonCase> {};

TEST_P(ZLibOutAbandonTest, NextByteBeginsANewStream) {
  const AbandonCase& c = GetParam();
  for (int mode : {kPlain, kTagged, kGzip}) {
    TestMemoryStream inner;
    TKRVZLibOutStream out(mode, &inner, false);
    const Bytes first = test::NoiseBytes(kBlock + 100);
    out.Write(first.data(), static_cast<int>(first.size()));
    const Bytes storedBefore = inner.bytes;
    c.act(out);
    EXPECT_EQ(inner.bytes, storedBefore) << "nothing written by the operation, mode " << mode;
    EXPECT_EQ(out.Tell(), 0);
    EXPECT_EQ(out.IsError(), c.leavesError);
    if (c.leavesError) out.Rewind();
    out.Write("second", 6);
    ASSERT_TRUE(out.End());
    Bytes decoded;
    ASSERT_TRUE(DecodeStored(mode, inner.bytes, decoded)) << "mode " << mode;
    EXPECT_EQ(decoded, ToBytes("second"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ZLibOutAbandonTest,
    testing::Values(
        AbandonCase{"Rewind", [](TKRVZLibOutStream& s) { s.Rewind(); }, false},
        AbandonCase{"Clear", [](TKRVZLibOutStream& s) { s.Clear(); }, false},
        AbandonCase{"Reset", [](TKRVZLibOutStream& s) { s.Reset(10); }, false},
        AbandonCase{"SeekToStart", [](TKRVZLibOutStream& s) { EXPECT_TRUE(s.Seek(0)); }, false},
        AbandonCase{"SeekElsewhere", [](TKRVZLibOutStream& s) { EXPECT_FALSE(s.Seek(5)); },
                    true},
        AbandonCase{"GetByte", [](TKRVZLibOutStream& s) { EXPECT_EQ(s.GetByte(), 0); }, true},
        AbandonCase{"Read",
                    [](TKRVZLibOutStream& s) {
                      uint8_t b[4];
                      EXPECT_EQ(s.Read(b, 4), 0);
                    },
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZLibOutStreamTest, WriterReadsNothingFromItsInnerStream) {
  TestMemoryStream inner(ToBytes("plain bytes that must not come back"));
  TKRVZLibOutStream out(kPlain, &inner, false);
  EXPECT_EQ(out.GetByte(), 0);
  EXPECT_TRUE(out.IsError());
  EXPECT_EQ(inner.readCalls, 0);
}

TEST(ZLibOutStreamTest, DestroyingWithoutEndReleasesTheCompressorAndTheOwnedInner) {
  bool destroyed = false;
  auto* inner = new TestMemoryStream;
  inner->destroyed = &destroyed;
  {
    TKRVZLibOutStream out(kGzip, inner, true);
    const Bytes data = test::ScoreText(50000);
    out.Write(data.data(), static_cast<int>(data.size()));
    Bytes decoded;
    EXPECT_FALSE(test::InflateWith(inner->bytes, 31, decoded)) << "not completed yet";
  }
  EXPECT_TRUE(destroyed);
}

// gzip framing is the real gzip format: the gzip program decodes it.
TEST(ZLibOutStreamTest, GzipProgramDecodesWhatTheWriterStored) {
  test::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  for (size_t size : {size_t{1}, size_t{kBlock}, size_t{400000}}) {
    const Bytes data = test::ScoreText(size);
    {
      TKRVFStream file(kFileModeWrite, dir.File("out.gz").c_str());
      ASSERT_TRUE(file.IsOpen());
      TKRVZLibOutStream out(kGzip, &file, false);
      for (uint8_t b : data) out.PutByte(b);
      ASSERT_TRUE(out.End());
      ASSERT_TRUE(file.Close());
    }
    ASSERT_EQ(test::RunProgram({"gzip", "-d", "-c"}, dir.File("out.gz"), dir.File("out.txt")), 0)
        << "size " << size;
    EXPECT_EQ(test::ReadFileBytes(dir.File("out.txt")), data) << "size " << size;
  }
}

}  // namespace
}  // namespace kvt
