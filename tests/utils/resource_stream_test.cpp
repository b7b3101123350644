#include "utils/resource_stream.h"

#include <gtest/gtest.h>

#include "utils/resource_table.h"

namespace kvt {
namespace {

TEST(ResourceStreamTest, ReadsTheResourceWhole) {
  static const char kData[] = "line one\nline two";
  RegisterResource("STREAMTEST_TEXT", "TEXT", kData, sizeof kData - 1);
  TKRVResourceStream s("STREAMTEST_TEXT", "TEXT");
  EXPECT_FALSE(s.IsError());
  EXPECT_EQ(s.Size(), static_cast<int32_t>(sizeof kData - 1));
  char line[32];
  EXPECT_EQ(s.ReadLine(line, sizeof line), 8);
  EXPECT_STREQ(line, "line one");
  EXPECT_EQ(s.ReadLine(line, sizeof line), 8);
  EXPECT_STREQ(line, "line two");
  EXPECT_TRUE(s.IsError()) << "the last line ends at the end of the data";
  EXPECT_FALSE(s.IsFailed());
}

TEST(ResourceStreamTest, WritingFailsAndStoresNothing) {
  static const uint8_t kData[] = {10, 20, 30};
  RegisterResource("STREAMTEST_RO", "RCDATA", kData, sizeof kData);
  TKRVResourceStream s("STREAMTEST_RO", "RCDATA");
  s.PutByte(99);
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  s.Write("ab", 2);
  EXPECT_TRUE(s.IsFailed());
  s.Rewind();
  EXPECT_EQ(s.GetByte(), 10);
  EXPECT_EQ(kData[0], 10);
  EXPECT_EQ(s.Size(), 3);
}

TEST(ResourceStreamTest, MissingOrEmptyResourceIsAFailedEmptyStream) {
  static const char kEmpty[] = "";
  RegisterResource("STREAMTEST_EMPTY", "TEXT", kEmpty, 0);
  for (const char* name : {"STREAMTEST_MISSING", "STREAMTEST_EMPTY"}) {
    SCOPED_TRACE(name);
    TKRVResourceStream s(name, "TEXT");
    EXPECT_TRUE(s.IsError());
    EXPECT_TRUE(s.IsFailed());
    EXPECT_EQ(s.Size(), 0);
  }
}

}  // namespace
}  // namespace kvt
