#include "utils/resource_table.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

// The table is shared by the whole program: each test registers names of its own.

TEST(ResourceTableTest, FindsRegisteredBytesWithoutCopying) {
  static const uint8_t kBytes[] = {1, 2, 3};
  RegisterResource("TABLETEST_FIND", "RCDATA", kBytes, sizeof kBytes);
  std::span<const uint8_t> found = FindResourceData("TABLETEST_FIND", "RCDATA");
  EXPECT_EQ(found.data(), kBytes);
  EXPECT_EQ(found.size(), 3u);
}

TEST(ResourceTableTest, NamesAndTypesCompareWithoutCase) {
  static const char kText[] = "x";
  RegisterResource("TableTest_Case", "Text", kText, 1);
  EXPECT_EQ(FindResourceData("TABLETEST_CASE", "text").data(),
            reinterpret_cast<const uint8_t*>(kText));
}

TEST(ResourceTableTest, MissingNameOrOtherTypeFindsNothing) {
  static const char kText[] = "x";
  RegisterResource("TABLETEST_TYPE", "TEXT", kText, 1);
  EXPECT_TRUE(FindResourceData("TABLETEST_TYPE", "RCDATA").empty());
  EXPECT_TRUE(FindResourceData("TABLETEST_NONE", "TEXT").empty());
  EXPECT_TRUE(FindResourceData("TABLETEST_TYP", "TEXT").empty());
}

TEST(ResourceTableTest, RegisteringAgainReplacesTheBytes) {
  static const char kOld[] = "old";
  static const char kNew[] = "newer";
  RegisterResource("TABLETEST_AGAIN", "TEXT", kOld, 3);
  RegisterResource("tabletest_again", "TEXT", kNew, 5);
  std::span<const uint8_t> found = FindResourceData("TABLETEST_AGAIN", "TEXT");
  EXPECT_EQ(found.data(), reinterpret_cast<const uint8_t*>(kNew));
  EXPECT_EQ(found.size(), 5u);
}

}  // namespace
}  // namespace kvt
