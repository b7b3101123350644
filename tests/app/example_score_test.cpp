// The example score in examples/: the committed score text is what the example builder and
// the text writer make now, and the committed binary file converts to the expected music.

#include <gtest/gtest.h>

#include <cctype>

#include "app/command_line_convert.h"
#include "notation/staff/music_score.h"
#include "tests/app/convert_fixture.h"
#include "tests/app/example_score.h"

namespace kvt {
namespace {

const std::string kExampleText = std::string(KVT_EXAMPLES_DIR) + "/example.kvttxt";
const std::string kExampleBinary = std::string(KVT_EXAMPLES_DIR) + "/example.kvt";

int Convert(const std::string& input, const std::string& output) {
  std::string messages;
  const int result = ConvertFiles({"kvt2", "-convert", input, output}, messages);
  EXPECT_EQ(messages, "");
  return result;
}

TEST(ExampleScoreTest, CommittedTextIsCurrent) {
  // On a difference, make it again: build/tests/app/make_example_score examples/example.kvttxt
  EXPECT_EQ(TTempFolder::ReadFile(kExampleText), test::ScoreText(*example::MakeExampleScore()));
}

TEST(ExampleScoreTest, BinaryFileHoldsTheSameScore) {
  TTempFolder folder;
  ASSERT_EQ(Convert(kExampleBinary, folder / "from_binary.kvttxt"), 0);
  ASSERT_EQ(Convert(kExampleText, folder / "from_text.kvt"), 0);
  ASSERT_EQ(Convert(folder / "from_text.kvt", folder / "from_text.kvttxt"), 0);
  EXPECT_EQ(TTempFolder::ReadFile(folder / "from_binary.kvttxt"),
            TTempFolder::ReadFile(folder / "from_text.kvttxt"));
}

TEST(ExampleScoreTest, MidiFilePlaysRepeatAndEndings) {
  TTempFolder folder;
  ASSERT_EQ(Convert(kExampleBinary, folder / "example.mid"), 0);
  const std::string dump = test::DumpMidiFile(folder / "example.mid");
  EXPECT_EQ(dump.substr(0, dump.find('\n')), "type=1 ticks=192 tracks=4");
  EXPECT_EQ(test::LinesWith(dump, "set_tempo"), (std::vector<std::string>{"0 set_tempo 625000"}));
  struct Staff {
    int channel;
    size_t notes;
    int program;
  } staves[] = {
      {example::kVoiceChannel, example::kVoiceNotesPlayed, 52},
      {example::kRightHandChannel, example::kRightHandNotesPlayed, 0},
      {example::kLeftHandChannel, example::kLeftHandNotesPlayed, 0},
  };
  for (const Staff& s : staves) {
    const std::string channel = "ch=" + std::to_string(s.channel) + " ";
    size_t sounding = 0;
    for (const std::string& line : test::LinesWith(dump, "note_on " + channel)) {
      if (line.find("vel=0") == std::string::npos) ++sounding;
    }
    EXPECT_EQ(sounding, s.notes) << channel;
    EXPECT_EQ(
        test::LinesWith(dump, "program_change " + channel + "program=" + std::to_string(s.program))
            .size(),
        1u)
        << channel;
  }
  // Play order: the introduction, the section with the first ending, the section again
  // (from 3072), then the second ending (from 4608) to the end.
  for (const char* event :
       {"768 note_on ch=0 note=64 ", "2688 note_on ch=0 note=64 ", "3072 note_on ch=0 note=64 ",
        "4608 note_on ch=0 note=62 ", "4992 note_on ch=0 note=60 ", "4992 note_on ch=1 note=72 ",
        "4992 note_on ch=2 note=48 "}) {
    EXPECT_EQ(test::LinesWith(dump, event).size(), 1u) << event;
  }
  // The lyric line is sung in both passes, so every sounding voice note carries a syllable.
  size_t syllables = 0;
  for (const std::string& line : test::LinesWith(dump, " lyrics [")) {
    const size_t text = line.find(" lyrics [") + 9;
    if (text < line.size() && std::isalpha(static_cast<unsigned char>(line[text]))) ++syllables;
  }
  EXPECT_EQ(syllables, static_cast<size_t>(example::kVoiceNotesPlayed));
  EXPECT_EQ(test::LinesWith(dump, "4992 lyrics [gain. ]").size(), 1u);
}

TEST(ExampleScoreTest, Report) {
  TTempFolder folder;
  ASSERT_EQ(Convert(kExampleBinary, folder / "example.info"), 0);
  const std::string report = TTempFolder::ReadFile(folder / "example.info");
  EXPECT_EQ(report.rfind("Title:\tEvening on the Quay\r\n", 0), 0u);
  EXPECT_NE(report.find("\r\nKVT Play Time:\t0:18\r\nSMF Play Time:\t0:17\r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\nKVT Version:\t2.75\r\n"), std::string::npos);
  EXPECT_NE(report.find("\r\nComments:\r\nA short song for voice and piano.\r\nIt shows"),
            std::string::npos);
  EXPECT_EQ(report.find("\r\r"), std::string::npos);
}

}  // namespace
}  // namespace kvt
