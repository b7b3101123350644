#include "notation/files/text/score_text_line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using score_text_test::TTextStream;

struct TLines {
  std::vector<std::string> lines;
  std::vector<bool> unterminated;
};

TLines ReadAll(std::string_view text, bool exact) {
  TTextStream stream(text);
  TScoreTextLineReader reader(*stream, exact);
  TLines out;
  while (reader.Next()) {
    out.lines.emplace_back(reader.Line());
    out.unterminated.push_back(reader.EndedWithoutTerminator());
    EXPECT_EQ(reader.MutableLine()[reader.Line().size()], 0);
  }
  return out;
}

TEST(ScoreTextLineReaderTest, LineEndsTrimmingAndByteOrderMarks) {
  const std::string text =
      std::string("  one \r\ntwo\nth\rree\r\r\n\xEF\xBB\xBF|four\t\n\n") + std::string("five\0six", 8) + "\nlast";
  for (bool exact : {false, true}) {
    const TLines read = ReadAll(text, exact);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"one", "two", "three", "|four", "", "five", "six", "last"}))
        << exact;
    EXPECT_EQ(read.unterminated, (std::vector<bool>{false, false, false, false, false, false, false, true})) << exact;
  }
  EXPECT_TRUE(ReadAll("", false).lines.empty());
  EXPECT_EQ(ReadAll("\n", false).lines, std::vector<std::string>{""});
}

// Lines across the look-ahead blocks, and one longer than the look-ahead buffer grows to,
// read whole and alike in both ways.
TEST(ScoreTextLineReaderTest, LongLinesReadWhole) {
  std::string text;
  std::vector<std::string> expected;
  for (size_t length : {size_t{70000}, size_t{1}, size_t{65535}, size_t{200000}, size_t{17} << 20, size_t{3}}) {
    std::string line(length, 'a' + static_cast<char>(expected.size()));
    text += line + "\r\n";
    expected.push_back(line);
  }
  for (bool exact : {false, true}) {
    const TLines read = ReadAll(text, exact);
    ASSERT_EQ(read.lines.size(), expected.size()) << exact;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(read.lines[i] == expected[i]) << exact << " line " << i;
  }
}

// A carriage return inside a line is dropped even where a block of look-ahead ends on it.
TEST(ScoreTextLineReaderTest, CarriageReturnAtABlockEnd) {
  for (size_t before : {size_t{65535}, size_t{65534}, size_t{65536}}) {
    const std::string text = std::string(before, 'a') + "\rb\r\nnext\n";
    for (bool exact : {false, true}) {
      const TLines read = ReadAll(text, exact);
      ASSERT_EQ(read.lines.size(), 2u);
      EXPECT_TRUE(read.lines[0] == std::string(before, 'a') + "b") << before << " " << exact;
      EXPECT_EQ(read.lines[1], "next");
    }
  }
}

// The exact way leaves the stream right after the line.
TEST(ScoreTextLineReaderTest, ExactReadingStopsAfterTheLine) {
  TTextStream stream(std::string("first\0rest", 10));
  TScoreTextLineReader reader(*stream, true);
  ASSERT_TRUE(reader.Next());
  EXPECT_EQ(reader.Line(), "first");
  EXPECT_EQ(stream->GetByte(), 'r');
}

}  // namespace
}  // namespace kvt
