#include "tools/toolbar_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvt {
namespace {

std::vector<uint8_t> Bytes(uint16_t style, int16_t x, int16_t y, uint16_t layout, uint8_t index,
                           uint8_t rowStart) {
  return {static_cast<uint8_t>(style),
          static_cast<uint8_t>(style >> 8),
          static_cast<uint8_t>(x),
          static_cast<uint8_t>(static_cast<uint16_t>(x) >> 8),
          static_cast<uint8_t>(y),
          static_cast<uint8_t>(static_cast<uint16_t>(y) >> 8),
          static_cast<uint8_t>(layout),
          static_cast<uint8_t>(layout >> 8),
          index,
          rowStart};
}

TEST(ToolbarRecordTest, EncodesTenBytesOrElevenWithAButtonSize) {
  TToolbarRecord record{0x2090, 300, -2, 3, 4, true, kDefaultButtonSize};
  EXPECT_EQ(EncodeToolbarRecord(record), Bytes(0x2090, 300, -2, 3, 4, 1));
  record.buttonSize = 24;
  std::vector<uint8_t> eleven = Bytes(0x2090, 300, -2, 3, 4, 1);
  eleven.push_back(24);
  EXPECT_EQ(EncodeToolbarRecord(record), eleven);
  record.buttonSize = 500;  // never written out of range
  EXPECT_EQ(EncodeToolbarRecord(record).size(), 10u);
}

struct TDecodeCase {
  const char* name;
  std::vector<uint8_t> bytes;
  TToolbarRecord expected;
};

TEST(ToolbarRecordTest, DecodingRepairsWhatItCannotUse) {
  auto with = [](std::vector<uint8_t> bytes, std::vector<uint8_t> more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
  };
  const TDecodeCase cases[] = {
      {"sound", Bytes(0x4080, 100, 200, 2, 3, 1), {0x4080, 100, 200, 2, 3, true, 18}},
      {"button size",
       with(Bytes(0x2080, 10, 10, 0, 0, 0), {24}),
       {0x2080, 10, 10, 0, 0, false, 24}},
      {"size too small",
       with(Bytes(0x2080, 10, 10, 0, 0, 0), {5}),
       {0x2080, 10, 10, 0, 0, false, 18}},
      {"size too large",
       with(Bytes(0x2080, 10, 10, 0, 0, 0), {121}),
       {0x2080, 10, 10, 0, 0, false, 18}},
      {"longest size",
       with(Bytes(0x2080, 10, 10, 0, 0, 0), {120, 9, 9}),
       {0x2080, 10, 10, 0, 0, false, 120}},
      {"older style", Bytes(0x0090, 10, 10, 0, 0, 0), {0x2890, 10, 10, 0, 0, false, 18}},
      {"negative x", Bytes(0x2080, -1, 20, 0, 0, 0), {0x2080, 10, 20, 0, 0, false, 18}},
      {"x off screen", Bytes(0x2080, 1271, 20, 0, 0, 0), {0x2080, 10, 20, 0, 0, false, 18}},
      {"x at the limit", Bytes(0x2080, 1270, 1014, 0, 0, 0), {0x2080, 1270, 1014, 0, 0, false, 18}},
      {"y off screen", Bytes(0x2080, 20, 1015, 0, 0, 0), {0x2080, 20, 10, 0, 0, false, 18}},
      {"every edge", Bytes(0xF0A0, 10, 10, 0, 0, 2), {0x20A0, 10, 10, 0, 0, true, 18}},
      {"left and right", Bytes(0x5010, 10, 10, 0, 0, 0), {0x1010, 10, 10, 0, 0, false, 18}},
  };
  for (const TDecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto record = DecodeToolbarRecord(c.bytes.data(), c.bytes.size(), 1280, 1024);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record, c.expected);
  }
}

TEST(ToolbarRecordTest, FewerThanTenBytesIsNoRecord) {
  const std::vector<uint8_t> bytes = Bytes(0x2080, 10, 10, 0, 0, 0);
  EXPECT_FALSE(DecodeToolbarRecord(bytes.data(), 9, 1280, 1024).has_value());
  EXPECT_FALSE(DecodeToolbarRecord(nullptr, 10, 1280, 1024).has_value());
  EXPECT_TRUE(DecodeToolbarRecord(bytes.data(), 10, 1280, 1024).has_value());
}

TEST(ToolbarRecordTest, RepairedRecordRoundTrips) {
  const std::vector<uint8_t> bytes = Bytes(0xF0B0, -7, 30000, 40, 200, 1);
  const auto record = DecodeToolbarRecord(bytes.data(), bytes.size(), 1280, 1024);
  ASSERT_TRUE(record);
  const std::vector<uint8_t> again = EncodeToolbarRecord(*record);
  EXPECT_EQ(DecodeToolbarRecord(again.data(), again.size(), 1280, 1024), record);
}

}  // namespace
}  // namespace kvt
