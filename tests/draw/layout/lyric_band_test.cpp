// Marks below (or above) a staff keep clear of its lyric lines: they move between the staff
// and the lines, or beyond the lines when the room between is too small.

#include "draw/layout/lyric_band.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(LyricBandTest, MarksMoveOutOfTheBand) {
  constexpr int kTop = -4, kBottom = 4;  // a five-line staff
  const TLyricBand below{true, true, 9.0f, 13.0f};
  const TLyricBand tight{true, true, 6.0f, 10.0f};
  const TLyricBand above{true, false, -13.0f, -9.0f};
  struct Case {
    const char* name;
    TLyricBand band;
    float position;
    float expected;
  } cases[] = {
      {"no lyrics", TLyricBand{}, 9.0f, 9.0f},
      {"overlapping the lines: between staff and lines", below, 9.0f, 7.0f},
      {"inside the lines", below, 11.5f, 7.0f},
      {"already between", below, 6.5f, 6.5f},
      {"beyond the lines", below, 15.0f, 15.0f},
      // Between would touch a head on the bottom line.
      {"no room between: beyond the lines", tight, 7.0f, 12.0f},
      {"above the staff with lyrics below", below, -9.0f, -9.0f},
      {"on the staff", below, 3.0f, 3.0f},
      {"lyrics on top: between lines and staff", above, -10.0f, -7.0f},
      {"lyrics on top, mark below", above, 9.0f, 9.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(ClearOfLyricBand(c.band, c.position, 2.0f, 2.0f, kTop, kBottom), c.expected);
  }
}

TEST(LyricBandTest, UnevenMarksKeepTheirInkClear) {
  // A glyph hanging 3 steps below its position and 1 above it.
  const TLyricBand below{true, true, 9.0f, 13.0f};
  EXPECT_FLOAT_EQ(ClearOfLyricBand(below, 8.0f, 1.0f, 3.0f, -4, 4), 6.0f);
  EXPECT_FLOAT_EQ(ClearOfLyricBand(below, 8.0f, 1.5f, 3.0f, -4, 4),
                  14.5f);  // would touch the staff
  const TLyricBand above{true, false, -13.0f, -9.0f};
  EXPECT_FLOAT_EQ(ClearOfLyricBand(above, -10.0f, 1.0f, 3.0f, -4, 4), -8.0f);
  EXPECT_FLOAT_EQ(ClearOfLyricBand(above, -10.0f, 1.0f, 5.0f, -4, 4), -18.0f);  // too tall: beyond
}

}  // namespace
}  // namespace kvt
