// The second start's hand-over frame: round trip, bounds and malformed bodies.

#include "app/hand_over_message.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

std::optional<std::vector<THandOverEntry>> DecodeFrame(const std::vector<uint8_t>& frame) {
  if (frame.size() < kHandOverLengthBytes) return {};
  const auto length = DecodeHandOverLength(
      std::span<const uint8_t, kHandOverLengthBytes>(frame.data(), kHandOverLengthBytes));
  if (!length || *length != frame.size() - kHandOverLengthBytes) return {};
  return DecodeHandOverBody(std::span<const uint8_t>(frame).subspan(kHandOverLengthBytes));
}

TEST(HandOverMessageTest, EntriesRoundTrip) {
  const std::vector<THandOverEntry> entries = {
      {THandOverKind::kArgument, "/home/a/my song.kvt"},
      {THandOverKind::kArgument, "/play"},
      {THandOverKind::kExecuteCommand, "[Open(\"/x/y.kvt\")]"},
      {THandOverKind::kArgument, "/music/\xC3\xA9t\xC3\xA9.kvttxt"},
  };
  size_t dropped = 9;
  const std::vector<uint8_t> frame = EncodeHandOver(entries, &dropped);
  EXPECT_EQ(dropped, 0u);
  EXPECT_EQ(DecodeFrame(frame), entries);
  EXPECT_EQ(DecodeFrame(EncodeHandOver({})), std::vector<THandOverEntry>{});
}

TEST(HandOverMessageTest, FrameNeverPassesTheBound) {
  const std::string big(kMaxHandOverBytes / 3, 'x');
  std::vector<THandOverEntry> entries(4, {THandOverKind::kArgument, "/" + big});
  entries.push_back({THandOverKind::kArgument, "/short.kvt"});
  entries.push_back({THandOverKind::kArgument, std::string("/a\0b", 4)});
  size_t dropped = 0;
  const std::vector<uint8_t> frame = EncodeHandOver(entries, &dropped);
  EXPECT_LE(frame.size(), kMaxHandOverBytes);
  EXPECT_EQ(dropped, 3u);  // two that do not fit, one with a zero byte
  const auto decoded = DecodeFrame(frame);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->size(), 3u);
  EXPECT_EQ(decoded->back().text, "/short.kvt");
}

TEST(HandOverMessageTest, LengthPrefixBounds) {
  struct Case {
    uint32_t length;
    bool valid;
  } cases[] = {{0, false},
               {3, false},
               {4, true},
               {kMaxHandOverBytes - 4, true},
               {kMaxHandOverBytes - 3, false},
               {0xFFFFFFFFu, false}};
  for (const Case& c : cases) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(c.length), static_cast<uint8_t>(c.length >> 8),
                              static_cast<uint8_t>(c.length >> 16),
                              static_cast<uint8_t>(c.length >> 24)};
    EXPECT_EQ(DecodeHandOverLength(std::span<const uint8_t, 4>(bytes, 4)).has_value(), c.valid)
        << c.length;
  }
}

TEST(HandOverMessageTest, MalformedBodiesAreDroppedWhole) {
  struct Case {
    const char* name;
    std::vector<uint8_t> body;
  } cases[] = {
      {"too short for the count", {1, 0, 0}},
      {"count larger than the body can hold", {2, 0, 0, 0, 0, 1, 0, 0, 0, 'a'}},
      {"huge count", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}},
      {"unknown kind", {1, 0, 0, 0, 7, 1, 0, 0, 0, 'a'}},
      {"text past the end", {1, 0, 0, 0, 0, 5, 0, 0, 0, 'a'}},
      {"huge text length", {1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}},
      {"zero byte in a text", {1, 0, 0, 0, 0, 2, 0, 0, 0, 'a', 0}},
      {"bytes left over", {1, 0, 0, 0, 0, 1, 0, 0, 0, 'a', 'b'}},
      {"entry head cut", {1, 0, 0, 0, 0, 1, 0}},
  };
  for (const Case& c : cases) EXPECT_FALSE(DecodeHandOverBody(c.body)) << c.name;
  const std::vector<uint8_t> good = {1, 0, 0, 0, 1, 1, 0, 0, 0, 'a'};
  const auto decoded = DecodeHandOverBody(good);
  ASSERT_TRUE(decoded);
  EXPECT_EQ((*decoded)[0], (THandOverEntry{THandOverKind::kExecuteCommand, "a"}));
}

}  // namespace
}  // namespace kvt
