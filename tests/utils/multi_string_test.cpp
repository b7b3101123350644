#include "utils/multi_string.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

constexpr char kList[] = "One\0two\0Three\0";

TEST(MultiStringTest, CountFields) {
  EXPECT_EQ(CountFields("a,b,,c", ','), 4);
  EXPECT_EQ(CountFields("", ','), 1);
  EXPECT_EQ(CountFields(nullptr, ','), 0);
  // UTF-8 bytes are never ASCII separators.
  EXPECT_EQ(CountFields("\xC3\xA9/\xE2\x80\xAF", '/'), 2);
}

TEST(MultiStringTest, GetItemFallsBackToFirst) {
  EXPECT_STREQ(GetMultiStringItem(kList, 0), "One");
  EXPECT_STREQ(GetMultiStringItem(kList, 2), "Three");
  EXPECT_STREQ(GetMultiStringItem(kList, 3), "One");
  EXPECT_STREQ(GetMultiStringItem(kList, 100), "One");
  EXPECT_STREQ(GetMultiStringItem(kList, -1), "One");
  EXPECT_EQ(GetMultiStringItem(nullptr, 1), nullptr);
}

TEST(MultiStringTest, FindInListAndArray) {
  EXPECT_EQ(FindMultiStringItem(kList, "two", false, -1), 1);
  EXPECT_EQ(FindMultiStringItem(kList, "THREE", false, -1), -1);
  EXPECT_EQ(FindMultiStringItem(kList, "THREE", true, -1), 2);
  EXPECT_EQ(FindMultiStringItem(kList, "", true, -9), -9);
  EXPECT_EQ(FindMultiStringItem(nullptr, "x", true, 5), 5);
  const char* const array[] = {"alpha", "Beta", nullptr};
  EXPECT_EQ(FindStringInArray(array, "beta", true, -1), 1);
  EXPECT_EQ(FindStringInArray(array, "beta", false, -1), -1);
  EXPECT_EQ(FindStringInArray(nullptr, "beta", false, 3), 3);
}

}  // namespace
}  // namespace kvt
