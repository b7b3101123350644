#include "app/command_line_convert.h"

#include <gtest/gtest.h>

#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "tests/app/convert_fixture.h"
#include "tests/utils/linked_output.h"
#include "utils/buffered_file_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

class ConvertTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.IsValid());
    test::WriteTextScore(textInput, *test::MakeSmallScore());
    test::WriteBinaryScore(binaryInput, *test::MakeSmallScore(), true);
  }

  int Convert(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"kvt2", "-convert"});
    messages.clear();
    return ConvertFiles(arguments, messages);
  }
  // The format field of a MIDI file's header, or -1.
  static int MidiFormat(const std::string& path) {
    const std::string bytes = TTempFolder::ReadFile(path);
    if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return -1;
    return (static_cast<uint8_t>(bytes[8]) << 8) | static_cast<uint8_t>(bytes[9]);
  }

  TTempFolder folder;
  std::string textInput = folder / "in.kvttxt";
  std::string binaryInput = folder / "in.kvt";
  std::string messages;
};

TEST_F(ConvertTest, InvalidRequestsShowTheUsage) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
  } cases[] = {
      {"binary to binary", {binaryInput, folder / "out.kvt"}},
      {"text to text", {textInput, folder / "out.KVTTXT"}},
      {"midi to binary", {folder / "in.mid", folder / "out.kvt"}},
      {"report as input", {folder / "in.info", folder / "out.kvt"}},
      {"unknown output", {binaryInput, folder / "out.txt"}},
      {"unknown input", {folder / "in.txt", folder / "out.mid"}},
      {"one name", {binaryInput}},
      {"no names", {}},
      {"options only", {"-0", "-x"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Convert(c.arguments), 2) << c.name;
    EXPECT_EQ(messages, GetConvertUsageText()) << c.name;
  }
  EXPECT_EQ(test::ListFolder(folder.Path()), (std::vector<std::string>{"in.kvt", "in.kvttxt"}));
}

TEST_F(ConvertTest, UsageTextNamesTheProgramAndEveryConversion) {
  const std::string usage = GetConvertUsageText();
  EXPECT_EQ(usage.rfind("convert: This option can be used", 0), 0u);
  EXPECT_NE(usage.find("Usage: kvt2 -convert \"[input-file]\" \"[output-file]\"\n"),
            std::string::npos);
  EXPECT_EQ(usage.find("kvt2.exe"), std::string::npos);
  EXPECT_NE(
      usage.find("\t.kvt    -> .kvttxt, .mid, or .info\n\t.kvttxt -> .kvt, .mid, or .info\n\n"),
      std::string::npos);
  EXPECT_NE(usage.find("\"-0\" option for type 0 files."), std::string::npos);
}

TEST_F(ConvertTest, MissingInputIsAnError) {
  ASSERT_TRUE(std::filesystem::create_directory(folder / "folder.kvt"));
  for (const std::string& input : {folder / "missing.kvt", folder / "folder.kvt"}) {
    EXPECT_EQ(Convert({input, folder / "out.mid"}), 1) << input;
    EXPECT_EQ(messages, "Error: The input file \"" + input + "\" could not be found.");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "out.mid"));
}

TEST_F(ConvertTest, MidiTypeFromOptionsAnywhere) {
  struct Case {
    std::vector<std::string> arguments;
    std::string output;
    int format;
  } cases[] = {
      {{textInput, folder / "a.mid"}, folder / "a.mid", 1},
      {{"-0", textInput, folder / "b.mid"}, folder / "b.mid", 0},
      {{textInput, "-0", folder / "c.mid"}, folder / "c.mid", 0},
      {{binaryInput, folder / "d.mid", "-0"}, folder / "d.mid", 0},
      {{"-0", binaryInput, "-1", folder / "e.mid"}, folder / "e.mid", 1},  // the later wins
      {{"-1", textInput, folder / "f.mid"}, folder / "f.mid", 1},
      {{"-07", textInput, folder / "g.mid"}, folder / "g.mid", 0},  // the second character decides
      {{"-x", "-", textInput, folder / "h.mid"}, folder / "h.mid", 1},  // others are ignored
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Convert(c.arguments), 0) << messages;
    EXPECT_EQ(messages, "");
    EXPECT_EQ(MidiFormat(c.output), c.format) << c.output;
  }
}

