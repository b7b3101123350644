#include "utils/buffered_file_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "tests/utils/file_stream_fixture.h"

namespace kvt {
namespace {

constexpr int kReadWrite = kFileModeRead | kFileModeWrite;

class BufferedFileStreamTest : public FileStreamFixture {};

std::string Pattern(size_t n) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('a' + i % 26 + i / 26 % 3);
  return bytes;
}

TEST_F(BufferedFileStreamTest, BufferIsTheRequestBoundedTo1024) {
  struct Case {
    int requested;
    uint32_t used;
  };
  std::string path = MakeFile("f", "x");
  for (Case c : {Case{30000, 1024}, Case{100, 100}, Case{1024, 1024}, Case{1023, 1023},
                 Case{1, 1}, Case{0, 1}, Case{-1, 1024}}) {
    TKRVBFStream s(kFileModeRead, path.c_str(), c.requested);
    EXPECT_EQ(s.BufferSize(), c.used) << "requested " << c.requested;
  }
}

TEST_F(BufferedFileStreamTest, WritesReachTheFileWhateverTheBufferSize) {
  std::string data = Pattern(5000);
  for (int bufferSize : {1, 7, 100, 1024}) {
    std::string path = PathOf("w" + std::to_string(bufferSize));
    TKRVBFStream s(kFileModeWrite, path.c_str(), bufferSize);
    for (size_t i = 0; i < 1000; ++i) s.PutByte(data[i]);
    s.Write(data.data() + 1000, 4000);
    EXPECT_EQ(s.Tell(), 5000);
    EXPECT_EQ(s.Size(), 5000) << "pending bytes count in the stream's size";
    EXPECT_TRUE(s.Close());
    EXPECT_EQ(Contents(path), data) << "buffer " << bufferSize;
  }
}

TEST_F(BufferedFileStreamTest, TellAfterReadingTenBytesOfALargeFileIsTen) {
  TKRVBFStream s(kFileModeRead, MakeFile("f", Pattern(5000)).c_str(), 30000);
  char buffer[10];
  EXPECT_EQ(s.Read(buffer, 10), 10);
  EXPECT_EQ(s.Tell(), 10);
}

TEST_F(BufferedFileStreamTest, WritingAfterReadingWritesAtTheLogicalPosition) {
  std::string path = MakeFile("f", "0123456789");
  {
    TKRVBFStream s(kReadWrite, path.c_str(), 100);
    s.GetByte();
    s.GetByte();
    s.GetByte();
    s.PutByte('X');
    EXPECT_EQ(s.Tell(), 4);
    EXPECT_EQ(s.GetByte(), '4');
    EXPECT_TRUE(s.Close());
  }
  EXPECT_EQ(Contents(path), "012X456789");
}

TEST_F(BufferedFileStreamTest, EndOfFileSetsOnlyTheErrorFlag) {
  TKRVBFStream s(kFileModeRead, MakeFile("f", "ab").c_str(), 1024);
  EXPECT_EQ(s.GetByte(), 'a');
  EXPECT_EQ(s.GetByte(), 'b');
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsError());
  EXPECT_FALSE(s.IsFailed());
  EXPECT_TRUE(s.Close());
}

TEST_F(BufferedFileStreamTest, FailedOpenShowsInTheStreamsOwnFlags) {
  TKRVBFStream s(kFileModeRead, PathOf("missing").c_str(), 1024);
  EXPECT_FALSE(s.IsOpen());
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  EXPECT_EQ(s.GetByte(), 0);
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  s.PutByte('x');
  EXPECT_TRUE(s.IsFailed());
  EXPECT_FALSE(s.Close());
}

TEST_F(BufferedFileStreamTest, FailedFlushIsAFaultOfTheBufferedStream) {
  TKRVBFStream s(kFileModeWrite, "/dev/full", 1024);
  ASSERT_TRUE(s.IsOpen());
  s.Write("abc", 3);
  EXPECT_FALSE(s.IsError()) << "still buffered";
  s.Flush();
  EXPECT_TRUE(s.IsError());
  EXPECT_TRUE(s.IsFailed());
  EXPECT_FALSE(s.Close());
}

TEST_F(BufferedFileStreamTest, FailedFinalFlushMakesCloseFail) {
  TKRVBFStream s(kFileModeWrite, "/dev/full", 1024);
  s.WriteString("pending");
  EXPECT_FALSE(s.IsError());
  EXPECT_FALSE(s.Close());
  EXPECT_TRUE(s.IsFailed());
}

TEST_F(BufferedFileStreamTest, FullBufferFailingToFlushFailsTheWrite) {
  TKRVBFStream s(kFileModeWrite, "/dev/full", 4);
  s.Write("abcdef", 6);
  EXPECT_TRUE(s.IsFailed());
}

