#include "notation/score_text_item_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/score_text_writer.h"
#include "tests/notation/score_text_items.h"

namespace kvt {
namespace {

using score_text_test::kItemCases;
using score_text_test::TItemCase;
using score_text_test::TItemPtr;

class ItemRoundTripTest : public ::testing::TestWithParam<TItemCase> {};

// Written, read back and written again, an item gives the same line in both modes.
TEST_P(ItemRoundTripTest, LineReadsBackToTheSameLine) {
  const TItemPtr item = GetParam().make();
  ASSERT_TRUE(item);
  for (int mode : {kTextModeScore, kTextModeLone}) {
    const std::string line = FormatItemLine(*item, mode);
    TKVTFindTextImporter importer;
    const TItemPtr copy = importer.ReadItemLine(line, 0);
    ASSERT_TRUE(copy) << line;
    EXPECT_EQ(copy->GetType(), item->GetType()) << line;
    EXPECT_EQ(FormatItemLine(*copy, mode), line);
    EXPECT_EQ(FormatItemLine(*copy, 1 - mode), FormatItemLine(*item, 1 - mode));
    EXPECT_FALSE(importer.IsCorrupt()) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, ItemRoundTripTest, ::testing::ValuesIn(kItemCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvt
