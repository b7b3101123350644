#include "utils/bit_count.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(BitCountTest, CountsSetBits) {
  const struct {
    uint32_t value;
    int bits;
  } cases[] = {{0, 0}, {0xFFFFFFFF, 32}, {1, 1}, {0x80000000, 1}, {0xDB6DB6DB, 22}, {0x12345678, 13}};
  for (const auto& c : cases) EXPECT_EQ(CountBits(c.value), c.bits) << std::hex << c.value;
}

}  // namespace
}  // namespace kvt
