// The clipboard's clip without a window system: copy to gzip bytes, and paste from the bytes of
// any program (compressed or not, valid UTF-8 or not, old versions, damage, a bomb) into a
// temporary staff, then into a staff with its room checked.

#include "notation/files/text/clip_exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/files/text/clip_text.h"
#include "notation/items/item_cast.h"
#include "notation/items/text_expression.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/score_text_fixture.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

using namespace score_text_test;

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Compress(std::string_view text, int mode) {
  TKRVFlatRamStream packed(0, 64 * 1024);
  {
    TKRVZLibOutStream out(mode, &packed);
    out.Write(text.data(), static_cast<int>(text.size()));
    EXPECT_TRUE(out.End());
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(packed.Size()));
  packed.Rewind();
  packed.Read(bytes.data(), static_cast<int>(bytes.size()));
  return bytes;
}

std::vector<std::string> ItemLines(const TMusicStaff& staff) {
  std::vector<std::string> lines;
  for (int i = 1; i < staff.GetLastIndex(); ++i)
    lines.push_back(FormatItemLine(*staff.GetItem(i), kTextModeScore));
  return lines;
}

std::u16string FirstText(const TMusicStaff& staff) {
  const auto* text = ItemAs<TTextExpression>(staff.GetItem(1));
  return text ? text->GetText() : u"<no text item>";
}

class ClipExchangeTest : public ::testing::Test {
protected:
  void SetUp() override {
    AddItem(source, TItemPtr(NewNote(2, kDurHalf)));           // 1
    AddItem(source, TItemPtr(new TBarLineData()));             // 2
    AddItem(source, TItemPtr(NewNote(-1, kDurQuarter)));       // 3
    AddItem(source, TItemPtr(new TRestNote(kDurQuarter, 0)));  // 4
  }
  // The clip text of the source's items 1..4 (framed, with context), as the writer makes it.
  std::string ClipText() {
    TOutStream out;
    WriteClipText(source, 1, 4, *out, true, true);
    return out.Text();
  }
  // A clip of one text item showing `text` (UTF-8 in the file), under the header of `version`.
  std::string TextClip(const std::string& version, const std::u16string& text) {
    TMusicStaff staff;
    auto item = std::make_unique<TTextExpression>();
    item->SetWide(true);
    item->SetText(text);
    AddItem(staff, std::move(item));
    TOutStream out;
    WriteClipText(staff, 1, 1, *out, true, false);
    std::string clip = out.Text();
    const size_t at = clip.find("2.75");
    clip.replace(at, 4, version);
    return clip;
  }

  TMusicStaff source;
};

TEST_F(ClipExchangeTest, CopiedBytesAreGzipAndPasteBackToTheItems) {
  const auto bytes = WriteCompressedClip(source, 1, 4);
  ASSERT_TRUE(bytes.has_value());
  ASSERT_GT(bytes->size(), 2u);
  EXPECT_EQ((*bytes)[0], 0x1F);
  EXPECT_EQ((*bytes)[1], 0x8B);
  auto pasted = ReadPastedClip(*bytes, TClipFormat::kScore, nullptr);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(PastedItemCount(*pasted), 4);
  EXPECT_EQ(ItemLines(*pasted), ItemLines(source));
}

// Every way another program may hand over the same clip gives the same items.
TEST_F(ClipExchangeTest, EveryEncodingOfTheClipGivesTheSameItems) {
  const std::string clip = ClipText();
  struct {
    const char* name;
    std::vector<uint8_t> bytes;
    TClipFormat format;
  } cases[] = {
      {"plain score", Bytes(clip), TClipFormat::kScore},
      {"plain text", Bytes(clip), TClipFormat::kText},
      {"gzip text", Compress(clip, TKRVZLibOutStream::kModeGzip), TClipFormat::kText},
      {"tagged zlib", Compress(clip, TKRVZLibOutStream::kModeTagged), TClipFormat::kScore},
      {"text with a zero byte after it", Bytes(clip + std::string(1, '\0') + "|Note|junk"),
       TClipFormat::kText},
  };
  for (const auto& c : cases) {
    auto pasted = ReadPastedClip(c.bytes, c.format, nullptr);
    ASSERT_TRUE(pasted) << c.name;
    EXPECT_EQ(ItemLines(*pasted), ItemLines(source)) << c.name;
  }
}

TEST_F(ClipExchangeTest, TextIsDecodedByTheClipsVersion) {
  struct {
    const char* name;
    std::string bytes;
    TClipFormat format;
    std::u16string want;
  } cases[] = {
      {"current version, UTF-8", TextClip("2.75", u"Caf\u00e9"), TClipFormat::kText, u"Caf\u00e9"},
      // An old clip kept its texts in the ANSI code page: the text's characters are taken as
      // Windows-1252 bytes for the reader, so the characters survive.
      {"old version as Windows-1252", TextClip("2.5", u"Caf\u00e9 \u20ac"), TClipFormat::kText,
       u"Caf\u00e9 \u20ac"},
      // The program's own format carries the clip's bytes as they were written.
      {"old version, own format", TextClip("2.5", u"Caf") + "", TClipFormat::kScore, u"Caf"},
  };
  for (const auto& c : cases) {
    auto pasted = ReadPastedClip(Bytes(c.bytes), c.format, nullptr);
    ASSERT_TRUE(pasted) << c.name;
    EXPECT_EQ(FirstText(*pasted), c.want) << c.name;
  }
}

