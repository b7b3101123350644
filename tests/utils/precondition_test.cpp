#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

TEST(PreconditionTest, MessageNamesWordExpressionFileAndLine) {
  try {
    int count = 3;
    KVT_PRECONDITION(count < 2);
    FAIL() << "no exception";
  } catch (const TPreconditionError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("Precondition"), std::string::npos);
    EXPECT_NE(what.find("count < 2"), std::string::npos);
    EXPECT_NE(what.find("precondition_test.cpp"), std::string::npos);
    EXPECT_EQ(e.Expression(), "count < 2");
    EXPECT_GT(e.Line(), 0);
  }
}

TEST(PreconditionTest, HoldingConditionDoesNothing) {
  EXPECT_NO_THROW(KVT_PRECONDITION(1 + 1 == 2));
}

}  // namespace
}  // namespace kvt