TEST_F(BufferedFileStreamTest, DestructionWritesPendingBytes) {
  std::string path = PathOf("f");
  {
    TKRVBFStream s(kFileModeWrite, path.c_str(), 1024);
    s.WriteString("kept");
  }
  EXPECT_EQ(Contents(path), std::string("kept\0", 5));
}

TEST_F(BufferedFileStreamTest, RewindWritesPendingBytesWhereTheyBelong) {
  std::string path = MakeFile("f", "0123456789ABCDEF");
  TKRVBFStream s(kReadWrite, path.c_str(), 100);
  char buffer[10];
  s.Read(buffer, 10);
  s.Write("XY", 2);
  s.Rewind();
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.GetByte(), '0');
  EXPECT_TRUE(s.Close());
  EXPECT_EQ(Contents(path), "0123456789XYCDEF");
}

TEST_F(BufferedFileStreamTest, ClearDropsPendingBytesAndKeepsTheLength) {
  std::string path = MakeFile("f", "0123456789");
  TKRVBFStream s(kReadWrite, path.c_str(), 100);
  s.Seek(5);
  s.Write("XYZ", 3);
  s.Clear();
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Tell(), 0);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_TRUE(s.Close());
  EXPECT_EQ(Contents(path), "0123456789");
}

TEST_F(BufferedFileStreamTest, ReopeningClosesTheOldFileAndStartsClean) {
  std::string first = PathOf("first");
  std::string second = MakeFile("second", "xyz");
  TKRVBFStream s(kFileModeWrite, first.c_str(), 1024);
  s.Write("abc", 3);
  EXPECT_TRUE(s.Open(kFileModeRead, second.c_str()));
  EXPECT_EQ(Contents(first), "abc");
  EXPECT_EQ(s.GetByte(), 'x');
  EXPECT_EQ(s.Tell(), 1);
}

TEST_F(BufferedFileStreamTest, SetFileDateTimeIsNotOvertakenByPendingWrites) {
  std::string path = PathOf("f");
  uint32_t moment = (2019u - 1980u) << 25 | 3u << 21 | 9u << 16 | 10u << 11 | 20u << 5 | 15u;
  {
    TKRVBFStream s(kFileModeWrite, path.c_str(), 1024);
    s.WriteString("data");
    ASSERT_TRUE(s.SetFileDateTime(moment));
    EXPECT_TRUE(s.Close());
  }
  TKRVBFStream check(kFileModeRead, path.c_str(), 1024);
  EXPECT_EQ(check.GetFileDateTime(), moment);
  EXPECT_EQ(Contents(path), std::string("data\0", 5));
}

// Random mixes of reads, writes and seeks on a read-write stream with a tiny buffer must
// leave the same bytes, and read the same bytes, as plain string edits.
TEST_F(BufferedFileStreamTest, MixedOperationsMatchAPlainModel) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::string model = Pattern(40);
    std::string path = MakeFile("mix" + std::to_string(seed), model);
    TKRVBFStream s(kReadWrite, path.c_str(), 5);
    std::mt19937 random(seed);
    size_t position = 0;
    for (int step = 0; step < 200; ++step) {
      int n = static_cast<int>(random() % 9);
      switch (random() % 3) {
        case 0: {  // read n bytes
          for (int i = 0; i < n; ++i) {
            int byte = s.GetByte();
            if (position < model.size()) {
              ASSERT_EQ(byte, static_cast<uint8_t>(model[position]));
              ++position;
            } else {
              ASSERT_TRUE(s.IsError());
              ASSERT_FALSE(s.IsFailed());
              s.Seek(static_cast<int32_t>(position));  // leaves the error flag, as callers do
              break;
            }
          }
          break;
        }
        case 1:  // write n bytes
          for (int i = 0; i < n; ++i) {
            char c = static_cast<char>('A' + random() % 26);
            s.PutByte(c);
            if (position < model.size())
              model[position] = c;
            else
              model.push_back(c);
            ++position;
          }
          break;
        default:
          position = random() % (model.size() + 1);
          ASSERT_TRUE(s.Seek(static_cast<int32_t>(position)));
          break;
      }
      ASSERT_EQ(s.Tell(), static_cast<int32_t>(position)) << "step " << step;
      ASSERT_EQ(s.Size(), static_cast<int32_t>(model.size())) << "step " << step;
    }
    EXPECT_FALSE(s.IsFailed());
    EXPECT_TRUE(s.Close());
    EXPECT_EQ(Contents(path), model);
  }
}

}  // namespace
}  // namespace kvt