TEST_F(ConvertTest, ExtensionsOfAnyCase) {
  const std::string upperInput = folder / "IN2.KVTTXT";
  std::filesystem::copy_file(textInput, upperInput);
  EXPECT_EQ(Convert({upperInput, folder / "OUT.Mid"}), 0) << messages;
  EXPECT_EQ(MidiFormat(folder / "OUT.Mid"), 1);
  EXPECT_EQ(Convert({upperInput, folder / "OUT.KVT"}), 0) << messages;
  EXPECT_EQ(Convert({folder / "OUT.KVT", folder / "OUT.INFO"}), 0) << messages;
  EXPECT_NE(TTempFolder::ReadFile(folder / "OUT.INFO").find("KVT Version:\t2.75\r\n"),
            std::string::npos);
}

TEST_F(ConvertTest, NamesAfterTheSecondAreIgnored) {
  EXPECT_EQ(Convert({textInput, folder / "out.kvt", folder / "extra.mid"}), 0) << messages;
  EXPECT_TRUE(std::filesystem::exists(folder / "out.kvt"));
  EXPECT_FALSE(std::filesystem::exists(folder / "extra.mid"));
}

TEST_F(ConvertTest, EveryConversionRoundTrips) {
  // text -> binary -> text keeps the score: the text written from the binary file equals
  // the text written from the first reading.
  ASSERT_EQ(Convert({textInput, folder / "a.kvt"}), 0) << messages;
  ASSERT_EQ(Convert({folder / "a.kvt", folder / "b.kvttxt"}), 0) << messages;
  ASSERT_EQ(Convert({folder / "b.kvttxt", folder / "c.kvt"}), 0) << messages;
  ASSERT_EQ(Convert({folder / "c.kvt", folder / "d.kvttxt"}), 0) << messages;
  EXPECT_EQ(TTempFolder::ReadFile(folder / "b.kvttxt"), TTempFolder::ReadFile(folder / "d.kvttxt"));
  EXPECT_NE(TTempFolder::ReadFile(folder / "b.kvttxt").find("Melody"), std::string::npos);
  // The binary output is compressed.
  EXPECT_EQ(TTempFolder::ReadFile(folder / "a.kvt").rfind("[KVZ]", 0), 0u);
}

TEST_F(ConvertTest, ReportFromTextAndFromBinary) {
  ASSERT_EQ(Convert({textInput, folder / "text.info"}), 0) << messages;
  ASSERT_EQ(Convert({binaryInput, folder / "binary.info"}), 0) << messages;
  const std::string fromText = TTempFolder::ReadFile(folder / "text.info");
  const std::string fromBinary = TTempFolder::ReadFile(folder / "binary.info");
  EXPECT_EQ(fromText.rfind("Title:\tSmall Tune\r\nAuthor:\tA. Writer\r\n", 0), 0u);
  EXPECT_EQ(fromText.find("KVT Version"), std::string::npos);
  EXPECT_EQ(fromBinary, fromText + "\r\nKVT Version:\t2.75\r\nANSICodePage:\t1252\r\n");
}

