// Lyric syllables get room under their notes: no syllable (with its hyphen) runs into the
// next, whichever alignment the staff's lyrics use.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "draw/layout/staff_draw_info.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

constexpr int kUnit = 12;
constexpr int kCharWidth = 6;  // the fake host's lyric text width per character

class LyricSpacingTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (int i = 0; i < 4; ++i) notes.push_back((b.Note(0), b.Last()));
  }
  void Lay(int align, std::u16string_view text) {
    TStaffLyrics& lyrics = staff.MakeLyrics();
    lyrics.SetAlign(align);
    auto line = std::make_unique<TLyricText>();
    line->ReadFromEdit(text, false);
    lyrics.Add(std::move(line));
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, 1 << 24);
  }
  int X(int i) { return layout->XOfPosition(layout->FindDrawPosOfItem(notes[static_cast<size_t>(i)])); }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  std::vector<int> notes;
  TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(LyricSpacingTest, CentredSyllablesNeverMeet) {
  // Syllables: "a", "verylongsyllable" (hyphen follows), "b", "c".
  Lay(kLyricsAlignStandard, u"a verylongsyllable-b c");
  const int widths[] = {1, 16, 1, 1};
  const bool hyphen[] = {false, true, false, false};
  for (int i = 0; i + 1 < 4; ++i) {
    SCOPED_TRACE(i);
    const int centre = X(i) + kUnit / 2;
    const int right = centre + widths[i] * kCharWidth / 2 + (hyphen[i] ? kCharWidth : 0);
    const int nextLeft = X(i + 1) + kUnit / 2 - widths[i + 1] * kCharWidth / 2;
    EXPECT_LE(right, nextLeft);
  }
  // The long syllable widened the note before it too, so it stays centred.
  EXPECT_GE(X(1) - X(0), 16 * kCharWidth / 2 - kUnit / 2);
}

TEST_F(LyricSpacingTest, SyllablesFromTheNoteStartFitBeforeTheNext) {
  Lay(kLyricsAlignNoteStart, u"a verylongsyllable-b c");
  EXPECT_GE(X(2) - X(1), 16 * kCharWidth + kCharWidth);
  // Short syllables keep the note spacing.
  EXPECT_EQ(X(1) - X(0), 2 * kUnit);
}

}  // namespace
}  // namespace kvt