TEST_F(ClipExchangeTest, InvalidUtf8IsReplaced) {
  std::string clip = TextClip("2.75", u"CafX");
  clip[clip.find("CafX") + 3] = '\xE9';  // a lone Latin-1 byte
  auto pasted = ReadPastedClip(Bytes(clip), TClipFormat::kText, nullptr);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(FirstText(*pasted), u"Caf\uFFFD");
}

TEST_F(ClipExchangeTest, PlainTextFromAnotherProgramIsOneTextItem) {
  auto pasted = ReadPastedClip(Bytes("hello world\nsecond line"), TClipFormat::kText, nullptr);
  ASSERT_TRUE(pasted);
  EXPECT_EQ(PastedItemCount(*pasted), 1);
  EXPECT_EQ(FirstText(*pasted), u"hello world");
}

TEST_F(ClipExchangeTest, DamagedOrEmptyDataGivesNothing) {
  const std::vector<uint8_t> gzip = Compress(ClipText(), TKRVZLibOutStream::kModeGzip);
  std::vector<uint8_t> cut(gzip.begin(), gzip.begin() + static_cast<long>(gzip.size() / 2));
  std::vector<uint8_t> flipped = gzip;
  flipped[gzip.size() / 2] ^= 0x55;
  flipped[gzip.size() / 2 + 1] ^= 0xAA;
  struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"only a zero byte", {0}},
      {"cut gzip", cut},
      {"damaged gzip", flipped},
      {"header without items or end", Bytes("!TarlowmedeRazadoveClip(2.75,Single)\r\n")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadPastedClip(c.bytes, TClipFormat::kScore, nullptr), nullptr) << c.name;
    EXPECT_EQ(ReadPastedClip(c.bytes, TClipFormat::kText, nullptr), nullptr) << c.name;
  }
}

TEST_F(ClipExchangeTest, ABombIsRefusedAtTheBound) {
  const std::string huge(kMaxPastedClipBytes + 1, 'A');
  const std::vector<uint8_t> bomb = Compress(huge, TKRVZLibOutStream::kModeGzip);
  EXPECT_LT(bomb.size(), 64u * 1024u);
  EXPECT_FALSE(DecompressPastedClip(bomb).has_value());
  EXPECT_EQ(ReadPastedClip(bomb, TClipFormat::kScore, nullptr), nullptr);
  // Exactly at the bound is still taken.
  const auto full = DecompressPastedClip(Compress(huge.substr(1), TKRVZLibOutStream::kModeGzip));
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ(full->size(), kMaxPastedClipBytes);
}

TEST_F(ClipExchangeTest, InsertMovesTheItemsInOrderBeforeTheIndex) {
  auto pasted = ReadPastedClip(Bytes(ClipText()), TClipFormat::kScore, nullptr);
  ASSERT_TRUE(pasted);
  TMusicStaff target;
  AddItem(target, TItemPtr(new TClefData(kClefBass)));
  AddItem(target, TItemPtr(NewNote(5)));
  int moved = 0;
  EXPECT_EQ(InsertClipItems(*pasted, target, 2, moved), 2);
  EXPECT_EQ(moved, 4);
  EXPECT_EQ(PastedItemCount(*pasted), 0);
  ASSERT_EQ(target.GetItemCount(), 8);
  std::vector<std::string> lines = ItemLines(target);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 5), ItemLines(source));
  EXPECT_EQ(lines.back(), FormatItemLine(*NewNote(5), kTextModeScore));
}

TEST(ClipRoomTest, RoomCountsTheFreedItemsAndStopsAtTheFullMark) {
  TMusicStaff staff;
  // The last item goes in while the staff is not yet full.
  const int free = kStaffFullCount + 1 - staff.GetItemCount();
  ASSERT_LT(free, staff.GetFreeItemCount());
  EXPECT_TRUE(HasRoomForClip(staff, free, 0));
  EXPECT_FALSE(HasRoomForClip(staff, free + 1, 0));
  EXPECT_TRUE(HasRoomForClip(staff, free + 3, 3));
  EXPECT_FALSE(HasRoomForClip(staff, free + 4, 3));
  EXPECT_TRUE(HasRoomForClip(staff, 0, -5));
  // What the check allows always goes in.
  TMusicStaff clip;
  for (int i = 0; i < free; ++i) AddItem(clip, TItemPtr(new TRestNote(kDurQuarter, 0)));
  int moved = 0;
  InsertClipItems(clip, staff, 1, moved);
  EXPECT_EQ(moved, free);
  EXPECT_FALSE(HasRoomForClip(staff, 1, 0));
}

}  // namespace
}  // namespace kvt