// Every output kind of the converter, written through a chain of links: the links stay and
// the file at their end gets the new contents with its old permissions.
TEST_F(ConvertTest, OutputsThroughLinksReplaceTheLinkedFile) {
  struct Case {
    const char* output;
    bool fromText;  // a conversion needs another kind on each side
    const char* startsWith;
  };
  const Case cases[] = {
      {"out.kvt", true, "[KVZ]"},
      {"out.kvttxt", false, "!TarlowmedeRazadove("},
      {"out.mid", false, "MThd"},
      {"out.info", false, "Title:\tSmall Tune\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    TTempFolder outputs;
    TLinkedOutput output(outputs, c.output);
    ASSERT_EQ(Convert({c.fromText ? textInput : binaryInput, output.LinkPath()}), 0) << messages;
    output.ExpectWrittenThroughLinks();
    EXPECT_EQ(output.RealContents().rfind(c.startsWith, 0), 0u);
  }
}

TEST_F(ConvertTest, LoadFailuresOfBinaryFiles) {
  // Status 3: no score file.
  const std::string garbage = folder / "garbage.kvt";
  TTempFolder::WriteFile(garbage, "no score here");
  // Status 4: a format version from the future.
  const std::string future = folder / "future.kvt";
  {
    TKRVBFStream file(kFileModeWrite, future.c_str(), 1024);
    TScoreHeaderFields fields;
    fields.formatVersion = kFirstRefusedVersion;
    WriteScoreHeader(file, fields);
    ASSERT_TRUE(file.Close());
  }
  // Status 7: compressed data cut short.
  const std::string cut = folder / "cut.kvt";
  std::string bytes = TTempFolder::ReadFile(binaryInput);
  bytes.resize(bytes.size() - 8);
  TTempFolder::WriteFile(cut, bytes);

  struct Case {
    std::string path;
    std::string tail;
  } cases[] = {
      {garbage, "\" does not appear to be a valid Tarlowmede Razadove file."},
      {future, "\" appears to be from a new version of Tarlowmede Razadove."},
      {cut, "\" appears to be corrupt.\n"},
  };
  for (const Case& c : cases) {
    const std::string output = c.path + ".mid";
    EXPECT_EQ(Convert({c.path, output}), 1) << c.path;
    EXPECT_EQ(messages, "Error: The file \"" + c.path + c.tail);
    EXPECT_FALSE(std::filesystem::exists(output)) << output;
  }
}

TEST_F(ConvertTest, LoadFailuresOfTextFiles) {
  const std::string text = TTempFolder::ReadFile(textInput);
  const std::string endLine = "!TarlowmedeRazadove-End\r\n";
  ASSERT_GE(text.size(), endLine.size());
  ASSERT_EQ(text.substr(text.size() - endLine.size()), endLine);

  const std::string noEnd = folder / "noend.kvttxt";
  TTempFolder::WriteFile(noEnd, text.substr(0, text.size() - endLine.size()));
  const std::string noScore = folder / "letter.kvttxt";
  TTempFolder::WriteFile(noScore, "Dear reader,\r\nthis is no score.\r\n");
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      // Cut before its end line: the score is incomplete, which is no success.
      {noEnd, "Error: The file \"" + noEnd + "\" appears to be corrupt.\n"},
      {noScore, "Error: The file \"" + noScore + "\" could not be processed."},
  };
  for (const Case& c : cases) {
    for (const char* extension : {".kvt", ".mid", ".info"}) {
      const std::string output = c.path + extension;
      EXPECT_EQ(Convert({c.path, output}), 1) << output;
      EXPECT_EQ(messages, c.message);
      EXPECT_FALSE(std::filesystem::exists(output)) << output;
    }
  }
}

// A hand-written score with values the format bounds or defaults converts: that is reading,
// not damage.
TEST_F(ConvertTest, LenientTextScoresConvert) {
  const std::string lenient = folder / "lenient.kvttxt";
  TTempFolder::WriteFile(lenient,
                         "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"\r\n|Clef\r\n"
                         "|Spacer|Width:12000\r\n|Lyric9|Text:\"x\"\r\n|Glissando|Length:3\r\n"
                         "plain words\r\n|Note|Dur:4th|Pos:1|Shade:Blue\r\n!TarlowmedeRazadove-End\r\n");
  for (const char* extension : {".kvt", ".mid", ".info"}) {
    const std::string output = lenient + extension;
    EXPECT_EQ(Convert({lenient, output}), 0) << output;
    EXPECT_EQ(messages, "") << output;
    EXPECT_TRUE(std::filesystem::exists(output)) << output;
  }
}

TEST_F(ConvertTest, GzipCompressedTextScores) {
  const std::string text = TTempFolder::ReadFile(textInput);
  const std::string packed = folder / "packed.kvttxt";
  {
    TKRVBFStream file(kFileModeWrite, packed.c_str(), 1024);
    TKRVZLibOutStream gzip(TKRVZLibInStream::kModeGzip, &file);
    gzip.Write(text.data(), static_cast<int>(text.size()));
    ASSERT_TRUE(gzip.End());
    ASSERT_TRUE(file.Close());
  }
  const std::string bytes = TTempFolder::ReadFile(packed);
  ASSERT_EQ(bytes.substr(0, 2), "\x1F\x8B");
  EXPECT_EQ(Convert({packed, folder / "packed.kvt"}), 0) << messages;
  EXPECT_EQ(Convert({folder / "packed.kvt", folder / "unpacked.kvttxt"}), 0) << messages;
  EXPECT_EQ(Convert({textInput, folder / "plain.kvt"}), 0) << messages;
  EXPECT_EQ(Convert({folder / "plain.kvt", folder / "plain.kvttxt"}), 0) << messages;
  EXPECT_EQ(TTempFolder::ReadFile(folder / "unpacked.kvttxt"),
            TTempFolder::ReadFile(folder / "plain.kvttxt"));

  // Compressed data that breaks off is corrupt, even where the text read so far looks whole.
  const std::string cut = folder / "cut.kvttxt";
  TTempFolder::WriteFile(cut, bytes.substr(0, bytes.size() - 6));
  EXPECT_EQ(Convert({cut, folder / "cut.mid"}), 1);
  EXPECT_EQ(messages, "Error: The file \"" + cut + "\" appears to be corrupt.\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "cut.mid"));
}

// Every output kind, written into a folder that does not exist or cut short by a file-size
// limit: failure (1) with the kind's message, no file left behind, an old target untouched.
struct TWriteFailureCase {
  const char* output;
  bool binaryInput;
  const char* messageHead;
  const char* messageTail;
};

const TWriteFailureCase kWriteFailures[] = {
    {"out.kvt", false, "Error: The creation of file \"", "\" caused an error.\n"},
    {"out.kvttxt", true, "Error: The creation of file \"", "\" caused an error."},
    {"out.mid", true, "Error: The file \"", "\" could not be created.\n"},
    {"out.info", true, "Error: The creation of file \"", "\" caused an error."},
};

TEST_F(ConvertTest, WriteIntoMissingFolderFails) {
  for (const TWriteFailureCase& c : kWriteFailures) {
    const std::string output = folder / "missing/" + c.output;
    EXPECT_EQ(Convert({c.binaryInput ? binaryInput : textInput, output}), 1) << c.output;
    EXPECT_EQ(messages, c.messageHead + output + c.messageTail);
  }
  EXPECT_EQ(test::ListFolder(folder.Path()), (std::vector<std::string>{"in.kvt", "in.kvttxt"}));
}

TEST_F(ConvertTest, WriteCutShortFailsAndLeavesTheOldFile) {
  for (const TWriteFailureCase& c : kWriteFailures) {
    const std::string output = folder / c.output;
    TTempFolder::WriteFile(output, "old contents");
    int result = 0;
    {
      test::TFileSizeLimit limit(20);
      ASSERT_TRUE(limit.IsActive());
      result = Convert({c.binaryInput ? binaryInput : textInput, output});
    }
    EXPECT_EQ(result, 1) << c.output;
    EXPECT_EQ(messages, c.messageHead + output + c.messageTail);
    EXPECT_EQ(TTempFolder::ReadFile(output), "old contents") << c.output;
    std::filesystem::remove(output);
    EXPECT_EQ(test::ListFolder(folder.Path()), (std::vector<std::string>{"in.kvt", "in.kvttxt"}))
        << c.output;
  }
}

}  // namespace
}  // namespace kvt
